// TimeChart: the flat time chart of the graph page — one line series of a built report
// against a date-time bottom axis and a value left axis, the title, white back wall, point
// colours per segment, the zoom / undo-zoom / pan gestures, and hooks for the axis labels and
// for drawing over the finished chart. render() draws it into any rectangle: the screen, a
// printer page or a picture.
#pragma once

#include "report/report_table.h"
#include "views/chart_axis.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

class TimeChart : public QWidget {
    Q_OBJECT
public:
    explicit TimeChart(QWidget* parent = nullptr);
    ~TimeChart() override;

    // The series is plotted against the left and bottom axes; the top and right axes only frame.
    ChartAxis& leftAxis() { return left_; }
    ChartAxis& bottomAxis() { return bottom_; }
    ChartAxis& topAxis() { return top_; }
    ChartAxis& rightAxis() { return right_; }
    const ChartAxis& leftAxis() const { return left_; }
    const ChartAxis& bottomAxis() const { return bottom_; }
    const ChartAxis& topAxis() const { return top_; }
    const ChartAxis& rightAxis() const { return right_; }

    void setTitleVisible(bool visible);
    bool titleVisible() const { return titleVisible_; }
    void setTitleText(const QString& text);
    const QString& titleText() const { return title_; }
    // The series' own name (no legend shows it).
    void setSeriesTitle(const QString& title) { seriesTitle_ = title; }
    const QString& seriesTitle() const { return seriesTitle_; }

    // Space above the title and below the bottom axis, in per cent of the chart's height.
    void setMarginTop(int percent);
    void setMarginBottom(int percent);
    int marginTop() const { return marginTop_; }
    int marginBottom() const { return marginBottom_; }

    // The points: one series of a built table, seen without a copy; the table is kept alive.
    // Automatic axes take their range from it.
    void setSeries(std::shared_ptr<const ReportTable> table, ChartSeries::Which which);
    void clearSeries();
    std::size_t seriesCount() const;
    std::optional<ChartSeries> series() const;
    // Extremes of the series' x and y values; an empty series counts as 0 to 0.
    double seriesMinX() const { return minX_; }
    double seriesMaxX() const { return maxX_; }
    double seriesMinY() const { return minY_; }
    double seriesMaxY() const { return maxY_; }

    // The time separator of the bottom axis labels (the system's by default).
    void setTimeSeparator(QChar separator);

    // The plot area (inside the axes) of a chart laid out at the given size, and at the
    // widget's size.
    QRect plotRectFor(QSize size) const;
    QRect plotRect() const { return plotRectFor(size()); }

    // The value axis as it stands becomes what undoing a zoom returns it to (the program sets
    // its range); a zoom or pan begun after this keeps it until the undo.
    void keepValueAxisForUndo();

    // Draws the whole chart into target. printResolution 0 lays the chart out at the target's
    // size; a negative value lays it out in the target's shape with the area of
    // (1 - printResolution / 100) times the widget's size (-50: one and a half times its width
    // and height), and that layout is scaled into the target alike in both directions.
    void render(QPainter& painter, const QRect& target, int printResolution = 0);

signals:
    // After the user zoomed into a dragged rectangle (both axes manual).
    void zoomed();
    // After the user undid the zoom (both axes automatic again).
    void undoneZoom();
    // After each step of the user's panning.
    void scrolled();
    // After every drawing of the chart, on its painter; plot is the plot area in the
    // painter's coordinates.
    void afterDraw(QPainter& painter, const QRect& plot);
    // Before each axis label is drawn; an empty text leaves the tick without its label.
    void getAxisLabel(ChartAxis* axis, QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Layout;
    Layout layoutFor(QSizeF size) const;
    void draw(QPainter& painter, QSizeF size);
    void drawSeries(QPainter& painter, const QRect& plot) const;
    enum class AxisPart { Grid, LineTicksLabels };
    void drawAxis(QPainter& painter, ChartAxis& axis, const Layout& layout, AxisPart part);
    void updateDataRanges();
    // The value at a pixel of the plot, by the current ranges.
    double xAt(double px, const QRect& plot) const;
    double yAt(double py, const QRect& plot) const;

    ChartAxis left_{ChartAxis::Position::Left, ChartAxis::Kind::Value};
    ChartAxis bottom_{ChartAxis::Position::Bottom, ChartAxis::Kind::DateTime};
    ChartAxis top_{ChartAxis::Position::Top, ChartAxis::Kind::Value};
    ChartAxis right_{ChartAxis::Position::Right, ChartAxis::Kind::Value};
    bool titleVisible_ = true;
    QString title_;
    QString seriesTitle_;
    int marginTop_ = 4;
    int marginBottom_ = 4;
    QChar timeSeparator_;

    std::shared_ptr<const ReportTable> table_;
    ChartSeries::Which which_ = ChartSeries::Humidity;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;

    // The thinned series of the last drawing, reused while table, range and width stay.
    struct Thinned {
        const ReportTable* table = nullptr;
        ChartSeries::Which which = ChartSeries::Humidity;
        double xMin = 0, xMax = 0;
        int columns = 0;
        std::vector<std::size_t> indices;
    };
    mutable Thinned thinned_;

    // The value axis before the user's first zoom or pan since it was last set: an undo
    // returns it there (nothing kept: the axis was not zoomed and stays as it is).
    struct ValueAxisState {
        bool automatic = true;
        double minimum = 0, maximum = 0;
    };
    std::optional<ValueAxisState> valueAxisBeforeZoom_;
    void rememberValueAxis();

    enum class Drag { None, Zoom, Pan };
    Drag drag_ = Drag::None;
    QPoint dragStart_;
    QPoint dragNow_;
};
