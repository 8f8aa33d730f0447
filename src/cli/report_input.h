// What the report-reading commands of kelmora-cli (report, chart) share: the options that say
// which readings and how (--mode, --from, --to, --thresholds) and the report file loaded with
// its interval, as the window loads it.
#pragma once

#include "logging/report_state.h"
#include "platform/settings.h"
#include "report/report_builder.h"

#include <QStringList>

#include <functional>
#include <optional>

struct ReportInput {
    QString file;
    int mode = 0;  // the display mode: relative humidity, dew point, absolute humidity
    bool modeGiven = false;
    std::optional<double> from;
    std::optional<double> to;
    QStringList thresholds{QStringLiteral("+00,0"), QStringLiteral("+99,9"), QStringLiteral("-40,0"), QStringLiteral("+60,0")};
    bool thresholdsGiven = false;
    QString settings;  // --settings: the settings file to take the rest from instead of kelmora.ini
    QString format;  // one of the command's formats
    QString out;
};

// A command's name and usage line, for its messages.
struct CommandText {
    const char* name;
    const char* usage;
    // "kelmora-cli NAME: problem" and the usage line on standard error; always false.
    bool usageError(const QString& problem) const;
    // "kelmora-cli NAME: message" on standard error.
    void error(const QString& message) const;
};

enum class OptionTaken { No, Yes, Bad };

// Takes args[i] (and its value, moving i on) when it is one of the report options; Bad after a
// message when its value is wrong or missing.
OptionTaken TakeReportOption(const CommandText& command, const QStringList& args, int& i, ReportInput& input);

// A command's own option at args[i] (its value taken by moving i on): No when it is none of
// the command's, Bad after a message.
using OwnOption = std::function<OptionTaken(const QStringList& args, int& i)>;

// The arguments of a report-reading command: one FILE, the report options, --format (one of
// formats), --out, and the command's own options through own. False after a message (an
// unknown option, a missing or wrong value, no FILE, no --format, no --out).
bool ParseReportCommand(const CommandText& command, const QStringList& args, const QStringList& formats,
                        ReportInput& input, const OwnOption& own = {});

// Whether --out names the report itself (the same file, also through a link or under another
// name), which the output would replace; said with a message.
bool OutIsTheReport(const CommandText& command, const ReportInput& input);

// The settings the window would load at its start: --settings or kelmora.ini beside the program
// (a missing kelmora.ini gives the defaults, as in the window). Refuses a --settings file that
// does not exist with a message.
std::optional<KelSettings> LoadStoredSettings(const CommandText& command, const ReportInput& input);
// The settings file that serves: --settings, or kelmora.ini of the data directory.
QString StoredSettingsPath(const ReportInput& input);

// The report's settings from the stored ones, with --mode and --thresholds in place of theirs.
ReportSettings ReportSettingsFor(const ReportInput& input, const KelSettings& stored);

// The report file loaded as the window loads it, without preparing it: the device number from
// the file name, the comment from its comment file, the interval from --from and --to or, without them, the report's own first and
// last minute (records an interval the user gave leaves out are counted on standard error).
// Refuses a missing file or one that is no report file with a message and exit status 1.
// Throws ReportFileError when the file cannot be read.
std::optional<ReportState> LoadReportInput(const CommandText& command, const ReportInput& input);
