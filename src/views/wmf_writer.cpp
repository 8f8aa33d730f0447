#include "views/wmf_writer.h"

#include "logging/cp1251.h"

#include <algorithm>

namespace {

uint16_t word(int v)
{
    return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768, 32767)));
}

void putColor(std::vector<uint16_t>& w, uint32_t rgb)
{
    const uint32_t ref = WmfColorRef(rgb);
    w.push_back(static_cast<uint16_t>(ref & 0xFFFF));
    w.push_back(static_cast<uint16_t>(ref >> 16));
}

// Bytes as little-endian words, padded with a zero byte to an even length.
void putBytes(std::vector<uint16_t>& w, const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<uint8_t>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[i + 1]) : uint8_t(0);
        w.push_back(static_cast<uint16_t>(lo | (hi << 8)));
    }
}

QByteArray ansi(const QString& text)
{
    if (auto bytes = EncodeWindows1251(text))
        return *bytes;
    QByteArray out;
    for (const QChar c : text)
        out += EncodeWindows1251(QString(c)).value_or(QByteArray("?"));
    return out;
}

constexpr uint16_t kSetBkMode = 0x0102;
constexpr uint16_t kSetTextAlign = 0x012E;
constexpr uint16_t kSetTextColor = 0x0209;
constexpr uint16_t kSetWindowOrg = 0x020B;
constexpr uint16_t kSetWindowExt = 0x020C;
constexpr uint16_t kSelectObject = 0x012D;
constexpr uint16_t kDeleteObject = 0x01F0;
constexpr uint16_t kCreatePen = 0x02FA;
constexpr uint16_t kCreateBrush = 0x02FC;
constexpr uint16_t kCreateFont = 0x02FB;
constexpr uint16_t kPolyline = 0x0325;
constexpr uint16_t kPolygon = 0x0324;
constexpr uint16_t kRectangle = 0x041B;
constexpr uint16_t kExtTextOut = 0x0A32;
constexpr uint16_t kSaveDC = 0x001E;
constexpr uint16_t kRestoreDC = 0x0127;
constexpr uint16_t kIntersectClipRect = 0x0416;

}  // namespace

uint32_t WmfColorRef(uint32_t rgb)
{
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

WmfWriter::WmfWriter(int width, int height) : width_(width), height_(height)
{
    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt, {word(height), word(width)});
}

void WmfWriter::record(uint16_t function, const std::vector<uint16_t>& words)
{
    const auto size = static_cast<uint32_t>(3 + words.size());
    records_.push_back(static_cast<uint16_t>(size & 0xFFFF));
    records_.push_back(static_cast<uint16_t>(size >> 16));
    records_.push_back(function);
    records_.insert(records_.end(), words.begin(), words.end());
    maxRecordWords_ = std::max(maxRecordWords_, size);
}

int WmfWriter::allocateObject()
{
    const auto free = std::find(objects_.begin(), objects_.end(), false);
    if (free != objects_.end()) {
        *free = true;
        return static_cast<int>(free - objects_.begin());
    }
    objects_.push_back(true);
    return static_cast<int>(objects_.size() - 1);
}

int WmfWriter::createPen(PenStyle style, int width, uint32_t rgb)
{
    std::vector<uint16_t> w{static_cast<uint16_t>(style), word(width), 0};
    putColor(w, rgb);
    record(kCreatePen, w);
    return allocateObject();
}

int WmfWriter::createBrush(BrushStyle style, uint32_t rgb)
{
    std::vector<uint16_t> w{static_cast<uint16_t>(style)};
    putColor(w, rgb);
    w.push_back(0);
    record(kCreateBrush, w);
    return allocateObject();
}

int WmfWriter::createFont(int height, int weight, bool italic, const QString& faceName, int escapement)
{
    // A negative height asks for the character (em) height rather than the cell height.
    std::vector<uint16_t> w{word(-std::abs(height)), 0, word(escapement), word(escapement), word(weight)};
    QByteArray tail;
    tail += char(italic ? 1 : 0);
    tail += char(0);      // underline
    tail += char(0);      // strike-out
    tail += char(204);    // RUSSIAN_CHARSET
    tail += char(0);      // default output precision
    tail += char(0);      // default clipping precision
    tail += char(0);      // default quality
    tail += char(0);      // default pitch and family
    QByteArray face = ansi(faceName).left(31);
    face += char(0);
    tail += face;
    putBytes(w, tail);
    record(kCreateFont, w);
    return allocateObject();
}

void WmfWriter::selectObject(int index)
{
    record(kSelectObject, {word(index)});
}

void WmfWriter::deleteObject(int index)
{
    record(kDeleteObject, {word(index)});
    if (index >= 0 && index < static_cast<int>(objects_.size()))
        objects_[index] = false;
}

void WmfWriter::setTextColor(uint32_t rgb)
{
    std::vector<uint16_t> w;
    putColor(w, rgb);
    record(kSetTextColor, w);
}

void WmfWriter::setBackgroundTransparent()
{
    record(kSetBkMode, {1, 0});
}

void WmfWriter::setTextAlignBaseline()
{
    record(kSetTextAlign, {24, 0});  // TA_BASELINE | TA_LEFT | TA_NOUPDATECP
}

void WmfWriter::polyline(const QList<QPoint>& points)
{
    // One record holds at most 32,767 points; longer lines go on in the next record.
    for (qsizetype from = 0; from + 1 < points.size(); from += 32766) {
        const qsizetype n = std::min<qsizetype>(32767, points.size() - from);
        std::vector<uint16_t> w{word(int(n))};
        for (qsizetype i = from; i < from + n; ++i) {
            w.push_back(word(points[i].x()));
            w.push_back(word(points[i].y()));
        }
        record(kPolyline, w);
    }
}

void WmfWriter::polygon(const QList<QPoint>& points)
{
    if (points.size() < 2)
        return;
    std::vector<uint16_t> w{word(int(std::min<qsizetype>(points.size(), 32767)))};
    for (qsizetype i = 0; i < std::min<qsizetype>(points.size(), 32767); ++i) {
        w.push_back(word(points[i].x()));
        w.push_back(word(points[i].y()));
    }
    record(kPolygon, w);
}

void WmfWriter::rectangle(const QRect& r)
{
    // Bottom, right, top, left; the right and bottom edges are exclusive.
    record(kRectangle, {word(r.bottom() + 1), word(r.right() + 1), word(r.top()), word(r.left())});
}

void WmfWriter::textOut(QPoint baselineStart, const QString& text)
{
    const QByteArray bytes = ansi(text);
    if (bytes.isEmpty())
        return;
    std::vector<uint16_t> w{word(baselineStart.y()), word(baselineStart.x()), word(int(bytes.size())), 0};
    putBytes(w, bytes);
    record(kExtTextOut, w);
}

void WmfWriter::saveState()
{
    record(kSaveDC, {});
}

void WmfWriter::restoreState()
{
    // -1: the state saved last.
    record(kRestoreDC, {word(-1)});
}

void WmfWriter::intersectClip(const QRect& r)
{
    // Bottom, right, top, left; the right and bottom edges are exclusive.
    record(kIntersectClipRect, {word(r.bottom() + 1), word(r.right() + 1), word(r.top()), word(r.left())});
}

QByteArray WmfWriter::bytes() const
{
    std::vector<uint16_t> all;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    all = {0xCDD7, 0x9AC6, 0, 0, 0, word(width_), word(height_), kUnitsPerInch, 0, 0};
    uint16_t checksum = 0;
    for (uint16_t w : all)
        checksum ^= w;
    all.push_back(checksum);
    const auto totalWords = static_cast<uint32_t>(9 + records_.size() + 3);
    const std::vector<uint16_t> header{1,
                                       9,
                                       0x0300,
                                       static_cast<uint16_t>(totalWords & 0xFFFF),
                                       static_cast<uint16_t>(totalWords >> 16),
                                       static_cast<uint16_t>(std::max<std::size_t>(objects_.size(), 1)),
                                       static_cast<uint16_t>(maxRecordWords_ & 0xFFFF),
                                       static_cast<uint16_t>(maxRecordWords_ >> 16),
                                       0};
    all.insert(all.end(), header.begin(), header.end());
    all.insert(all.end(), records_.begin(), records_.end());
    all.insert(all.end(), {3, 0, 0});  // the end record
    QByteArray out(static_cast<qsizetype>(all.size() * 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < all.size(); ++i) {
        out[qsizetype(2 * i)] = static_cast<char>(all[i] & 0xFF);
        out[qsizetype(2 * i + 1)] = static_cast<char>(all[i] >> 8);
    }
    return out;
}
