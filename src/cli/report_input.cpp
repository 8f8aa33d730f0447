#include "cli/report_input.h"

#include "cli/cli_text.h"
#include "cli/command.h"
#include "platform/app_paths.h"
#include "platform/profile_file.h"
#include "views/view_settings.h"
#include "logging/report_comment.h"
#include "logging/report_pool.h"
#include "report/comma_text.h"
#include "report/date_time.h"
#include "report/number_format.h"
#include "report/report_builder.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <sys/stat.h>

bool CommandText::usageError(const QString& problem) const
{
    printErr(QStringLiteral("kelmora-cli %1: %2\n%3")
                 .arg(QLatin1String(name), problem, UsageLine(usage)));
    return false;
}

void CommandText::error(const QString& message) const
{
    printErr(QStringLiteral("kelmora-cli %1: %2").arg(QLatin1String(name), message));
}

OptionTaken TakeReportOption(const CommandText& command, const QStringList& args, int& i, ReportInput& o)
{
    const QString& a = args[i];
    const auto value = [&](const QString& what, QString& out) {
        if (i + 1 >= args.size())
            return command.usageError(Cli::tr("%1 needs %2").arg(a, what));
        out = args[++i];
        return true;
    };
    const auto bad = [](bool) { return OptionTaken::Bad; };
    QString v;
    if (a == QLatin1String("--mode")) {
        if (!value(Cli::tr("rh, dew or abs"), v))
            return OptionTaken::Bad;
        if (v == QLatin1String("rh"))
            o.mode = kRelativeHumidity;
        else if (v == QLatin1String("dew"))
            o.mode = kDewPoint;
        else if (v == QLatin1String("abs"))
            o.mode = kAbsoluteHumidity;
        else
            return bad(command.usageError(Cli::tr("--mode \"%1\" is not rh, dew or abs").arg(v)));
        o.modeGiven = true;
        return OptionTaken::Yes;
    }
    if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
        if (!value(Cli::tr("a date and time \"YYYY-MM-DD hh:mm\""), v))
            return OptionTaken::Bad;
        const auto t = ParseIsoMinute(v);
        if (!t)
            return bad(command.usageError(
                Cli::tr("%1 \"%2\" is not a date and time \"YYYY-MM-DD hh:mm\"").arg(a, v)));
        (a == QLatin1String("--from") ? o.from : o.to) = t;
        return OptionTaken::Yes;
    }
    if (a == QLatin1String("--settings")) {
        if (!value(Cli::tr("a settings file"), v))
            return OptionTaken::Bad;
        o.settings = v;
        return OptionTaken::Yes;
    }
    if (a == QLatin1String("--thresholds")) {
        if (!value(Cli::tr("four threshold texts \"MINH;MAXH;MINT;MAXT\""), v))
            return OptionTaken::Bad;
        const QStringList parts = v.split(QLatin1Char(';'));
        if (parts.size() != 4)
            return bad(command.usageError(Cli::tr("--thresholds \"%1\" is not four texts separated by \";\"").arg(v)));
        // Numbers as a script writes them: blanks around them do not count, "." or "," is the
        // decimal separator; anything else (a blank inside, letters) is refused rather than read
        // as something else.
        static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
        QStringList numbers;
        for (const QString& part : parts) {
            const QString trimmed = part.trimmed();
            if (!number.match(trimmed).hasMatch())
                return bad(command.usageError(Cli::tr("--thresholds \"%1\": \"%2\" is not a number").arg(v, part)));
            numbers << trimmed;
        }
        o.thresholds = numbers;
        o.thresholdsGiven = true;
        return OptionTaken::Yes;
    }
    return OptionTaken::No;
}

bool ParseReportCommand(const CommandText& command, const QStringList& args, const QStringList& formats,
                        ReportInput& o, const OwnOption& own)
{
    // "txt, htm, xls or csv"
    const QString formatList = formats.size() > 1
                                   ? Cli::tr("%1 or %2").arg(formats.mid(0, formats.size() - 1).join(QLatin1String(", ")), formats.back())
                                   : formats.join(QString());
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        // After "--" everything is a FILE, also a name that starts with "-".
        if (a == QLatin1String("--")) {
            positional << args.mid(i + 1);
            break;
        }
        OptionTaken taken = TakeReportOption(command, args, i, o);
        if (taken == OptionTaken::No && own)
            taken = own(args, i);
        if (taken == OptionTaken::Bad)
            return false;
        if (taken == OptionTaken::Yes)
            continue;
        if (a == QLatin1String("--format") || a == QLatin1String("--out")) {
            const bool isFormat = a == QLatin1String("--format");
            if (i + 1 >= args.size())
                return command.usageError(
                    Cli::tr("%1 needs %2").arg(a, isFormat ? formatList : Cli::tr("a file path")));
            (isFormat ? o.format : o.out) = args[++i];
            if (isFormat && !formats.contains(o.format))
                return command.usageError(Cli::tr("--format \"%1\" is not %2").arg(o.format, formatList));
        } else if (a.startsWith(QLatin1String("--"))) {
            return command.usageError(Cli::tr("unknown option %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 1)
        return command.usageError(Cli::tr("one FILE is needed"));
    if (o.format.isEmpty())
        return command.usageError(Cli::tr("--format is needed"));
    if (o.out.isEmpty())
        return command.usageError(Cli::tr("--out is needed"));
    if (o.from && o.to && *o.from > *o.to)
        return command.usageError(Cli::tr("--from is after --to: the interval holds no minute"));
    o.file = positional.front();
    return true;
}

std::optional<KelSettings> LoadStoredSettings(const CommandText& command, const ReportInput& o)
{
    const QString path = StoredSettingsPath(o);
    if (!o.settings.isEmpty() && !QFileInfo(path).isFile()) {
        command.error(Cli::tr("--settings %1: no such file").arg(path));
        return std::nullopt;
    }
    return ReadKelSettings(ProfileFile(path));
}

QString StoredSettingsPath(const ReportInput& o)
{
    return o.settings.isEmpty() ? settingsFilePath() : o.settings;
}

ReportSettings ReportSettingsFor(const ReportInput& o, const KelSettings& stored)
{
    ReportSettings settings = ReportSettingsFromStored(stored);
    if (o.modeGiven)
        settings.displayMode = o.mode;
    if (o.thresholdsGiven) {
        settings.minHumidityText = o.thresholds[0];
        settings.maxHumidityText = o.thresholds[1];
        settings.minTemperatureText = o.thresholds[2];
        settings.maxTemperatureText = o.thresholds[3];
    }
    return settings;
}

std::optional<ReportState> LoadReportInput(const CommandText& command, const ReportInput& o)
{
    const QFileInfo info(o.file);
    if (!info.exists()) {
        command.error(Cli::tr("%1: no such file").arg(o.file));
        return std::nullopt;
    }
    if (!info.isFile()) {
        command.error(Cli::tr("%1: not a report file").arg(o.file));
        return std::nullopt;
    }
    ReportState state;
    LoadReport(o.file, state);
    QString device = info.fileName();
    if (device.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        device.chop(4);
    state.DeviceNumberText = device;
    // The report's comment, as the window's title shows it after loading the report: the lines
    // of its comment file beside it, as one comma text.
    if (const std::optional<QString> comment = LoadComment(CommentFilePath(info.absolutePath(), info.fileName()));
        comment && !comment->isEmpty())
        state.ReportComment = CommaText(comment->split(QLatin1Char('\n')));
    // Without --from and --to the interval is the report's own first and last minute (as the
    // selection dialog proposes), so a logger whose clock ran ahead loses no rows.
    std::optional<double> first, last;
    qsizetype undated = 0;
    for (qsizetype i = 0; i < std::min(state.ReportCount, state.ReportData.size()); ++i)
        if (const std::optional<double> minute = TryTruncToMinute(state.ReportData[i].dt)) {
            first = first ? std::min(*first, *minute) : *minute;
            last = last ? std::max(*last, *minute) : *minute;
        } else {
            ++undated;
        }
    // Records whose time stamp is no date (NaN, infinite, outside the years 1 to 9999) fall in
    // no interval: they are counted, as the interval's leftovers are.
    if (undated > 0)
        command.error(Cli::tr("%1 of %2 records have no valid time stamp and are left out").arg(undated).arg(state.ReportCount));
    state.IntervalStart = o.from ? *o.from : first.value_or(0.0);
    state.IntervalEnd = o.to ? *o.to : last.value_or(0.0);
    if ((o.from || o.to) && first) {
        const std::optional<double> start = TryTruncToMinute(state.IntervalStart);
        const std::optional<double> end = TryTruncToMinute(state.IntervalEnd);
        qsizetype outside = 0;
        for (qsizetype i = 0; i < std::min(state.ReportCount, state.ReportData.size()); ++i) {
            const std::optional<double> minute = TryTruncToMinute(state.ReportData[i].dt);
            outside += minute && ((start && *minute < *start) || (end && *minute > *end));
        }
        if (outside > 0)
            command.error(Cli::tr("%1 of %2 records lie outside the interval and are left out")
                              .arg(outside)
                              .arg(state.ReportCount));
    }
    return state;
}

bool OutIsTheReport(const CommandText& command, const ReportInput& input)
{
    struct stat in {}, out {};
    if (::stat(QFile::encodeName(input.file).constData(), &in) != 0 || ::stat(QFile::encodeName(input.out).constData(), &out) != 0
        || in.st_dev != out.st_dev || in.st_ino != out.st_ino)
        return false;
    command.error(Cli::tr("--out %1 is the report itself; choose another file").arg(input.out));
    return true;
}
