// Comment files: Windows-1251 without a mark, UTF-8 / UTF-16 kept when the file has their
// mark, and no character lost when the code page cannot hold it.
#include "logging/cp1251.h"
#include "logging/report_comment.h"
#include "logging/report_file_error.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray fileBytes(const QString& path)
{
    return FileBytes(path);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    WriteFileBytes(path, bytes);
}

TEST(Windows1251, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = DecodeWindows1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0xC0], QChar(0x0410));  // А
    EXPECT_EQ(text[0xFF], QChar(0x044F));  // я
    EXPECT_EQ(text[0xA8], QChar(0x0401));  // Ё
    EXPECT_EQ(text[0xB9], QChar(0x2116));  // №
    EXPECT_EQ(text[0x88], QChar(0x20AC));  // €
    EXPECT_EQ(EncodeWindows1251(text), all);
    EXPECT_EQ(EncodeWindows1251(QStringLiteral("Склад 1")), QByteArray("\xD1\xEA\xEB\xE0\xE4 1"));
    EXPECT_FALSE(EncodeWindows1251(QStringLiteral("日本")).has_value());
    EXPECT_FALSE(EncodeWindows1251(QStringLiteral("Zürich")).has_value());  // ü has no place in 1251
}

TEST(CommentFile, EncodingFollowsTheMarkOrTheCodePage)
{
    QTemporaryDir dir;
    const QString path = CommentFilePath(dir.path(), QStringLiteral("hall.dat"));
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("hall.txt"));

    struct Case {
        const char* name;
        QByteArray existing;  // empty: no file yet
        QString text;
        QByteArray written;
    };
    const QString russian = QStringLiteral("Склад\nполка 3");
    const Case cases[] = {
        {"new file, Russian", {}, russian, QByteArray("\xD1\xEA\xEB\xE0\xE4\r\n\xEF\xEE\xEB\xEA\xE0 3")},
        {"1251 file", QByteArray("old"), QStringLiteral("a\r\nb"), QByteArray("a\r\nb")},
        {"UTF-8 file", QByteArray("\xEF\xBB\xBFold"), QStringLiteral("я"), QByteArray("\xEF\xBB\xBF\xD1\x8F")},
        {"UTF-16LE file", QByteArray("\xFF\xFEo\0", 4), QStringLiteral("я\nb"),
         QByteArray("\xFF\xFE\x4F\x04\r\0\n\0b\0", 10)},
        {"UTF-16BE file", QByteArray("\xFE\xFF\0o", 4), QStringLiteral("я"), QByteArray("\xFE\xFF\x04\x4F", 4)},
        {"not in 1251", {}, QStringLiteral("Zürich"), QByteArray("\xEF\xBB\xBFZ\xC3\xBCrich")},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        if (!c.existing.isEmpty())
            writeFile(path, c.existing);
        SaveComment(path, c.text);
        EXPECT_EQ(fileBytes(path), c.written) << c.name;
        // Whatever the encoding, loading gives the text back with "\n" between the lines.
        QString expected = c.text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(LoadComment(path), expected) << c.name;
    }
}

TEST(CommentFile, AbsentEmptyAndPlaceholder)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("x.txt"));
    EXPECT_FALSE(LoadComment(path).has_value());
    writeFile(path, {});
    EXPECT_EQ(LoadComment(path), QString());
    SaveComment(path, QStringLiteral("Введите комментарий"));
    EXPECT_EQ(LoadComment(path), QStringLiteral("Введите комментарий"));
    EXPECT_EQ(fileBytes(path).size(), 19) << "one byte a character, no line break after the last line";
    // A comment file that cannot be written raises the create error.
    EXPECT_THROW(SaveComment(QDir(dir.path()).filePath(QStringLiteral("no/such/x.txt")), QStringLiteral("a")),
                 ReportFileError);
}

}  // namespace
