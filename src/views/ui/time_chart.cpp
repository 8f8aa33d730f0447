#include "views/ui/time_chart.h"

#include "views/ui/rgb_color.h"

#include "widgets/design_font.h"
#include "report/date_time.h"
#include "views/axis_ticks.h"
#include "views/series_decimation.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTickLength = 4;
constexpr int kLabelArea = 24;       // width of the left labels, height of the bottom labels
constexpr int kSideMarginPercent = 3;
const QColor kPanelColour(0xF0, 0xF0, 0xF0);

QFont chartFont()
{
    return DesignFont(9);
}

// The range the plot maps: the axis range, widened when it has no width.
AxisRange plotRange(const ChartAxis& axis)
{
    return AutomaticAxisRange(axis.kind(), axis.minimum(), axis.maximum());
}

// Keeps mapped coordinates within what the painter handles well; the plot clips the rest.
double clampCoordinate(double v)
{
    return std::clamp(v, -1.0e6, 1.0e6);
}

}  // namespace

struct TimeChart::Layout {
    QRect plot;
    QRectF title;
    double lineHeight = 0;
    QSizeF size;
};

TimeChart::TimeChart(QWidget* parent) : QWidget(parent), timeSeparator_(SystemDateTimeSeparators().time)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    top_.setLabels(false);
    top_.setTicks(false);
    top_.setGrid(false);
    right_.setVisible(false);
    updateDataRanges();
}

TimeChart::~TimeChart() = default;

void TimeChart::setTitleVisible(bool visible)
{
    titleVisible_ = visible;
    update();
}

void TimeChart::setTitleText(const QString& text)
{
    title_ = text;
    update();
}

void TimeChart::setMarginTop(int percent)
{
    marginTop_ = percent;
    update();
}

void TimeChart::setMarginBottom(int percent)
{
    marginBottom_ = percent;
    update();
}

void TimeChart::setTimeSeparator(QChar separator)
{
    timeSeparator_ = separator;
    update();
}

void TimeChart::setSeries(std::shared_ptr<const ReportTable> table, ChartSeries::Which which)
{
    table_ = std::move(table);
    which_ = which;
    thinned_ = Thinned{};
    updateDataRanges();
    update();
}

void TimeChart::clearSeries()
{
    setSeries(nullptr, which_);
}

std::size_t TimeChart::seriesCount() const
{
    return table_ ? table_->rows().size() : 0;
}

std::optional<ChartSeries> TimeChart::series() const
{
    if (!table_)
        return std::nullopt;
    return ChartSeries(table_->rows(), which_);
}

void TimeChart::updateDataRanges()
{
    minX_ = maxX_ = minY_ = maxY_ = 0;
    const std::optional<ChartSeries> s = series();
    if (!s || s->size() == 0) {
        bottom_.clearDataRange();
        left_.clearDataRange();
        return;
    }
    minX_ = maxX_ = s->x(0);
    minY_ = maxY_ = s->y(0);
    for (std::size_t i = 1; i < s->size(); ++i) {
        const double x = s->x(i), y = s->y(i);
        minX_ = std::min(minX_, x);
        maxX_ = std::max(maxX_, x);
        minY_ = std::min(minY_, y);
        maxY_ = std::max(maxY_, y);
    }
    bottom_.setDataRange(minX_, maxX_);
    left_.setDataRange(minY_, maxY_);
}

TimeChart::Layout TimeChart::layoutFor(QSizeF size) const
{
    Layout l;
    l.size = size;
    const QFontMetricsF fm(chartFont());
    l.lineHeight = fm.height();
    const double w = size.width(), h = size.height();
    double top = std::floor(h * marginTop_ / 100.0);
    double bottom = h - std::floor(h * marginBottom_ / 100.0);
    double left = std::floor(w * kSideMarginPercent / 100.0);
    double right = w - std::floor(w * kSideMarginPercent / 100.0);

    if (titleVisible_ && !title_.isEmpty()) {
        l.title = QRectF(left, top, right - left, l.lineHeight + 4);
        top += l.lineHeight + 6;
    }
    if (top_.visible() && top_.labels())
        top += kLabelArea;
    if (top_.visible() && top_.ticks())
        top += kTickLength;
    if (left_.visible()) {
        if (!left_.title().isEmpty())
            left += l.lineHeight + 4;
        if (left_.labels())
            left += kLabelArea + 2;
        if (left_.ticks())
            left += kTickLength;
    }
    if (right_.visible()) {
        if (right_.labels())
            right -= kLabelArea + 2;
        if (right_.ticks())
            right -= kTickLength;
    }
    if (bottom_.visible()) {
        if (bottom_.ticks())
            bottom -= kTickLength;
        if (bottom_.labels())
            bottom -= kLabelArea + 1;
        if (!bottom_.title().isEmpty())
            bottom -= l.lineHeight + 2;
    }
    const int x0 = int(std::lround(left)), y0 = int(std::lround(top));
    l.plot = QRect(x0, y0, std::max(2, int(std::lround(right)) - x0), std::max(2, int(std::lround(bottom)) - y0));
    return l;
}

QRect TimeChart::plotRectFor(QSize size) const
{
    return layoutFor(QSizeF(size)).plot;
}

double TimeChart::xAt(double px, const QRect& plot) const
{
    const AxisRange r = plotRange(bottom_);
    return r.minimum + (px - plot.left()) / std::max(1, plot.width() - 1) * (r.maximum - r.minimum);
}

double TimeChart::yAt(double py, const QRect& plot) const
{
    const AxisRange r = plotRange(left_);
    return r.minimum + (plot.bottom() - py) / std::max(1, plot.height() - 1) * (r.maximum - r.minimum);
}

void TimeChart::render(QPainter& painter, const QRect& target, int printResolution)
{
    if (target.isEmpty())
        return;
    QSizeF logical = target.size();
    if (printResolution != 0 && !size().isEmpty()) {
        // The chart is laid out as large as the print resolution makes its screen size, but in
        // the target's shape, so one scale serves both directions and texts keep their
        // proportions: the layout's area is the screen area times the factor squared.
        const double factor = std::max(0.1, 1.0 - printResolution / 100.0);
        const QSizeF laidOut = QSizeF(size()) * factor;
        const double scale = std::sqrt(double(target.width()) * target.height() / (laidOut.width() * laidOut.height()));
        logical = QSizeF(target.width() / scale, target.height() / scale);
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / logical.width(), target.height() / logical.height());
    draw(painter, logical);
    painter.restore();
}

void TimeChart::draw(QPainter& painter, QSizeF size)
{
    const Layout l = layoutFor(size);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0, 0), size), kPanelColour);
    painter.setFont(chartFont());

    if (!l.title.isNull()) {
        painter.setPen(Qt::black);
        painter.drawText(l.title, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, title_);
    }

    // Back wall, then the series over it, then axes and the wall's frame.
    painter.fillRect(l.plot, Qt::white);
    for (ChartAxis* axis : {&left_, &bottom_, &top_, &right_})
        if (axis->visible() && axis->grid())
            drawAxis(painter, *axis, l, AxisPart::Grid);
    drawSeries(painter, l.plot);

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(l.plot.adjusted(0, 0, -1, -1));
    for (ChartAxis* axis : {&left_, &bottom_, &top_, &right_})
        if (axis->visible())
            drawAxis(painter, *axis, l, AxisPart::LineTicksLabels);

    painter.save();
    emit afterDraw(painter, l.plot);
    painter.restore();
}

void TimeChart::drawAxis(QPainter& painter, ChartAxis& axis, const Layout& l, AxisPart part)
{
    // The grid goes under the series; line, ticks, labels and title over it.
    const bool grid = part == AxisPart::Grid && axis.grid();
    const bool line = part != AxisPart::Grid && axis.line();
    const bool ticksOn = part != AxisPart::Grid && axis.ticks();
    const bool labels = part != AxisPart::Grid && axis.labels();
    const QRect& plot = l.plot;
    const bool horizontal = axis.isHorizontal();
    const AxisRange range = plotRange(axis);
    const double span = range.maximum - range.minimum;
    const QFontMetricsF fm(chartFont());

    // Line: the wall's frame already runs along every side; a visible axis draws it again in
    // its own pen so a printed chart shows it even where the frame is thin.
    painter.setPen(QPen(Qt::black, 1));
    if (line) {
        switch (axis.position()) {
        case ChartAxis::Position::Left: painter.drawLine(plot.topLeft(), plot.bottomLeft()); break;
        case ChartAxis::Position::Right: painter.drawLine(plot.topRight(), plot.bottomRight()); break;
        case ChartAxis::Position::Top: painter.drawLine(plot.topLeft(), plot.topRight()); break;
        case ChartAxis::Position::Bottom: painter.drawLine(plot.bottomLeft(), plot.bottomRight()); break;
        }
    }

    std::vector<double> ticks;
    if (ticksOn || grid || labels) {
        if (axis.kind() == ChartAxis::Kind::DateTime) {
            const double labelWidth = fm.horizontalAdvance(QStringLiteral("00.00.00")) + 24;
            ticks = DateTimeAxisTicks(range.minimum, range.maximum,
                                      horizontal ? int(plot.width() / labelWidth) : int(plot.height() / (2.5 * l.lineHeight)));
        } else {
            const double labelWidth = fm.horizontalAdvance(QStringLiteral("-000,00")) + 12;
            ticks = ValueAxisTicks(range.minimum, range.maximum,
                                   horizontal ? int(plot.width() / labelWidth) : int(plot.height() / (2 * l.lineHeight)) + 1);
        }
    }
    const auto position = [&](double v) {
        return horizontal ? plot.left() + (v - range.minimum) / span * (plot.width() - 1)
                          : plot.bottom() - (v - range.minimum) / span * (plot.height() - 1);
    };

    for (const double v : ticks) {
        const int p = int(std::lround(clampCoordinate(position(v))));
        if (grid) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            if (horizontal)
                painter.drawLine(p, plot.top() + 1, p, plot.bottom() - 1);
            else
                painter.drawLine(plot.left() + 1, p, plot.right() - 1, p);
        }
        painter.setPen(QPen(Qt::black, 1));
        if (ticksOn) {
            switch (axis.position()) {
            case ChartAxis::Position::Left: painter.drawLine(plot.left() - kTickLength, p, plot.left() - 1, p); break;
            case ChartAxis::Position::Right: painter.drawLine(plot.right() + 1, p, plot.right() + kTickLength, p); break;
            case ChartAxis::Position::Top: painter.drawLine(p, plot.top() - kTickLength, p, plot.top() - 1); break;
            case ChartAxis::Position::Bottom: painter.drawLine(p, plot.bottom() + 1, p, plot.bottom() + kTickLength); break;
            }
        }
        if (!labels)
            continue;
        QString text = axis.kind() == ChartAxis::Kind::DateTime ? DateTimeLabelText(v, timeSeparator_) : ValueLabelText(v);
        emit getAxisLabel(&axis, text);
        if (text.isEmpty())
            continue;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const double gap = (axis.ticks() ? kTickLength : 0) + 2;
        QRectF box;
        int flags = 0;
        switch (axis.position()) {
        case ChartAxis::Position::Left:
        case ChartAxis::Position::Right: {
            // A label at the plot's edge stays whole inside the chart: where two charts meet,
            // their end labels would otherwise be cut in half.
            const double h = fm.boundingRect(QRectF(0, 0, 200, 200), 0, text).height();
            const double y = std::clamp(p - h / 2, 0.0, std::max(0.0, l.size.height() - h));
            const bool left = axis.position() == ChartAxis::Position::Left;
            box = QRectF(left ? plot.left() - gap - 200 : plot.right() + gap, y, 200, h);
            flags = (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            break;
        }
        case ChartAxis::Position::Top:
            box = QRectF(p - 100, plot.top() - gap - 200, 200, 200);
            flags = Qt::AlignHCenter | Qt::AlignBottom;
            break;
        case ChartAxis::Position::Bottom:
            box = QRectF(p - 100, plot.bottom() + gap - 1, 200, 200);
            flags = Qt::AlignHCenter | Qt::AlignTop;
            break;
        }
        painter.drawText(box, flags, text);
    }

    if (part == AxisPart::Grid || axis.title().isEmpty())
        return;
    painter.setPen(Qt::black);
    switch (axis.position()) {
    case ChartAxis::Position::Left: {
        painter.save();
        const double x = plot.left() - (axis.ticks() ? kTickLength : 0) - (axis.labels() ? kLabelArea + 2 : 0);
        painter.translate(x - l.lineHeight - 2, plot.top() + plot.height() / 2.0);
        painter.rotate(-90);
        painter.drawText(QRectF(-plot.height() / 2.0 - 200, 0, plot.height() + 400, l.lineHeight + 2),
                         Qt::AlignCenter | Qt::TextSingleLine, axis.title());
        painter.restore();
        break;
    }
    case ChartAxis::Position::Bottom: {
        const double y = plot.bottom() + 1 + (axis.ticks() ? kTickLength : 0) + (axis.labels() ? kLabelArea + 1 : 0);
        painter.drawText(QRectF(plot.left() - 200, y, plot.width() + 400, l.lineHeight + 2),
                         Qt::AlignCenter | Qt::TextSingleLine, axis.title());
        break;
    }
    case ChartAxis::Position::Top:
    case ChartAxis::Position::Right:
        break;  // the program never titles these
    }
}

void TimeChart::drawSeries(QPainter& painter, const QRect& plot) const
{
    const std::optional<ChartSeries> s = series();
    if (!s || s->size() == 0)
        return;
    const AxisRange xr = plotRange(bottom_);
    const AxisRange yr = plotRange(left_);
    // One column per device pixel of the plot's width.
    const double deviceScale = std::hypot(painter.worldTransform().m11(), painter.worldTransform().m12());
    const int columns = std::max(1, int(std::ceil(plot.width() * deviceScale)));
    if (thinned_.table != table_.get() || thinned_.which != which_ || thinned_.xMin != xr.minimum ||
        thinned_.xMax != xr.maximum || thinned_.columns != columns) {
        thinned_.table = table_.get();
        thinned_.which = which_;
        thinned_.xMin = xr.minimum;
        thinned_.xMax = xr.maximum;
        thinned_.columns = columns;
        thinned_.indices = DecimateSeries(*s, xr.minimum, xr.maximum, columns);
    }
    const std::vector<std::size_t>& kept = thinned_.indices;
    if (kept.empty())
        return;

    const double sx = (plot.width() - 1) / (xr.maximum - xr.minimum);
    const double sy = (plot.height() - 1) / (yr.maximum - yr.minimum);
    const auto point = [&](std::size_t i) {
        return QPointF(clampCoordinate(plot.left() + (s->x(i) - xr.minimum) * sx),
                       clampCoordinate(plot.bottom() - (s->y(i) - yr.minimum) * sy));
    };

    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1), Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    // Runs of segments of one colour go out as one polyline; a segment takes the colour of
    // the point it ends at.
    QPolygonF run;
    Rgb runColour = 0;
    const auto flush = [&] {
        if (run.size() >= 2) {
            painter.setPen(QPen(ColorOf(runColour), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            painter.drawPolyline(run);
        }
    };
    QPointF previous = point(kept.front());
    // Points that all fall in one pixel column (a single reading, or several in one minute)
    // make at most a one-pixel tick, which a divider line may cover: they get a dot, or a bar
    // from the lowest to the highest, of the last one's colour, three line widths wide.
    const QTransform& device = painter.worldTransform();
    const int firstColumn = device.map(previous).toPoint().x();
    if (std::all_of(kept.begin() + 1, kept.end(), [&](std::size_t i) { return device.map(point(i)).toPoint().x() == firstColumn; })) {
        double top = previous.y(), bottom = previous.y();
        for (const std::size_t i : kept) {
            top = std::min(top, point(i).y());
            bottom = std::max(bottom, point(i).y());
        }
        painter.fillRect(QRectF(QPointF(previous.x() - 1.5, top - 1.5), QSizeF(3, bottom - top + 3)),
                         ColorOf(s->colour(kept.back())));
        painter.restore();
        return;
    }
    for (std::size_t k = 1; k < kept.size(); ++k) {
        const std::size_t i = kept[k];
        const QPointF p = point(i);
        const Rgb colour = s->colour(i);
        if (run.isEmpty() || colour != runColour) {
            flush();
            run.clear();
            run << previous;
            runColour = colour;
        }
        run << p;
        previous = p;
    }
    flush();
    painter.restore();
}

void TimeChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter, rect(), 0);
    if (drag_ == Drag::Zoom && dragNow_ != dragStart_) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(dragStart_, dragNow_).normalized());
    }
}

void TimeChart::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (drag_ != Drag::None || !plotRect().contains(at)) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        drag_ = Drag::Zoom;
    else if (event->button() == Qt::RightButton)
        drag_ = Drag::Pan;
    else
        return;
    dragStart_ = dragNow_ = at;
    event->accept();
}

void TimeChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::Zoom) {
        dragNow_ = at;
        update();
    } else if (drag_ == Drag::Pan && at != dragNow_) {
        const QRect plot = plotRect();
        // The range moves with the pointer: dragging right shows earlier times.
        const double dx = xAt(dragNow_.x(), plot) - xAt(at.x(), plot);
        const double dy = yAt(dragNow_.y(), plot) - yAt(at.y(), plot);
        const AxisRange xr = plotRange(bottom_), yr = plotRange(left_);
        rememberValueAxis();
        bottom_.setMinMax(xr.minimum + dx, xr.maximum + dx);
        left_.setMinMax(yr.minimum + dy, yr.maximum + dy);
        dragNow_ = at;
        update();
        emit scrolled();
    }
}

void TimeChart::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = drag_;
    const bool ours = (drag == Drag::Zoom && event->button() == Qt::LeftButton) ||
                      (drag == Drag::Pan && event->button() == Qt::RightButton);
    if (!ours) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    drag_ = Drag::None;
    if (drag == Drag::Pan)
        return;
    const QPoint end = event->position().toPoint();
    const int dx = end.x() - dragStart_.x(), dy = end.y() - dragStart_.y();
    update();
    constexpr int kMinimumDrag = 3;  // a click, not a drag
    if (dx >= kMinimumDrag && dy >= kMinimumDrag) {
        const QRect plot = plotRect();
        const QRect box = QRect(dragStart_, end).intersected(plot);
        const double x0 = xAt(box.left(), plot), x1 = xAt(box.right(), plot);
        const double y0 = yAt(box.bottom(), plot), y1 = yAt(box.top(), plot);
        rememberValueAxis();
        bottom_.setMinMax(x0, x1);
        left_.setMinMax(y0, y1);
        emit zoomed();
    } else if (dx <= -kMinimumDrag || dy <= -kMinimumDrag) {
        // The time axis goes back to all points; the value axis to what it was before the
        // zoom (the range the program set, or automatic).
        bottom_.setAutomatic(true);
        if (valueAxisBeforeZoom_) {
            if (valueAxisBeforeZoom_->automatic)
                left_.setAutomatic(true);
            else
                left_.setMinMax(valueAxisBeforeZoom_->minimum, valueAxisBeforeZoom_->maximum);
            valueAxisBeforeZoom_.reset();
        }
        emit undoneZoom();
    }
}

void TimeChart::rememberValueAxis()
{
    if (!valueAxisBeforeZoom_)
        valueAxisBeforeZoom_ = ValueAxisState{left_.automatic(), left_.minimum(), left_.maximum()};
}

void TimeChart::keepValueAxisForUndo()
{
    valueAxisBeforeZoom_.reset();
}
