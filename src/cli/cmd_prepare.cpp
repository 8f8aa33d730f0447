// kelmora-cli prepare: prepares a report file as the report selection dialog does (sort,
// remove repeated readings, write back) and prints the proposed interval.
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "logging/report_file_error.h"
#include "logging/report_state.h"
#include "publish/published_position.h"
#include "report/date_time.h"
#include "report/report_preparation.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

constexpr const char* Usage = QT_TRANSLATE_NOOP("Cli", "prepare FILE           sort and clean a report file; prints its first and last minute");

int run(const QStringList& given)
{
    // "prepare -- FILE" for a file whose name starts with "-".
    const QStringList args = given.size() == 2 && given.front() == QLatin1String("--") ? given.mid(1) : given;
    if (args.size() != 1 || (given.size() == 1 && args.front().startsWith(QLatin1String("--")))) {
        printErr(Cli::tr("kelmora-cli prepare: one FILE is needed") + QLatin1Char('\n') + UsageLine(Usage));
        return ExitUsage;
    }
    const QString path = args.front();
    const QFileInfo info(path);
    if (!info.exists()) {
        printErr(Cli::tr("kelmora-cli prepare: %1: no such file").arg(path));
        return ExitNoAnswer;
    }
    if (!info.isFile()) {
        printErr(Cli::tr("kelmora-cli prepare: %1: not a report file").arg(path));
        return ExitNoAnswer;
    }
    ReportState state;
    try {
        QStringList notes;
        PrepareReportFile(state, path, nullptr, &notes, KeepPublishedPosition(path));
        for (const QString& note : notes)
            printErr(Cli::tr("kelmora-cli prepare: %1").arg(note));
        // The first and last record's minute (not the selection dialog's proposal, which starts
        // from a fixed date).
        std::optional<double> first, last;
        for (qsizetype i = 0; i < std::min(state.ReportCount, state.ReportData.size()); ++i)
            if (const std::optional<double> minute = TryTruncToMinute(state.ReportData[i].dt)) {
                first = first ? std::min(*first, *minute) : *minute;
                last = last ? std::max(*last, *minute) : *minute;
            }
        if (first)
            printOut(IsoMinuteText(*first) + QLatin1Char(' ') + IsoMinuteText(*last));
        else
            printErr(Cli::tr("kelmora-cli prepare: %1: the report holds no reading").arg(path));
    } catch (const ReportFileError& e) {
        printErr(Cli::tr("kelmora-cli prepare: %1").arg(e.text()));
        return ExitNoAnswer;
    }
    return 0;
}

const Command prepareCommand("prepare", Usage, run);

}  // namespace
