#include "views/ui/graph_charts.h"

#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "views/chart_axis.h"
#include "views/graph_settings.h"
#include "views/part_dividers.h"
#include "views/ui/print_job.h"
#include "views/ui/time_chart.h"
#include "views/ui/wmf_paint_device.h"

#include <QBitmap>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>

#include <algorithm>

namespace {

void setUpChart(TimeChart& chart, const QString& seriesTitle, const QString& leftTitle)
{
    chart.setSeriesTitle(seriesTitle);
    chart.bottomAxis().setTitle(QStringLiteral("Время / Дата"));
    chart.leftAxis().setTitle(leftTitle);
    chart.rightAxis().setMinMax(-50, 100);
    chart.rightAxis().setVisible(false);
}

// Minimum first, then maximum; an axis that refuses the maximum stops the settings there.
void setRange(ChartAxis& axis, const AxisRangeChoice& choice)
{
    if (choice.minimum)
        axis.setMinimum(*choice.minimum);
    if (choice.maximum)
        axis.setMaximum(*choice.maximum);
}

QFile& openForWriting(QFile& file)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ReportFileError::cannotCreate(QFileInfo(file.fileName()).absoluteFilePath(), file.errorString());
    return file;
}

// The chart drawn as on screen, at its size.
void saveChartBitmap(TimeChart& chart, const QString& fileName)
{
    const QSize size = chart.size().expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart.render(painter, QRect(QPoint(0, 0), size), 0);
    }
    QFile file(fileName);
    QImageWriter writer(&openForWriting(file), "BMP");
    if (!writer.write(image))
        throw ReportFileError::cannotCreate(QFileInfo(fileName).absoluteFilePath(), writer.errorString());
}

void saveChartMetafile(TimeChart& chart, const QString& fileName)
{
    const QSize size = chart.size().expandedTo(QSize(1, 1));
    WmfPaintDevice device(size.width(), size.height());
    {
        QPainter painter(&device);
        chart.render(painter, QRect(QPoint(0, 0), size), 0);
    }
    QFile file(fileName);
    const QByteArray bytes = device.bytes();
    if (openForWriting(file).write(bytes) != bytes.size())
        throw ReportFileError::cannotCreate(QFileInfo(fileName).absoluteFilePath(), file.errorString());
}

// The logo without its background: the colour of its lower-left pixel is not drawn.
QPixmap transparentLogo(const QPixmap& logo)
{
    if (logo.isNull())
        return logo;
    const QImage image = logo.toImage();
    QPixmap out = logo;
    out.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
    return out;
}

}  // namespace

QString HumidityAxisTitle(int displayMode)
{
    switch (displayMode) {
    case 1:
        return QStringLiteral("Температура точки росы, °C");
    case 2:
        return QStringLiteral("Абсолютная влажность, г/куб.м");
    default:
        return QStringLiteral("Относительная влажность, %");
    }
}

void SetUpHumidityChart(TimeChart& chart)
{
    setUpChart(chart, QStringLiteral("RHSerie"), HumidityAxisTitle(0));
    chart.setTitleVisible(true);
    chart.setMarginBottom(0);
    chart.bottomAxis().setVisible(false);
    chart.topAxis().setMinMax(0, 25);
}

void SetUpTemperatureChart(TimeChart& chart)
{
    setUpChart(chart, QStringLiteral("TSerie"), QStringLiteral("Температура, °C"));
    chart.setTitleVisible(false);
    chart.setMarginTop(0);
    chart.bottomAxis().setGrid(false);
    chart.topAxis().setVisible(false);
}

void ShowTableOnCharts(TimeChart& humidity, TimeChart& temperature, std::shared_ptr<const ReportTable> table)
{
    const QString title = table ? table->title() : QString();
    humidity.setSeries(table, ChartSeries::Humidity);
    temperature.setSeries(std::move(table), ChartSeries::Temperature);
    humidity.setTitleText(title);
    temperature.setTitleText(title);
}

void RewriteAxisLabel(const TimeChart& chart, GraphChart which, int displayMode, const ChartAxis* axis, QString& text)
{
    if (axis == &chart.bottomAxis())
        text = TimeAxisLabel(text);
    else if (axis == &chart.leftAxis())
        text = ValueAxisLabel(which, displayMode, text);
}

void DrawPartDividers(bool enabled, int parts, QPainter& painter, const QRect& plot)
{
    painter.setPen(QPen(QColor(0x00, 0x80, 0x00), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    for (const int x : PartDividerPositions(enabled, parts, plot.left(), plot.width()))
        painter.drawLine(x, plot.top(), x, plot.bottom());
}

ChartAlign ApplyGraphAxisSettings(TimeChart& chart1, TimeChart& chart2, const GraphAxisSettings& settings,
                                  int displayMode, const std::function<void(GraphChart, bool)>& fieldsEnabled)
{
    if (fieldsEnabled) {
        fieldsEnabled(GraphChart::Humidity, false);
        fieldsEnabled(GraphChart::Temperature, false);
    }
    chart1.setVisible(true);
    chart2.setVisible(true);
    for (TimeChart* chart : {&chart1, &chart2}) {
        // From this wide range any limits within it can be set one after the other.
        ChartAxis& left = chart->leftAxis();
        left.setAutomatic(false);
        left.setMinMax(-10000, 10000);
        // The range set from here on is the one undoing a later zoom returns to.
        chart->keepValueAxisForUndo();
    }
    chart1.setTitleVisible(true);
    chart2.setTitleVisible(false);

    // The charts show what was set, also when an axis refuses its range half-way.
    struct Repaint {
        TimeChart& chart1;
        TimeChart& chart2;
        ~Repaint()
        {
            chart1.update();
            chart2.update();
        }
    } repaint{chart1, chart2};
    const auto applyAxis = [&](TimeChart& chart, GraphChart which, const AxisRangeChoice& choice) {
        if (choice.hidden)
            chart.setVisible(false);
        if (fieldsEnabled)
            fieldsEnabled(which, choice.manualFieldsEnabled);
        setRange(chart.leftAxis(), choice);
    };
    applyAxis(chart1, GraphChart::Humidity,
              HumidityAxisRange(settings.humidityMode, chart1.seriesMinY(), chart1.seriesMaxY(), displayMode,
                                settings.humidityMinimum, settings.humidityMaximum));
    applyAxis(chart2, GraphChart::Temperature,
              TemperatureAxisRange(settings.temperatureMode, chart2.seriesMinY(), chart2.seriesMaxY(),
                                   settings.temperatureMinimum, settings.temperatureMaximum));

    const bool show1 = !chart1.isHidden();
    const bool show2 = !chart2.isHidden();
    if (show1 && show2) {
        chart1.bottomAxis().setVisible(false);
        chart2.bottomAxis().setVisible(true);
        chart1.setMarginBottom(0);
        chart2.setMarginTop(0);
        return ChartAlign::Top;
    }
    if (show1) {
        chart1.setMarginBottom(4);
        chart2.setMarginTop(4);
        chart1.bottomAxis().setVisible(true);
        chart2.bottomAxis().setVisible(false);
    } else if (show2) {
        chart1.setMarginBottom(4);
        chart2.setMarginTop(4);
        chart2.bottomAxis().setVisible(true);
        chart1.bottomAxis().setVisible(false);
        chart2.setTitleVisible(true);
        chart1.setTitleVisible(false);
    }
    return ChartAlign::Client;
}

int HumidityStripHeight(int panelHeight)
{
    // Integer division toward zero, as the page always did.
    return panelHeight / 2 - 16;
}

void LayOutCharts(TimeChart& chart1, TimeChart& chart2, const QRect& area, ChartAlign align, int chart1Height)
{
    QRect rest = area;
    // The humidity chart first, as the classic alignment does: the top-aligned chart takes its
    // strip, the filling one what is left.
    if (!chart1.isHidden()) {
        if (align == ChartAlign::Top) {
            const int height = std::clamp(chart1Height, 0, std::max(0, rest.height()));
            chart1.setGeometry(rest.left(), rest.top(), rest.width(), height);
            rest.setTop(rest.top() + height);
        } else {
            chart1.setGeometry(rest);
        }
    }
    if (!chart2.isHidden())
        chart2.setGeometry(rest);
}

void SaveChartPictures(TimeChart& humidity, TimeChart& temperature, const QString& typedName, bool metafile)
{
    const QString first = ChangeFileExt(typedName, metafile ? QStringLiteral(".wmf1") : QStringLiteral(".bmp1"));
    const QString second = ChangeFileExt(first, metafile ? QStringLiteral(".wmf2") : QStringLiteral(".bmp2"));
    const auto save = metafile ? &saveChartMetafile : &saveChartBitmap;
    save(humidity, first);
    save(temperature, second);
}

void PrintCharts(QPrinter& printer, TimeChart& chart1, TimeChart& chart2, const QPixmap& logo)
{
    QPainter painter;
    BeginPrintJob(painter, printer);
    // The page's drawing area in printer pixels.
    const QRect page(0, 0, printer.width(), printer.height());
    const int L = page.left(), T = page.top(), R = page.right() + 1, B = page.bottom() + 1;
    const int top = T + 200;
    const int half = (B - top) / 2;
    // Both charts, visible on screen or not, as they were drawn last; laid out one and a half
    // times their screen size so texts and lines keep two thirds of their screen proportion.
    chart1.render(painter, QRect(QPoint(L, top), QPoint(R - 1, half + 200 - 1)), -50);
    chart2.render(painter, QRect(QPoint(L, half + 200), QPoint(R - 1, 2 * half + 200 - 1)), -50);
    // The logo last, stretched, over whatever lies there.
    painter.drawPixmap(QRect(QPoint(100, 100), QPoint(R / 10 + 100 - 1, (2 * half + 200) / 20 + 100 - 1)),
                       transparentLogo(logo));
    painter.end();
}
