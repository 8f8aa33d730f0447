// Fuzz target: a report file of arbitrary bytes loaded, prepared and built in every display
// mode, and its table written as text, HTML and workbook.
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/report_builder.h"
#include "report/report_preparation.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include "scratch_file.h"

#include <QFile>

#include <cstdint>
#include <cstring>

namespace {
const QString& reportPath()
{
    static const QString path = ScratchFile(QStringLiteral("fuzz.dat"));
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte chooses the display mode and the interval; the rest is the report file.
    const uint8_t choice = size > 0 ? data[0] : 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), qsizetype(size > 0 ? size - 1 : 0));
    QFile file(reportPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();

    ReportState state;
    const ReportExtremes extremes = PrepareReportFile(state, reportPath(), nullptr);
    state.IntervalStart = (choice & 4) ? extremes.earliest : 0;
    state.IntervalEnd = (choice & 8) ? extremes.latest : 1e6;
    state.DeviceNumberText = QStringLiteral("00A3");
    ReportSettings settings;
    settings.displayMode = choice % 3;
    settings.colorChart = (choice & 16) != 0;
    settings.separators = DateTimeSeparators{};
    const ReportTable table = BuildReport(state, settings, false, nullptr);
    if (table.rowCount() > 20000)
        return 0;  // the writers' cost grows with the rows, not their variety
    const QString text = AsciiReportText(table);
    const QString html = HtmlReportText(table, PlatformColors{});
    const QByteArray workbook = XlsWorkbook(table);
    if (text.isEmpty() || html.isEmpty() || workbook.size() < 512)
        __builtin_trap();
    return 0;
}
