// The published position beside a report: written whole and read back, anything else
// refused, and where publishing resumes when the report changed under it.
#include "publish/published_position.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cstring>

namespace {

MeasurementRecord rec(int i)
{
    return {46000.5 + i / 86400.0, int16_t(4000 + i), int16_t(2000 + i)};
}

std::vector<MeasurementRecord> recs(std::initializer_list<int> numbers)
{
    std::vector<MeasurementRecord> out;
    for (int i : numbers)
        out.push_back(rec(i));
    return out;
}

TEST(PublishedPositionFile, SitsBesideTheReportAndRoundTrips)
{
    EXPECT_EQ(PublishedPositionPath("/pool/hall.dat"), "/pool/hall.mqtt");
    EXPECT_EQ(PublishedPositionPath("/pool/may.old.dat"), "/pool/may.old.mqtt");
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("hall.mqtt");
    for (const PublishedPosition& p : {PublishedPosition{0, std::nullopt}, PublishedPosition{123456789012, rec(7)}}) {
        ASSERT_TRUE(WritePublishedPosition(path, p));
        const std::optional<PublishedPosition> back = ReadPublishedPosition(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->records, p.records);
        ASSERT_EQ(back->last.has_value(), p.last.has_value());
        if (p.last) {
            EXPECT_EQ(0, memcmp(&*back->last, &*p.last, sizeof(MeasurementRecord)));
        }
    }
    EXPECT_FALSE(QFileInfo::exists(path + "~")) << "the temporary file is renamed over the position";
}

TEST(PublishedPositionFile, AnythingButAWholePositionReadsAsNone)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("hall.mqtt");
    EXPECT_FALSE(ReadPublishedPosition(path)) << "missing";
    for (const char* text : {"", "records=3\n", "kelmora published position\n",
                             "kelmora published position\nrecords=3\n",  // a count without its record
                             "kelmora published position\nrecords=-1\n",
                             "kelmora published position\nrecords=x\n",
                             "kelmora published position\nrecords=3\nlast=00112233\n",
                             "kelmora published position\nrecords=0\nlast=000000000000e040a00f3c00\n"}) {
        WriteFileBytes(path, text);
        EXPECT_FALSE(ReadPublishedPosition(path)) << text;
    }
}

TEST(PublishedPositionFile, ADirectoryThatCannotBeWrittenIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
    EXPECT_FALSE(WritePublishedPosition(QDir(dir.path()).filePath("hall.mqtt"), {1, rec(0)}));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
}

struct ResumeCase {
    const char* what;
    PublishedPosition position;
    std::vector<MeasurementRecord> report;
    qint64 resume;
};

class Resume : public ::testing::TestWithParam<ResumeCase> {};

TEST_P(Resume, GoesOnFromASafePoint)
{
    const ResumeCase& c = GetParam();
    EXPECT_EQ(ResumeIndex(c.position, c.report), c.resume) << c.what;
}

INSTANTIATE_TEST_SUITE_P(ReportStates, Resume, ::testing::Values(
    ResumeCase{"nothing published yet", {0, std::nullopt}, recs({0, 1, 2}), 0},
    ResumeCase{"appended to", {2, rec(1)}, recs({0, 1, 2, 3}), 2},
    ResumeCase{"all published", {3, rec(2)}, recs({0, 1, 2}), 3},
    ResumeCase{"sorted and cleaned: the record moved forward", {4, rec(3)}, recs({0, 2, 3, 4, 5}), 3},
    ResumeCase{"sorted: a late record moved behind it", {3, rec(2)}, recs({0, 1, 2, 5, 3, 4}), 3},
    ResumeCase{"shortened below the position, the record gone", {5, rec(4)}, recs({0, 1, 2}), 3},
    ResumeCase{"replaced by a newer report", {5, rec(4)}, recs({10, 11}), 0},
    ResumeCase{"replaced by an older report and grown", {2, rec(50)}, recs({0, 1, 2, 60, 61}), 3},
    ResumeCase{"emptied", {5, rec(4)}, recs({}), 0}));

TEST(PositionAfterRewrite, NoReadingNotYetPublishedIsLeftBehind)
{
    struct Case {
        const char* what;
        std::vector<MeasurementRecord> before;
        qint64 published;
        std::vector<MeasurementRecord> after;
        qint64 resume;
    };
    const Case cases[] = {
        {"sorted, nothing waiting before the last published", recs({1, 2, 3, 4}), 3, recs({1, 2, 3, 4}), 3},
        {"a reading logged after 3 but stamped before it sorts in front of it", recs({1, 2, 4, 3, 5}), 3,
         recs({1, 2, 3, 4, 5}), 2},
        {"it sorts before everything published", recs({2, 3, 1}), 2, recs({1, 2, 3}), 0},
        {"a repeat of a published reading dropped", recs({1, 1, 2, 3}), 3, recs({1, 2, 3}), 2},
        {"all published", recs({3, 1, 2}), 3, recs({1, 2, 3}), 3},
        {"nothing published", recs({3, 1}), 0, recs({1, 3}), 0},
    };
    for (const Case& c : cases) {
        const PublishedPosition at{c.published, c.published > 0 ? std::optional(c.before[size_t(c.published - 1)]) : std::nullopt};
        const PublishedPosition moved = PositionAfterRewrite(at, c.before, c.after);
        EXPECT_EQ(moved.records, c.resume) << c.what;
        EXPECT_EQ(moved.last.has_value(), c.resume > 0) << c.what;
        if (moved.last && c.resume > 0)
            EXPECT_EQ(std::memcmp(&*moved.last, &c.after[size_t(c.resume - 1)], kRecordSize), 0) << c.what;
    }
}

TEST(PositionCheck, HoldsOnlyWhenTheLastPublishedRecordIsAtItsPlace)
{
    const std::vector<MeasurementRecord> tail = recs({4, 5, 6});  // records 4.. of the report
    EXPECT_TRUE(PositionStillHolds({5, rec(4)}, tail, 4));
    EXPECT_FALSE(PositionStillHolds({6, rec(4)}, tail, 4));
    EXPECT_FALSE(PositionStillHolds({8, rec(7)}, tail, 4)) << "beyond the file's end";
    EXPECT_TRUE(PositionStillHolds({0, std::nullopt}, {}, 0));
}

}  // namespace
