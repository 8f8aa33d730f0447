// Painting on the metafile device: what a QPainter draws lands in the metafile's records at the
// painter's transformed places, in its colours, with the text in the Windows-1251 code page.
#include "views/ui/wmf_paint_device.h"

#include "logging/cp1251.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Record {
    uint16_t function;
    std::vector<uint16_t> words;
};

// The records after the placeable and metafile headers.
std::vector<Record> records(const QByteArray& b)
{
    auto word = [&](qsizetype i) { return uint16_t(uint8_t(b[2 * i]) | (uint8_t(b[2 * i + 1]) << 8)); };
    std::vector<Record> out;
    qsizetype at = 11 + 9;
    while (2 * at + 6 <= b.size()) {
        const uint32_t size = word(at) | (uint32_t(word(at + 1)) << 16);
        Record r{word(at + 2), {}};
        for (uint32_t i = 3; i < size; ++i)
            r.words.push_back(word(at + i));
        out.push_back(r);
        if (size < 3)
            break;
        at += size;
    }
    return out;
}

std::vector<QPoint> points(const Record& r)
{
    std::vector<QPoint> p;
    for (int i = 0; i < r.words[0]; ++i)
        p.emplace_back(int16_t(r.words[1 + 2 * i]), int16_t(r.words[2 + 2 * i]));
    return p;
}

TEST(WmfPaintDevice, DrawingLandsTransformedInTheRecords)
{
    WmfPaintDevice device(400, 200);
    {
        QPainter p(&device);
        p.translate(5, 5);
        p.scale(2, 2);
        p.setPen(QPen(QColor(0xFF, 0, 0), 0));
        p.drawLine(10, 10, 50, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0x80, 0));
        p.drawRect(QRectF(0, 0, 20, 10));
        p.resetTransform();
        p.setPen(Qt::black);
        p.setFont(QFont("DejaVu Sans", 9));
        p.drawText(QPoint(30, 150), QStringLiteral("Время"));
    }
    const std::vector<Record> all = records(device.bytes());
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back().function, 0x0000);

    std::vector<QPoint> line, polygon;
    std::vector<uint32_t> penColours, brushColours;
    QByteArray text;
    for (const Record& r : all) {
        if (r.function == 0x0325)
            line = points(r);
        if (r.function == 0x0324)
            polygon = points(r);
        if (r.function == 0x02FA)
            penColours.push_back(r.words[3] | (uint32_t(r.words[4]) << 16));
        if (r.function == 0x02FC)
            brushColours.push_back(r.words[1] | (uint32_t(r.words[2]) << 16));
        if (r.function == 0x0A32) {
            for (int i = 0; i < r.words[2]; ++i)
                text += char(i % 2 ? r.words[4 + i / 2] >> 8 : r.words[4 + i / 2] & 0xFF);
        }
    }
    EXPECT_EQ(line, (std::vector<QPoint>{{25, 25}, {105, 25}}));
    EXPECT_EQ(polygon, (std::vector<QPoint>{{5, 5}, {45, 5}, {45, 25}, {5, 25}}));
    EXPECT_NE(std::find(penColours.begin(), penColours.end(), WmfColorRef(0xFF0000)), penColours.end());
    EXPECT_NE(std::find(brushColours.begin(), brushColours.end(), WmfColorRef(0x008000)), brushColours.end());
    EXPECT_EQ(text, EncodeWindows1251(QStringLiteral("Время")).value());
}

TEST(WmfPaintDevice, RotatedTextIsWrittenRotatedWhereThePainterPutsIt)
{
    // painter rotation (clockwise on screen) -> escapement (tenths of a degree counter-clockwise)
    const struct {
        double rotation;
        int escapement;
    } cases[] = {{-90, 900}, {90, 2700}, {0, 0}, {180, 1800}, {-45, 450}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rotation);
        WmfPaintDevice device(400, 300);
        {
            QPainter p(&device);
            p.setPen(Qt::black);
            p.setFont(QFont("DejaVu Sans", 9));
            p.translate(40, 200);
            p.rotate(c.rotation);
            p.drawText(QPoint(0, 0), QStringLiteral("Температура"));
        }
        std::vector<int> escapements, orientations;
        std::vector<QPoint> starts;
        for (const Record& r : records(device.bytes())) {
            if (r.function == 0x02FB) {
                escapements.push_back(int16_t(r.words[2]));
                orientations.push_back(int16_t(r.words[3]));
            }
            if (r.function == 0x0A32)
                starts.emplace_back(int16_t(r.words[1]), int16_t(r.words[0]));
        }
        ASSERT_EQ(escapements.size(), 1u);
        EXPECT_EQ(escapements[0], c.escapement);
        EXPECT_EQ(orientations[0], c.escapement);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0], QPoint(40, 200)) << "the baseline starts where the painter put it";
    }
}

// The painter's clip is the metafile's: the drawing state is saved, the clip narrowed to the
// clip rectangle (in device units) for what is drawn inside it, and the state brought back when
// the painter drops the clip, so a reader clips as the screen does.
TEST(WmfPaintDevice, ThePaintersClipIsTheMetafilesClip)
{
    WmfPaintDevice device(400, 300);
    {
        QPainter p(&device);
        p.setPen(QPen(Qt::black, 0));
        p.translate(10, 20);
        p.save();
        p.setClipRect(QRect(30, 40, 100, 50));
        p.drawLine(0, 0, 390, 280);  // runs through the clip and out of it
        p.restore();
        p.drawLine(0, 0, 5, 5);  // unclipped again
    }
    std::vector<uint16_t> functions;
    std::vector<uint16_t> clip;
    for (const Record& r : records(device.bytes())) {
        if (r.function == 0x001E || r.function == 0x0127 || r.function == 0x0416 || r.function == 0x0325)
            functions.push_back(r.function);
        if (r.function == 0x0416)
            clip = r.words;
        if (r.function == 0x0127)
            EXPECT_EQ(int16_t(r.words.at(0)), -1) << "the state saved last";
    }
    EXPECT_EQ(functions, (std::vector<uint16_t>{0x001E, 0x0416, 0x0325, 0x0127, 0x0325}));
    // Bottom, right, top, left, the right and bottom edges exclusive, moved by the translation.
    EXPECT_EQ(clip, (std::vector<uint16_t>{20 + 40 + 50, 10 + 30 + 100, 20 + 40, 10 + 30}));
}

// Qt draws a line of text in runs of one script each; the metafile holds the line as one text
// record, so that a reader lays it out with its own font instead of drawing the runs at places
// measured with another font, over one another.
TEST(WmfPaintDevice, ALineOfTextIsOneRecordWhateverScriptsItMixes)
{
    const QString lines[] = {QStringLiteral("Термогигрометр №00A3 - склад"), QStringLiteral("Температура, °C"),
                             QStringLiteral("Относительная влажность, %")};
    WmfPaintDevice device(600, 300);
    {
        QPainter p(&device);
        p.setPen(Qt::black);
        p.setFont(QFont("DejaVu Sans", 9));
        int y = 40;
        for (const QString& line : lines) {
            p.drawText(QPoint(20, y), line);
            y += 40;
        }
    }
    std::vector<QByteArray> texts;
    std::vector<QPoint> starts;
    for (const Record& r : records(device.bytes()))
        if (r.function == 0x0A32) {
            QByteArray text;
            for (int i = 0; i < r.words[2]; ++i)
                text += char(i % 2 ? r.words[4 + i / 2] >> 8 : r.words[4 + i / 2] & 0xFF);
            texts.push_back(text);
            starts.emplace_back(int16_t(r.words[1]), int16_t(r.words[0]));
        }
    ASSERT_EQ(texts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i], EncodeWindows1251(lines[i]).value()) << i;
        EXPECT_EQ(starts[i], QPoint(20, 40 + 40 * i)) << i;
    }
}

}  // namespace
