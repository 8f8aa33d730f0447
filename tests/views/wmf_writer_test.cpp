// Placeable metafiles read back by an independent reader (libwmf's wmf2svg): the header with
// its checksum, lines, filled shapes and Cyrillic text in their colours and places.
#include "views/wmf_writer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The SVG that wmf2svg makes of the bytes.
QString toSvg(const QByteArray& wmf)
{
    QTemporaryDir dir;
    const QString in = QDir(dir.path()).filePath("t.wmf");
    const QString out = QDir(dir.path()).filePath("t.svg");
    QFile f(in);
    f.open(QIODevice::WriteOnly);
    f.write(wmf);
    f.close();
    QProcess p;
    p.start("wmf2svg", {"-o", out, in});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return "wmf2svg failed: " + QString::fromLocal8Bit(p.readAllStandardError());
    QFile svg(out);
    svg.open(QIODevice::ReadOnly);
    return QString::fromUtf8(svg.readAll());
}

TEST(WmfWriter, PlaceableHeaderWithItsChecksum)
{
    WmfWriter w(300, 200);
    const QByteArray b = w.bytes();
    ASSERT_GE(b.size(), 22 + 18 + 6);
    EXPECT_EQ(b.left(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
    auto word = [&](int i) { return uint16_t(uint8_t(b[2 * i]) | (uint8_t(b[2 * i + 1]) << 8)); };
    EXPECT_EQ(word(5), 300);  // right
    EXPECT_EQ(word(6), 200);  // bottom
    EXPECT_EQ(word(7), 96);   // units per inch
    uint16_t x = 0;
    for (int i = 0; i < 10; ++i)
        x ^= word(i);
    EXPECT_EQ(word(10), x);
    // The metafile's size in words as its header says, and the end record last.
    const uint32_t words = word(11 + 3) | (uint32_t(word(11 + 4)) << 16);
    EXPECT_EQ(qsizetype(words) * 2, b.size() - 22);
    EXPECT_EQ(b.right(6), QByteArray("\x03\x00\x00\x00\x00\x00", 6));
}

TEST(WmfWriter, ShapesAndTextReadBack)
{
    WmfWriter w(400, 300);
    w.setBackgroundTransparent();
    w.setTextAlignBaseline();
    const int red = w.createPen(WmfWriter::PenStyle::Solid, 1, 0xFF0000);
    const int blue = w.createBrush(WmfWriter::BrushStyle::Solid, 0x0000FF);
    w.selectObject(red);
    w.selectObject(blue);
    w.rectangle(QRect(10, 20, 100, 50));
    w.polyline({{0, 0}, {200, 100}, {300, 50}});
    w.deleteObject(red);
    const int green = w.createPen(WmfWriter::PenStyle::Solid, 2, 0x008000);
    EXPECT_EQ(green, red);  // the freed slot is taken again
    w.selectObject(green);
    w.polygon({{50, 250}, {150, 250}, {100, 200}});
    const int font = w.createFont(12, 700, false, "DejaVu Sans");
    w.selectObject(font);
    w.setTextColor(0x000000);
    w.textOut({120, 180}, QStringLiteral("Время 14:30"));
    EXPECT_EQ(w.objectCount(), 3);

    const QString svg = toSvg(w.bytes());
    ASSERT_FALSE(svg.startsWith("wmf2svg failed")) << svg.toStdString();
    EXPECT_TRUE(svg.contains(QRegularExpression("<rect")) || svg.contains("<polygon")) << svg.toStdString();
    EXPECT_TRUE(svg.contains("<polyline")) << svg.toStdString();
    // The reader names these colours.
    EXPECT_TRUE(svg.contains("fill:blue")) << svg.toStdString();
    EXPECT_TRUE(svg.contains(QRegularExpression("<polyline[^>]*\\n?[^>]*stroke:red"))) << svg.toStdString();
    EXPECT_TRUE(svg.contains(QRegularExpression("<polygon[^/]*stroke:green"))) << svg.toStdString();
    EXPECT_TRUE(svg.contains(QRegularExpression("font-weight:bold[^>]*>[^<]*14:30</text>"))) << svg.toStdString();
}

}  // namespace
