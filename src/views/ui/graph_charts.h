// The two charts of the graph page as the program makes them, in the window and in kelmora-cli
// alike: their design, a built table on them, the label texts and part dividers they draw, the
// axis settings of the graph setup, the layout of the pair in their panel, and the ways they
// leave the program (two pictures, one printed page).
#pragma once

#include "report/report_table.h"
#include "views/graph_settings.h"
#include "views/chart_labels.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class ChartAxis;
class QPainter;
class QPixmap;
class QPrinter;
class TimeChart;

// The design of the humidity chart (Chart1, above, with the title) and of the temperature
// chart (Chart2, below, with the time axis).
void SetUpHumidityChart(TimeChart& chart);
void SetUpTemperatureChart(TimeChart& chart);

// The humidity chart's value-axis title in a display mode (0 relative humidity, 1 dew point,
// 2 absolute humidity).
QString HumidityAxisTitle(int displayMode);

// A built table on both charts, each titled with the table's title.
void ShowTableOnCharts(TimeChart& humidity, TimeChart& temperature, std::shared_ptr<const ReportTable> table);

// The label a chart draws for an axis tick: the time axis "hh:mm" over the date, the value
// axis blank outside the range its quantity can take in the display mode.
void RewriteAxisLabel(const TimeChart& chart, GraphChart which, int displayMode, const ChartAxis* axis, QString& text);

// The part dividers: green vertical lines splitting the plot into equal strips.
void DrawPartDividers(bool enabled, int parts, QPainter& painter, const QRect& plot);

// How the humidity chart sits in the panel: a strip at the top above the temperature chart,
// or the whole panel.
enum class ChartAlign { Top, Client };

// Makes the axis settings into value-axis ranges, chart visibility, titles, margins and time
// axes: both charts visible on the widest range first (what undoing a zoom returns to), then
// each chart's mode (a chart whose axis is off is hidden). fieldsEnabled, when given, hears for
// each chart whether its manual limit fields take input, just before its range is set. Throws
// AxisRangeError when an axis refuses a maximum below its minimum; the later steps are not done.
// Returns where the humidity chart goes: the top strip when both charts show.
ChartAlign ApplyGraphAxisSettings(TimeChart& humidity, TimeChart& temperature, const GraphAxisSettings& settings,
                                  int displayMode,
                                  const std::function<void(GraphChart, bool manualFieldsEnabled)>& fieldsEnabled = {});

// The height of the humidity chart's strip in a panel of the given height.
int HumidityStripHeight(int panelHeight);

// The charts' places within area (the panel inside its frame): the humidity chart first, as a
// strip of chart1Height at the top or the whole area, the temperature chart in what is left.
// A hidden chart takes no place.
void LayOutCharts(TimeChart& humidity, TimeChart& temperature, const QRect& area, ChartAlign align, int chart1Height);

// Each chart saved at its size as a Windows bitmap (metafile false) or a placeable metafile,
// the humidity chart under typedName with the extension ".bmp1" / ".wmf1", the temperature
// chart with ".bmp2" / ".wmf2" (a typed extension is always replaced). Throws ReportFileError
// when a file cannot be written.
void SaveChartPictures(TimeChart& humidity, TimeChart& temperature, const QString& typedName, bool metafile);

// Both charts on one printed page, humidity above temperature, the logo over the top-left
// corner. Throws std::runtime_error when the printer cannot start.
void PrintCharts(QPrinter& printer, TimeChart& humidity, TimeChart& temperature, const QPixmap& logo);
