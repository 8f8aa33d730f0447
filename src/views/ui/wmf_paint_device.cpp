#include "views/ui/wmf_paint_device.h"

#include "views/ui/rgb_color.h"

#include <QFontInfo>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>

#include <cmath>
#include <optional>

class WmfPaintEngine : public QPaintEngine {
public:
    WmfPaintEngine(int width, int height)
        // Primitives arrive untransformed and paths whole; both are mapped and flattened here.
        : QPaintEngine(QPaintEngine::PrimitiveTransform | QPaintEngine::PainterPaths), writer_(width, height)
    {
    }

    bool begin(QPaintDevice*) override
    {
        writer_.setBackgroundTransparent();
        writer_.setTextAlignBaseline();
        return true;
    }
    bool end() override
    {
        flushText();
        if (clipped_)
            writer_.restoreState();
        clipped_ = false;
        return true;
    }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override
    {
        const QPaintEngine::DirtyFlags flags = state.state();
        if (flags & DirtyTransform)
            transform_ = state.transform();
        if (flags & DirtyPen)
            pen_ = state.pen();
        if (flags & DirtyBrush)
            brush_ = state.brush();
        if (flags & DirtyFont)
            font_ = state.font();
        if (flags & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
            updateClip();
    }

    // The painter's clip (the charts clip their series to the plot area) as the metafile's:
    // the state before any clip is saved and brought back whenever the clip changes, and the
    // new clip's bounding rectangle narrows it. Every reader then clips as the screen does.
    void updateClip()
    {
        flushText();
        QPainter* p = painter();
        std::optional<QRect> clip;
        if (p && p->hasClipping())
            clip = p->transform().map(p->clipPath()).boundingRect().toAlignedRect();
        if (clip == currentClip_)
            return;
        if (clipped_)
            writer_.restoreState();
        clipped_ = false;
        currentClip_ = clip;
        if (clip) {
            writer_.saveState();
            writer_.intersectClip(*clip);
            clipped_ = true;
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        flushText();
        QList<QPoint> mapped = map(points, count);
        if (mode == PolylineMode) {
            if (selectPen())
                writer_.polyline(mapped);
            return;
        }
        const bool stroke = selectPen();
        const bool fill = selectBrush();
        if (!stroke && !fill)
            return;
        if (!stroke)
            selectNullPen();
        if (!fill)
            selectNullBrush();
        writer_.polygon(mapped);
    }

    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f << QPointF(points[i]);
        drawPolygon(f.constData(), count, mode);
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QPointF ends[2] = {lines[i].p1(), lines[i].p2()};
            drawPolygon(ends, 2, PolylineMode);
        }
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF& r = rects[i];
            const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
            drawPolygon(corners, 4, OddEvenMode);
        }
    }

    void drawPath(const QPainterPath& path) override
    {
        const QList<QPolygonF> parts = path.toSubpathPolygons();
        for (const QPolygonF& part : parts) {
            const bool closed = part.size() > 2 && part.isClosed();
            drawPolygon(part.constData(), int(part.size()), closed ? OddEvenMode : PolylineMode);
        }
    }

    // Qt hands a line of text over in runs of one script each ("Термогигрометр №", "00A3",
    // " - …"), placed with its own font metrics. A reader with other metrics would draw the runs
    // over one another, so the runs of a line are joined and written as one text record, which
    // the reader lays out itself.
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QString text = item.text();
        if (text.isEmpty())
            return;
        const QFont font = item.font();
        const QPointF start = transform_.map(p);
        const QPointF direction = transform_.map(QPointF(1, 0)) - transform_.map(QPointF(0, 0));
        if (pending_ && pending_->font == font && pending_->color == pen_.color() && pending_->transform == transform_) {
            // The next run of the same line starts where the pending one ends.
            const QPointF expected = pending_->end;
            if (QLineF(expected, start).length() <= 1.5) {
                pending_->text += text;
                pending_->end = start + direction * item.width();
                return;
            }
        }
        flushText();
        pending_ = PendingText{start, start + direction * item.width(), text, font, pen_.color(), transform_};
    }

    void flushText()
    {
        if (!pending_)
            return;
        const PendingText t = *pending_;
        pending_.reset();
        const int height = qRound(QFontInfo(t.font).pixelSize() * std::sqrt(std::abs(t.transform.determinant())));
        const int weight = t.font.bold() ? 700 : 400;
        // A rotated painter writes rotated text: the font's escapement is the baseline's angle,
        // counter-clockwise on the page in tenths of a degree (the painter's angles turn
        // clockwise, its y axis pointing down).
        const double degrees = std::atan2(t.transform.m12(), t.transform.m11()) * 180.0 / M_PI;
        const int escapement = (3600 - qRound(degrees * 10) % 3600) % 3600;
        const int index = writer_.createFont(height, weight, t.font.italic(), t.font.family(), escapement);
        writer_.selectObject(index);
        writer_.setTextColor(RgbOf(t.color));
        writer_.textOut(t.start.toPoint(), t.text);
        writer_.deleteObject(index);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override
    {
        // Charts hold no pictures; a picture has no place in these metafiles.
    }

    QByteArray bytes() const { return writer_.bytes(); }

private:
    double scale() const { return std::sqrt(std::abs(transform_.determinant())); }

    QList<QPoint> map(const QPointF* points, int count) const
    {
        QList<QPoint> out;
        out.reserve(count);
        for (int i = 0; i < count; ++i)
            out << transform_.map(points[i]).toPoint();
        return out;
    }

    // Selects a pen like the painter's; false when the painter draws no outline.
    bool selectPen()
    {
        if (pen_.style() == Qt::NoPen || pen_.brush().style() == Qt::NoBrush)
            return false;
        WmfWriter::PenStyle style = WmfWriter::PenStyle::Solid;
        switch (pen_.style()) {
        case Qt::DashLine:
            style = WmfWriter::PenStyle::Dash;
            break;
        case Qt::DotLine:
            style = WmfWriter::PenStyle::Dot;
            break;
        case Qt::DashDotLine:
            style = WmfWriter::PenStyle::DashDot;
            break;
        case Qt::DashDotDotLine:
            style = WmfWriter::PenStyle::DashDotDot;
            break;
        default:
            break;
        }
        const int width = pen_.isCosmetic() || pen_.widthF() == 0 ? 1 : std::max(1, qRound(pen_.widthF() * scale()));
        replace(penObject_, writer_.createPen(style, width, RgbOf(pen_.color())));
        return true;
    }
    void selectNullPen() { replace(penObject_, writer_.createPen(WmfWriter::PenStyle::Null, 0, 0)); }

    bool selectBrush()
    {
        if (brush_.style() == Qt::NoBrush)
            return false;
        replace(brushObject_, writer_.createBrush(WmfWriter::BrushStyle::Solid, RgbOf(brush_.color())));
        return true;
    }
    void selectNullBrush() { replace(brushObject_, writer_.createBrush(WmfWriter::BrushStyle::Null, 0)); }

    // Selects the new object and deletes the one it replaces, so the table stays small.
    void replace(int& slot, int object)
    {
        writer_.selectObject(object);
        if (slot >= 0)
            writer_.deleteObject(slot);
        slot = object;
    }

    WmfWriter writer_;
    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    int penObject_ = -1;
    int brushObject_ = -1;
    std::optional<QRect> currentClip_;
    bool clipped_ = false;

    // A line of text being joined from its runs: where it starts and where its last run ends
    // (device coordinates), and how it is drawn.
    struct PendingText {
        QPointF start;
        QPointF end;
        QString text;
        QFont font;
        QColor color;
        QTransform transform;
    };
    std::optional<PendingText> pending_;
};

WmfPaintDevice::WmfPaintDevice(int width, int height)
    : width_(width), height_(height), engine_(std::make_unique<WmfPaintEngine>(width, height))
{
}

WmfPaintDevice::~WmfPaintDevice() = default;

QPaintEngine* WmfPaintDevice::paintEngine() const
{
    return engine_.get();
}

QByteArray WmfPaintDevice::bytes() const
{
    return engine_->bytes();
}

int WmfPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return width_;
    case PdmHeight:
        return height_;
    case PdmWidthMM:
        return qRound(width_ * 25.4 / 96);
    case PdmHeightMM:
        return qRound(height_ * 25.4 / 96);
    case PdmNumColors:
        return 1 << 24;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}
