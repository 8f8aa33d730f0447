// kelmora-cli prepare: prepares a report file as the report selection dialog does (sort,
// remove repeated readings, write back) and prints the proposed interval.
#include "cli/cli_meter.h"
#include "cli/command.h"
#include "logging/report_file_error.h"
#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/report_preparation.h"

#include <QFileInfo>

namespace {

constexpr const char* Usage = "prepare FILE           sort and clean a report file; prints its first and last minute";

int run(const QStringList& args)
{
    if (args.size() != 1 || args.front().startsWith(QLatin1String("--"))) {
        printErr(QStringLiteral("kelmora-cli prepare: one FILE is needed\nusage: kelmora-cli %1").arg(QString::fromUtf8(Usage)));
        return ExitUsage;
    }
    const QString path = args.front();
    const QFileInfo info(path);
    if (!info.exists()) {
        printErr(QStringLiteral("kelmora-cli prepare: %1: no such file").arg(path));
        return ExitNoAnswer;
    }
    if (!info.isFile()) {
        printErr(QStringLiteral("kelmora-cli prepare: %1: not a report file").arg(path));
        return ExitNoAnswer;
    }
    ReportState state;
    try {
        QStringList notes;
        const ReportExtremes interval = PrepareReportFile(state, path, nullptr, &notes);
        for (const QString& note : notes)
            printErr(QStringLiteral("kelmora-cli prepare: %1").arg(note));
        printOut(IsoMinuteText(interval.earliest) + QLatin1Char(' ') + IsoMinuteText(interval.latest));
    } catch (const ReportFileError& e) {
        printErr(QStringLiteral("kelmora-cli prepare: %1").arg(e.text()));
        return ExitNoAnswer;
    }
    return 0;
}

const Command prepareCommand("prepare", Usage, run);

}  // namespace
