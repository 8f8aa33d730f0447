// The publisher against a real Mosquitto broker on 127.0.0.1: readings arrive in the report's
// order with the right JSON, status and discovery are retained, a broker that goes away and
// comes back receives every reading logged meanwhile, a new publisher resumes from the
// published position, and a refused login is told once while nothing is lost.
#include "logging/report_pool.h"
#include "publish/published_position.h"
#include "report/report_preparation.h"
#include "publish/reading_message.h"
#include "publish/reading_publisher.h"
#include "report/date_time.h"
#include "support/mosquitto_broker.h"
#include "support/time_zone.h"
#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <mutex>
#include <set>

namespace {

constexpr uint16_t kSerial = 0x00A3;
// The readings of most tests lie far from a change of the clocks: the offset the logger
// passes with a stored reading is not asked for them.
constexpr double kOutsideRepeatedHours = 0;

// Record i of a test report: one a second, humidity 40.00 + i/100 so that each reading names itself.
MeasurementRecord recordNumber(int i)
{
    return {DayCountOf(QDate(2026, 3, 14), 9 * 3600000 + i * 1000 + 125), int16_t(4000 + i), int16_t(2000 + i)};
}

int numberOf(const QByteArray& payload)
{
    const QJsonObject o = QJsonDocument::fromJson(payload).object();
    return int(std::lround(o.value(QStringLiteral("relative_humidity")).toDouble() * 100)) - 4000;
}

// The readings' numbers in arrival order.
QList<int> numbers(const QList<ReceivedMessage>& messages)
{
    QList<int> out;
    for (const QByteArray& p : ReadingPayloads(messages))
        out.push_back(numberOf(p));
    return out;
}

std::set<int> distinct(const QList<int>& n)
{
    return {n.begin(), n.end()};
}

// Every number arrives, the first arrivals are in order, and nothing jumps ahead of what came
// before: a repeat (QoS 1 re-sends what was unacknowledged when a connection broke) only
// goes back, never skips.
void expectInOrderWithoutGaps(const QList<int>& arrived, int count)
{
    int highest = -1;
    for (int n : arrived) {
        EXPECT_LE(n, highest + 1) << "a reading arrived before the one logged ahead of it";
        highest = std::max(highest, n);
    }
    EXPECT_EQ(distinct(arrived).size(), size_t(count));
    EXPECT_EQ(highest, count - 1);
}

class Events {
public:
    ReadingPublisher::Listener listener()
    {
        return [this](const PublisherEvent& e) {
            std::lock_guard lock(mutex_);
            events_.push_back(e);
        };
    }
    int count(PublisherEvent::Kind kind)
    {
        std::lock_guard lock(mutex_);
        return int(std::count_if(events_.begin(), events_.end(), [&](const PublisherEvent& e) { return e.kind == kind; }));
    }
    QList<PublisherEvent> all()
    {
        std::lock_guard lock(mutex_);
        return events_;
    }
    bool waitFor(PublisherEvent::Kind kind, int n, int timeoutMs = 5000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (count(kind) >= n)
                return true;
            QThread::msleep(10);
        }
        return false;
    }

private:
    std::mutex mutex_;
    QList<PublisherEvent> events_;
};

PublisherTimings quick()
{
    PublisherTimings t;
    t.keepAliveSeconds = 5;
    t.retryMs = 50;
    t.retryMaxMs = 200;
    t.connectTimeoutMs = 2000;
    t.positionWriteMs = 0;
    return t;
}

class PublisherBroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    }

    MqttTarget target(const QString& user = QString(), const QString& password = QString()) const
    {
        MqttTarget t = *ParseMqttUrl(broker.url(QStringLiteral("museum/hall")));
        t.user = user;
        t.password = password;
        return t;
    }

    // One reading logged as the logger does it: the report followed, the record appended, the publisher told.
    void log(ReadingPublisher* publisher, int i)
    {
        if (publisher)
            publisher->follow(report);
        AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(i));
        if (publisher)
            publisher->readingStored(kSerial, kOutsideRepeatedHours, 0);
    }

    MosquittoBroker broker;
    QTemporaryDir pool;
    QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
    Events events;
};

TEST_F(PublisherBroker, ReadingsArriveInOrderAsJsonWithRetainedStatusAndDiscovery)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("order-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    ReadingPublisher publisher(target(), events.listener(), quick());
    constexpr int kCount = 40;
    for (int i = 0; i < kCount; ++i)
        log(&publisher, i);
    // One reading the meter marked invalid: humidity out of range.
    publisher.follow(report);
    AppendRecord(pool.path(), QStringLiteral("hall"), {recordNumber(kCount).dt, int16_t(12000), int16_t(-525)});
    publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);

    const QList<ReceivedMessage> got = sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= kCount + 1; });
    const QList<QByteArray> payloads = ReadingPayloads(got);
    ASSERT_EQ(payloads.size(), kCount + 1);
    for (int i = 0; i < kCount; ++i) {
        const QJsonObject o = QJsonDocument::fromJson(payloads[i]).object();
        const RecordFieldTexts f = *RecordFields(recordNumber(i));
        EXPECT_EQ(o.value("serial").toString(), "00A3");
        EXPECT_EQ(o.value("report").toString(), "hall");
        EXPECT_EQ(o.value("time").toString().toLatin1(), f.time);
        EXPECT_DOUBLE_EQ(o.value("relative_humidity").toDouble(), (4000 + i) / 100.0);
        EXPECT_DOUBLE_EQ(o.value("temperature").toDouble(), (2000 + i) / 100.0);
        EXPECT_DOUBLE_EQ(o.value("dew_point").toDouble(), f.dewPoint.toDouble());
        EXPECT_DOUBLE_EQ(o.value("absolute_humidity").toDouble(), f.absoluteHumidity.toDouble());
    }
    const QJsonObject invalid = QJsonDocument::fromJson(payloads.back()).object();
    EXPECT_TRUE(invalid.value("relative_humidity").isNull());
    EXPECT_DOUBLE_EQ(invalid.value("temperature").toDouble(), -5.25);
    EXPECT_TRUE(invalid.value("dew_point").isNull());
    EXPECT_TRUE(invalid.value("absolute_humidity").isNull());
    for (const ReceivedMessage& m : got)
        EXPECT_TRUE(m.topic == "museum/hall/00A3/reading" || m.topic == "museum/hall/00A3/status") << m.topic.toStdString();

    // Whoever subscribes later finds the status and the two sensors' configurations kept.
    {
        TestSubscriber late(broker.port(), QStringLiteral("#"), QStringLiteral("late-sub"));
        const QList<ReceivedMessage> kept = late.waitFor([](const auto& m) { return m.size() >= 3; }, 5000);
        QMap<QString, ReceivedMessage> byTopic;
        for (const ReceivedMessage& m : kept)
            if (m.retained)
                byTopic.insert(m.topic, m);
        ASSERT_TRUE(byTopic.contains("museum/hall/00A3/status"));
        EXPECT_EQ(byTopic["museum/hall/00A3/status"].payload, "online");
        for (const char* sensor : {"humidity", "temperature"}) {
            const QString topic = QStringLiteral("homeassistant/sensor/kelmora_00A3_%1/config").arg(QLatin1String(sensor));
            ASSERT_TRUE(byTopic.contains(topic)) << topic.toStdString();
            const QJsonObject c = QJsonDocument::fromJson(byTopic[topic].payload).object();
            EXPECT_EQ(c.value("device_class").toString(), QLatin1String(sensor));
            EXPECT_EQ(c.value("state_topic").toString(), "museum/hall/00A3/reading");
            EXPECT_EQ(c.value("unique_id").toString(), QStringLiteral("kelmora_00A3_%1").arg(QLatin1String(sensor)));
            EXPECT_EQ(c.value("default_entity_id").toString(), QStringLiteral("sensor.kelmora_00a3_%1").arg(QLatin1String(sensor)));
            EXPECT_FALSE(c.contains("object_id"));
            EXPECT_EQ(c.value("device").toObject().value("identifiers").toArray().first().toString(), "kelmora_00A3");
        }
    }
    EXPECT_EQ(publisher.stop(), 0);
    EXPECT_EQ(events.count(PublisherEvent::Kind::Connected), 1);
    EXPECT_EQ(events.count(PublisherEvent::Kind::Failing), 0);
    const std::optional<PublishedPosition> position = ReadPublishedPosition(PublishedPositionPath(report));
    ASSERT_TRUE(position);
    EXPECT_EQ(position->records, kCount + 1);

    // An orderly end says "offline" itself (the last will is for the disorderly ones).
    TestSubscriber after(broker.port(), QStringLiteral("museum/hall/00A3/status"), QStringLiteral("after-sub"));
    const QList<ReceivedMessage> status = after.waitFor([](const auto& m) { return !m.isEmpty(); }, 5000);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.front().payload, "offline");
}

// A keep-alive shorter than the library takes (KELMORA_MQTT_KEEPALIVE=2) is taken as 5 s: the
// readings still go out, and no "Invalid function arguments" is told.
TEST_F(PublisherBroker, TimesOfTheRepeatedHourCarryTheOffsetInForce)
{
    const TimeZone berlin("Europe/Berlin");
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("offset-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    ReadingPublisher publisher(target(), events.listener(), quick());
    publisher.follow(report);
    // 2026-10-25, when 03:00 summer time became 02:00 winter time. The logger tells the offset
    // it read each reading with; the reading it does not tell (written by another logger)
    // takes its offset from the file's order: a step back into the repeated hour.
    struct Reading {
        int h, mi;
        std::optional<int> told;
        const char* offset;
    };
    const Reading readings[] = {
        {2, 40, 7200, "+02:00"},
        {2, 55, 3600, "+01:00"},  // after a restart: the file alone would say the first pass
        {2, 20, std::nullopt, "+01:00"},
        {3, 5, 3600, "+01:00"},
    };
    for (int i = 0; i < 4; ++i) {
        const double stamp = DayCountOf(QDate(2026, 10, 25), (readings[i].h * 60 + readings[i].mi) * 60000);
        AppendRecord(pool.path(), QStringLiteral("hall"), {stamp, int16_t(4000 + i), 2000});
        publisher.readingStored(kSerial, readings[i].told ? stamp : kOutsideRepeatedHours, readings[i].told.value_or(0));
    }
    const QList<QByteArray> payloads = ReadingPayloads(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 4; }));
    ASSERT_EQ(payloads.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QString time = QJsonDocument::fromJson(payloads[i]).object().value("time").toString();
        EXPECT_TRUE(time.endsWith(QLatin1String(readings[i].offset))) << time.toStdString();
    }
    EXPECT_EQ(publisher.stop(), 0);
}

TEST_F(PublisherBroker, WithoutDiscoveryTheConfigurationsOfEarlierRunsAreCleared)
{
    const auto keptConfigs = [this](const char* clientId) {
        TestSubscriber late(broker.port(), QStringLiteral("homeassistant/#"), QString::fromLatin1(clientId));
        EXPECT_TRUE(late.waitUntilSubscribed());
        QThread::msleep(300);
        int kept = 0;
        for (const ReceivedMessage& m : late.messages())
            kept += m.retained && !m.payload.isEmpty();
        return kept;
    };
    {
        ReadingPublisher publisher(target(), events.listener(), quick());
        log(&publisher, 0);
        ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Connected, 1));
        EXPECT_EQ(publisher.stop(), 0);
    }
    EXPECT_EQ(keptConfigs("before"), 2);
    MqttTarget quiet = target();
    quiet.discovery = false;
    ReadingPublisher publisher(quiet, events.listener(), quick());
    log(&publisher, 1);
    ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Connected, 2));
    EXPECT_EQ(publisher.stop(), 0);
    EXPECT_EQ(keptConfigs("after"), 0);
}

TEST_F(PublisherBroker, AKeepAliveUnderFiveSecondsIsTakenAsFive)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("keepalive-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    PublisherTimings timings = quick();
    timings.keepAliveSeconds = 2;
    ReadingPublisher publisher(target(), events.listener(), timings);
    log(&publisher, 0);
    const QList<ReceivedMessage> got = sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 1; });
    EXPECT_EQ(ReadingPayloads(got).size(), 1);
    for (const PublisherEvent& e : events.all())
        EXPECT_NE(e.kind, PublisherEvent::Kind::Failing) << e.detail.toStdString();
}

TEST_F(PublisherBroker, EveryReadingLoggedWhileTheBrokerIsAwayArrivesOnceItIsBack)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("away-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    ReadingPublisher publisher(target(), events.listener(), quick());
    for (int i = 0; i < 10; ++i)
        log(&publisher, i);
    // Half of them are on their way or acknowledged when the broker goes.
    sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 5; });
    broker.stop();
    for (int i = 10; i < 20; ++i)
        log(&publisher, i);
    ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Failing, 1));
    QThread::msleep(600);  // a dozen more attempts fail meanwhile
    EXPECT_EQ(events.count(PublisherEvent::Kind::Failing), 1) << "a failure is told once per streak";
    ASSERT_TRUE(broker.start());
    for (int i = 20; i < 25; ++i)
        log(&publisher, i);
    const QList<int> arrived = numbers(sub.waitFor([](const auto& m) { return distinct(numbers(m)).size() >= 25; }, 15000));
    expectInOrderWithoutGaps(arrived, 25);
    EXPECT_LE(arrived.size(), 25 + 100) << "repeats only of what was in flight";
    EXPECT_EQ(publisher.stop(), 0);
    EXPECT_EQ(events.count(PublisherEvent::Kind::Failing), 1);
    const QList<PublisherEvent> all = events.all();
    ASSERT_EQ(events.count(PublisherEvent::Kind::Connected), 2);
    EXPECT_TRUE(all.back().kind != PublisherEvent::Kind::Failing);
    // Back again: what waits is counted from the report as it is then, at least the ten
    // logged while the broker was away.
    const auto again = std::find_if(all.begin(), all.end(), [](const PublisherEvent& e) { return e.again; });
    ASSERT_NE(again, all.end());
    EXPECT_GE(again->backlog, 10);
}

TEST_F(PublisherBroker, ANewPublisherResumesFromThePublishedPosition)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("resume-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        for (int i = 0; i < 5; ++i)
            log(&first, i);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 5; });
        EXPECT_EQ(first.stop(), 0);
    }
    // Logged while no publisher ran (the logger was restarted without the broker, say).
    for (int i = 5; i < 9; ++i)
        log(nullptr, i);
    ReadingPublisher second(target(), events.listener(), quick());
    log(&second, 9);
    const QList<int> arrived = numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 10; }));
    // An orderly stop leaves nothing unacknowledged: each reading exactly once.
    EXPECT_EQ(arrived, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    QThread::msleep(200);
    EXPECT_EQ(numbers(sub.messages()).size(), 10);
}

TEST_F(PublisherBroker, AReportRewrittenMeanwhileResumesAfterTheLastPublishedReading)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("rewrite-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        for (int i = 0; i < 6; ++i)
            log(&first, i);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 6; });
        first.stop();
    }
    // A preparation sorted the report and dropped two early readings; two more were logged.
    ReportState kept;
    for (int i : {0, 3, 4, 5, 6, 7})
        kept.ReportData.push_back(recordNumber(i));
    kept.ReportCount = kept.ReportData.size();
    ASSERT_TRUE(RewriteReport(report, kept));
    ReadingPublisher second(target(), events.listener(), quick());
    log(&second, 8);
    const QList<int> arrived = numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 9; }));
    EXPECT_EQ(arrived, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(PublisherBroker, ABacklogKeepsItsPositionEveryHundredAcknowledgements)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("backlog-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        log(&first, 0);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 1; });
        EXPECT_EQ(first.stop(), 0);
    }
    constexpr int kBacklog = 350;
    for (int i = 1; i <= kBacklog; ++i)
        log(nullptr, i);
    // However long the time between writes, a crash in the backlog would repeat at most a
    // hundred readings (and those in flight): the position follows the acknowledgements.
    PublisherTimings slow = quick();
    slow.positionWriteMs = 3600 * 1000;
    ReadingPublisher second(target(), events.listener(), slow);
    log(&second, kBacklog + 1);
    sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= kBacklog + 2; });
    QThread::msleep(200);
    EXPECT_GE(ReadPublishedPosition(PublishedPositionPath(report))->records, kBacklog + 2 - 100);
    EXPECT_EQ(second.stop(), 0);
}

TEST_F(PublisherBroker, APreparationLeavesNoReadingNotYetPublishedBehind)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("prepare-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        for (int i : {0, 1, 3, 4})
            log(&first, i);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 4; });
        EXPECT_EQ(first.stop(), 0);
    }
    // Logged while no publisher ran: reading 2 (stamped before 3, the clock was set back) and 5.
    log(nullptr, 2);
    log(nullptr, 5);
    ReportState state;
    PrepareReportFile(state, report, nullptr, nullptr, KeepPublishedPosition(report));
    ASSERT_EQ(state.ReportCount, 6);
    ReadingPublisher second(target(), events.listener(), quick());
    log(&second, 6);
    const QList<int> arrived = numbers(sub.waitFor([](const auto& m) { return distinct(numbers(m)).size() >= 7; }));
    EXPECT_EQ(distinct(arrived), std::set<int>({0, 1, 2, 3, 4, 5, 6}));
    // After the first four, 2 and what follows it: 3 and 4 a second time.
    EXPECT_EQ(arrived, QList<int>({0, 1, 3, 4, 2, 3, 4, 5, 6}));
}

TEST_F(PublisherBroker, APositionLeftByADeletedReportDoesNotHoldBackTheNewOne)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("deleted-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        for (int i = 5; i < 8; ++i)
            log(&first, i);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 3; });
        EXPECT_EQ(first.stop(), 0);
    }
    // The window closed without keeping its scratch report: the report goes, its position
    // stays. The new report's readings are stamped earlier (the clock was put right).
    ASSERT_TRUE(QFile::remove(report));
    ReadingPublisher second(target(), events.listener(), quick());
    for (int i = 0; i < 2; ++i)
        log(&second, i);
    EXPECT_EQ(numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 5; })), QList<int>({5, 6, 7, 0, 1}));
    EXPECT_EQ(second.stop(), 0);
}

TEST_F(PublisherBroker, ADamagedPositionIsSaidAndTheReadingsSinceItWasWrittenAreSent)
{
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("damaged-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    {
        ReadingPublisher first(target(), events.listener(), quick());
        for (int i = 0; i < 3; ++i)
            log(&first, i);
        sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 3; });
        EXPECT_EQ(first.stop(), 0);
    }
    for (int i = 3; i < 6; ++i)
        log(nullptr, i);
    // A full disk left the position empty, a minute after reading 2 was taken.
    const QString positionPath = PublishedPositionPath(report);
    {
        QFile position(positionPath);
        ASSERT_TRUE(position.open(QIODevice::WriteOnly | QIODevice::Truncate));
        position.close();
        ASSERT_TRUE(position.open(QIODevice::ReadWrite));
        ASSERT_TRUE(position.setFileTime(DaysToDateTime(recordNumber(2).dt).addSecs(60), QFileDevice::FileModificationTime));
    }
    ReadingPublisher second(target(), events.listener(), quick());
    log(&second, 6);
    const QList<int> arrived = numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 7; }));
    EXPECT_EQ(arrived, QList<int>({0, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(events.count(PublisherEvent::Kind::PositionDamaged), 1);
    for (const PublisherEvent& e : events.all())
        if (e.kind == PublisherEvent::Kind::PositionDamaged) {
            EXPECT_EQ(e.detail, positionPath);
            EXPECT_EQ(e.since, DaysToDateTime(recordNumber(2).dt));
        }
    EXPECT_EQ(second.stop(), 0);
    EXPECT_EQ(ReadPublishedPosition(positionPath)->records, 7);
}

TEST(PublisherAcl, ReadingsTheBrokerRefusesStayUnpublishedUntilItTakesThem)
{
    // Anonymous clients may read the readings but not write them; discovery is allowed.
    MosquittoBroker broker(QString(), QString(), false, "topic read museum/#\ntopic readwrite homeassistant/#\n");
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    QTemporaryDir pool;
    const QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("acl-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    Events events;
    ReadingPublisher publisher(*ParseMqttUrl(broker.url(QStringLiteral("museum/hall"))), events.listener(), quick());
    for (int i = 0; i < 3; ++i) {
        publisher.follow(report);
        AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(i));
        publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
    }
    // The status and the readings are refused, each said once however often the readings are
    // offered again; nothing counts as published.
    ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Refused, 2));
    QThread::msleep(600);
    QStringList refusals;
    for (const PublisherEvent& e : events.all())
        if (e.kind == PublisherEvent::Kind::Refused)
            refusals.push_back(e.detail);
    EXPECT_EQ(refusals.size(), 2) << refusals.join(" | ").toStdString();
    EXPECT_TRUE(refusals.contains("museum/hall/00A3/status: Not authorized")) << refusals.join(" | ").toStdString();
    EXPECT_TRUE(refusals.contains("museum/hall/00A3/reading: Not authorized")) << refusals.join(" | ").toStdString();
    EXPECT_TRUE(ReadingPayloads(sub.messages()).isEmpty());
    EXPECT_EQ(ReadPublishedPosition(PublishedPositionPath(report))->records, 0);

    // The broker allows them now: they go out in order on the same connection, and the end
    // of the streak is said.
    ASSERT_TRUE(broker.changeAcl("topic readwrite museum/#\ntopic readwrite homeassistant/#\n"));
    EXPECT_EQ(numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 3; })), QList<int>({0, 1, 2}));
    ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Connected, 2));
    EXPECT_TRUE(events.all().back().again);
    EXPECT_EQ(publisher.stop(), 0);
    EXPECT_EQ(ReadPublishedPosition(PublishedPositionPath(report))->records, 3);
}

TEST(PublisherLogin, AWrongPasswordIsToldOnceAndTheReadingsWaitInTheReport)
{
    MosquittoBroker broker(QStringLiteral("curator"), QStringLiteral("s3cret"));
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    QTemporaryDir pool;
    const QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
    MqttTarget t = *ParseMqttUrl(broker.url(QStringLiteral("museum")));
    t.user = QStringLiteral("curator");
    t.password = QStringLiteral("wrong");
    Events events;
    {
        ReadingPublisher publisher(t, events.listener(), quick());
        for (int i = 0; i < 3; ++i) {
            publisher.follow(report);
            AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(i));
            publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
        }
        ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Failing, 1));
        QThread::msleep(400);
        EXPECT_EQ(publisher.stop(), 3);
    }
    ASSERT_EQ(events.count(PublisherEvent::Kind::Failing), 1);
    EXPECT_TRUE(events.all().front().detail.contains("Not authorized")) << events.all().front().detail.toStdString();
    EXPECT_EQ(events.count(PublisherEvent::Kind::Connected), 0);

    // With the right password the three go out.
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("login-sub"), QStringLiteral("curator"),
                       QStringLiteral("s3cret"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    t.password = QStringLiteral("s3cret");
    ReadingPublisher publisher(t, events.listener(), quick());
    publisher.follow(report);
    publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
    EXPECT_EQ(numbers(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 3; })), QList<int>({0, 1, 2}));
}

TEST(PublisherUnreachable, ANameThatDoesNotResolveAndAClosedPortAreTold)
{
    for (const QString& url : {QStringLiteral("mqtt://127.0.0.1:%1/museum").arg(FreeLocalPort()),
                               QStringLiteral("mqtt://broker.invalid/museum")}) {
        QTemporaryDir pool;
        const QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
        Events events;
        ReadingPublisher publisher(*ParseMqttUrl(url), events.listener(), quick());
        publisher.follow(report);
        AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(0));
        publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
        ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Failing, 1)) << url.toStdString();
        EXPECT_FALSE(events.all().front().detail.isEmpty());
        EXPECT_EQ(events.count(PublisherEvent::Kind::Connected), 0);
        EXPECT_EQ(publisher.stop(), 1) << "the reading waits in the report";
    }
}

TEST(PublisherTls, TheBrokersCertificateIsCheckedAgainstTheSystemsStore)
{
    MosquittoBroker broker(QString(), QString(), true);
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    QTemporaryDir pool;
    const QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
    const MqttTarget target = *ParseMqttUrl(broker.url(QStringLiteral("museum")));
    ASSERT_TRUE(target.tls);
    {
        // A certificate nobody vouches for: refused.
        Events events;
        ReadingPublisher publisher(target, events.listener(), quick());
        publisher.follow(report);
        AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(0));
        publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
        ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Failing, 1));
        EXPECT_TRUE(events.all().front().detail.startsWith("the broker's certificate is not trusted: no certificate authority of "
                                                           "the system's store vouches for it"))
            << events.all().front().detail.toStdString();
        EXPECT_EQ(events.count(PublisherEvent::Kind::Connected), 0);
        EXPECT_EQ(publisher.stop(), 1);
    }
    // The system's store made to hold the broker's certificate (OpenSSL's SSL_CERT_FILE): the
    // reading goes out over TLS.
    ::setenv("SSL_CERT_FILE", QFile::encodeName(broker.certificatePath()).constData(), 1);
    Events events;
    ReadingPublisher publisher(target, events.listener(), quick());
    publisher.follow(report);
    publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
    const bool connected = events.waitFor(PublisherEvent::Kind::Connected, 1);
    const qint64 left = publisher.stop();
    ::unsetenv("SSL_CERT_FILE");
    ASSERT_TRUE(connected) << (events.all().isEmpty() ? std::string() : events.all().front().detail.toStdString());
    EXPECT_EQ(left, 0);
}

// A private certificate authority named for the broker (--mqtt-cafile, CaFile=), and each way a
// TLS connection fails said for what it is: long before the connect timeout runs out.
TEST(PublisherTls, APrivateAuthorityAndEachFailureSaidForWhatItIs)
{
    MosquittoBroker tlsBroker(QString(), QString(), true);
    ASSERT_TRUE(tlsBroker.problem().isEmpty()) << tlsBroker.problem().toStdString();
    MosquittoBroker plainBroker;
    ASSERT_TRUE(plainBroker.problem().isEmpty()) << plainBroker.problem().toStdString();
    QTemporaryDir pool;
    const QString report = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
    QTemporaryDir other;
    const QString otherCa = QDir(other.path()).filePath(QStringLiteral("other.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=other",
                                              "-keyout", QDir(other.path()).filePath(QStringLiteral("key.pem")), "-out", otherCa});
    ASSERT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    struct Case {
        const char* what;
        QString url;
        QString caFile;
        QString told;  // empty: the reading goes out
    };
    const int port = tlsBroker.port();
    const Case cases[] = {
        {"trusted through the named authority", QStringLiteral("mqtts://127.0.0.1:%1/museum").arg(port), tlsBroker.certificatePath(), {}},
        {"an authority that does not vouch for it", QStringLiteral("mqtts://127.0.0.1:%1/museum").arg(port), otherCa,
         QStringLiteral("the broker's certificate is not trusted: %1 does not vouch for it").arg(otherCa)},
        {"a name the certificate is not for", QStringLiteral("mqtts://localhost:%1/museum").arg(port), tlsBroker.certificatePath(),
         QStringLiteral("the broker's certificate is not made out for localhost, the host of the URL")},
        {"nothing listens", QStringLiteral("mqtts://127.0.0.1:%1/museum").arg(FreeLocalPort()), QString(),
         QStringLiteral("Connection refused")},
        {"the port speaks plain MQTT", QStringLiteral("mqtts://127.0.0.1:%1/museum").arg(plainBroker.port()), QString(),
         QStringLiteral("the TLS handshake failed (unexpected eof while reading); does the port speak TLS?")},
    };
    for (const Case& c : cases) {
        MqttTarget target = *ParseMqttUrl(c.url);
        target.caFile = c.caFile;
        PublisherTimings t = quick();
        t.connectTimeoutMs = 60000;  // a failure told must not be the timeout's
        Events events;
        ReadingPublisher publisher(target, events.listener(), t);
        publisher.follow(report);
        AppendRecord(pool.path(), QStringLiteral("hall"), recordNumber(0));
        publisher.readingStored(kSerial, kOutsideRepeatedHours, 0);
        if (c.told.isEmpty()) {
            EXPECT_TRUE(events.waitFor(PublisherEvent::Kind::Connected, 1)) << c.what;
            EXPECT_EQ(publisher.stop(), 0) << c.what;
        } else {
            ASSERT_TRUE(events.waitFor(PublisherEvent::Kind::Failing, 1, 20000)) << c.what;
            EXPECT_EQ(events.all().front().detail, c.told) << c.what;
            publisher.stop(0);
        }
    }
}

}  // namespace
