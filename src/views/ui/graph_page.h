// The graph page's panel "Panel5": the humidity chart "Chart1" over the temperature chart
// "Chart2", showing a built report. It keeps the two time axes in step when the user zooms or
// pans either chart, rewrites their labels for the display mode, draws the part dividers, lays
// the charts out (the humidity chart a strip at the top, or the whole panel when it is alone)
// and applies the graph setup.
#pragma once

#include "report/report_table.h"
#include "views/ui/graph_charts.h"
#include "widgets/bevel_panel.h"

#include <memory>
#include <utility>

class TimeChart;

class GraphPage : public BevelPanel {
    Q_OBJECT
public:
    explicit GraphPage(QWidget* parent = nullptr);

    TimeChart* humidityChart() const { return humidity_; }
    TimeChart* temperatureChart() const { return temperature_; }

    // A built report on both charts.
    void showTable(std::shared_ptr<const ReportTable> table);

    // The display mode the value labels are checked against: 0 relative humidity, 1 dew point,
    // 2 absolute humidity. titled: the humidity axis takes the mode's title as well.
    void setDisplayMode(int mode, bool titled);
    int displayMode() const { return displayMode_; }

    // The part dividers: equal strips of the plot, 2 to 99 of them, when enabled.
    void setPartDividers(bool enabled, int parts);
    bool partDividersEnabled() const { return dividers_; }
    int partCount() const { return parts_; }

    // The graph setup's "Ok": the time span, the part dividers, then the axis settings. Throws
    // AxisRangeError when an axis refuses its limits; the steps after that one are not done.
    void applySetup(const GraphSetup& setup);
    // The axis settings made into ranges, chart visibility and layout; while they are applied,
    // manualLimitsEnabled tells for each chart whether its manual limits take part. Throws
    // AxisRangeError when an axis refuses its limits; the steps after that one are not done.
    void applyAxisSettings(const GraphAxisSettings& settings);
    // Both time axes show exactly this span (day counts; the earlier of the two is the start).
    void setTimeSpan(double start, double end);
    // The first and last time of the humidity series (day counts; 0 and 0 without points).
    std::pair<double, double> seriesSpan() const;

    // How the humidity chart sits: along the top at its strip height, or filling the panel
    // (the temperature chart always fills what it leaves). Hidden charts take no room.
    void setHumidityAlign(ChartAlign align);
    ChartAlign humidityAlign() const { return align_; }
    void setHumidityHeight(int height);
    int humidityHeight() const { return height_; }
    void layOut();

    // The label a chart draws for an axis tick (also what the charts' own hook does).
    void rewriteLabel(TimeChart* chart, ChartAxis* axis, QString& text) const;

signals:
    // While axis settings are applied: whether a chart's manual limits are in use, said first
    // for both charts (false), then for each just before its range is set.
    void manualLimitsEnabled(GraphChart chart, bool enabled);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(TimeChart* leader, TimeChart* follower);
    void undoZoom();

    TimeChart* humidity_;
    TimeChart* temperature_;
    int displayMode_ = 0;
    bool dividers_ = false;
    int parts_ = 7;
    ChartAlign align_ = ChartAlign::Top;
    int height_ = 320;
};
