// Painting a time chart of 1,000,000 points against one of 1,000 points: a plain repaint, and
// a repaint after each step of panning (the range moves, so the series is thinned afresh).
// Prints the ratios at the end.
#include "report/report_builder.h"
#include "views/ui/time_chart.h"

#include "minute_readings.h"
#include "recording_reporter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <map>
#include <memory>

namespace {

// Readings once a minute with a daily swing and noise, coloured by thresholds 35 and 55.
std::shared_ptr<const ReportTable> table(int count)
{
    static std::map<int, std::shared_ptr<const ReportTable>> built;
    auto& t = built[count];
    if (!t) {
        const ReportState s = MinuteReadings(count);
        ReportSettings settings;
        settings.minHumidityText = QStringLiteral("+35,0");
        settings.maxHumidityText = QStringLiteral("+55,0");
        settings.colorChart = true;
        t = std::make_shared<const ReportTable>(BuildReport(s, settings, false));
    }
    return t;
}

void paint(benchmark::State& state, bool panning)
{
    TimeChart chart;
    chart.resize(1000, 320);
    chart.setSeries(table(int(state.range(0))), ChartSeries::Humidity);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    const double min = chart.bottomAxis().minimum(), max = chart.bottomAxis().maximum();
    const double span = max - min;
    int step = 0;
    for (auto _ : state) {
        if (panning) {
            // A tenth of the span shown, moved by one pixel's worth each time.
            const double from = min + (step++ % 500) * span / 9000;
            chart.bottomAxis().setMinMax(from, from + span / 10);
        }
        QPainter painter(&image);
        chart.render(painter, image.rect(), 0);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = double(state.range(0));
}

void BM_Repaint(benchmark::State& state)
{
    paint(state, false);
}
BENCHMARK(BM_Repaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_PanRepaint(benchmark::State& state)
{
    paint(state, true);
}
BENCHMARK(BM_PanRepaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The whole span after a zoom change: every point of the series is looked at.
void BM_FullSpanRethin(benchmark::State& state)
{
    TimeChart chart;
    chart.resize(1000, 320);
    chart.setSeries(table(int(state.range(0))), ChartSeries::Humidity);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    int width = 0;
    for (auto _ : state) {
        // A one-pixel change of width makes the thinning run again over everything.
        chart.resize(1000 + (width++ % 2), 320);
        QPainter painter(&image);
        chart.render(painter, image.rect(), 0);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullSpanRethin)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* name : {"BM_Repaint", "BM_PanRepaint", "BM_FullSpanRethin"}) {
        const std::string n(name);
        std::printf("%s: 1,000,000 points %.3f ms, 1,000 points %.3f ms, ratio %.2f\n", name,
                    reporter.time(n + "/1000000"), reporter.time(n + "/1000"),
                    reporter.time(n + "/1000000") / reporter.time(n + "/1000"));
    }
    benchmark::Shutdown();
    return 0;
}
