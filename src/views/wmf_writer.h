// Placeable Windows metafiles (".wmf"): the 22-byte placeable header, the metafile header and
// the records a chart needs — pens, brushes and fonts (Cyrillic character set) as objects,
// polylines, polygons, rectangles, text and rectangular clips. Coordinates are logical units, one per pixel of
// the drawing, at 96 units per inch.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class WmfWriter {
public:
    static constexpr uint16_t kUnitsPerInch = 96;

    // A drawing of width × height logical units.
    WmfWriter(int width, int height);

    enum class PenStyle : uint16_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };
    enum class BrushStyle : uint16_t { Solid = 0, Null = 1 };

    // Objects; each returns its index in the object table (the lowest free slot).
    int createPen(PenStyle style, int width, uint32_t rgb);
    int createBrush(BrushStyle style, uint32_t rgb);
    // height: the character height in logical units (the em size); weight 400 normal, 700 bold.
    int createFont(int height, int weight, bool italic, const QString& faceName, int escapementTenthsOfDegree = 0);
    void selectObject(int index);
    void deleteObject(int index);

    void setTextColor(uint32_t rgb);
    void setBackgroundTransparent();
    // Text positions name the start of the baseline.
    void setTextAlignBaseline();

    void polyline(const QList<QPoint>& points);
    void polygon(const QList<QPoint>& points);
    void rectangle(const QRect& rect);
    // Text in the Windows-1251 code page (characters it cannot hold become "?"), one record for
    // the whole text, so that a reader lays it out with its own font.
    void textOut(QPoint baselineStart, const QString& text);

    // The drawing state (objects selected, colours, clip) kept and brought back: saveState()
    // pushes it, restoreState() pops the last one pushed.
    void saveState();
    void restoreState();
    // Narrows the clip to the rectangle: nothing is drawn outside it until the state it was set
    // in is restored.
    void intersectClip(const QRect& rect);

    // The whole file: placeable header, metafile header, the records, the end record.
    QByteArray bytes() const;

    int objectCount() const { return static_cast<int>(objects_.size()); }

private:
    void record(uint16_t function, const std::vector<uint16_t>& words);
    int allocateObject();

    int width_;
    int height_;
    std::vector<uint16_t> records_;    // all records after the header, as 16-bit words
    uint32_t maxRecordWords_ = 3;
    std::vector<bool> objects_;        // slots in use
};

// The rgb 0xRRGGBB as a WMF colour reference (red in the low byte).
uint32_t WmfColorRef(uint32_t rgb);
