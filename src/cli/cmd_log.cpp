// kelmora-cli log: logging without a window, through the window's reading cycle. Every reading
// is a whole session as in the window (open, lines up, one second, probe, time stamp, three
// registers, lines down, the 0xAA filler, close), then the append. SIGINT and SIGTERM end it
// between records, never inside one.
// The exit status tells a script or a service whether every reading was stored: 0 only then,
// else the kind of the worst failure (see kLogStatusText), and the last line on standard
// error is "stored N of M readings".
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "device/meter_session.h"
#include "logging/meter_reading.h"
#include "logging/reading_cycle.h"
#include "logging/report_file_error.h"
#include "logging/report_lock.h"
#include "logging/report_name.h"
#include "logging/report_pool.h"
#include "publish/mqtt_target.h"
#include "publish/reading_publisher.h"
#include "report/date_time.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <pthread.h>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

constexpr const char* Usage =
    QT_TRANSLATE_NOOP("Cli", "log PORT [--usb] --interval S [--count N] [--report NAME] [--pool DIR] [--mqtt URL [--mqtt-user USER] "
    "[--mqtt-cafile FILE] [--no-discovery] [--mqtt-wait S]]   log readings every S seconds into POOL/NAME.dat (default kelmora-cli), each also "
    "published to the MQTT broker URL mqtt[s]://HOST[:PORT]/PREFIX (password in KELMORA_MQTT_PASSWORD; mqtts:// checked "
    "against the system's certificate authorities or the one in --mqtt-cafile; at the end "
    "up to --mqtt-wait seconds, default 10, for the broker to take the readings); "
    "exit status 0 only when every reading was stored");

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int)
{
    stopRequested = 1;
}

// The default report of the command line: a name of its own, which the window never renames
// or deletes (the window's scratch report "temp" is recovered or discarded at its start).
const QString kCliReportName = QStringLiteral("kelmora-cli");

struct LogOptions {
    QString port;
    bool usb = false;
    int intervalSeconds = 0;
    long count = -1;  // reading cycles; -1 until stopped
    QString report = kCliReportName;
    QString pool;
    std::optional<MqttTarget> mqtt;
    QString mqttUser;
    QString mqttCaFile;
    bool discovery = true;
    int mqttWaitSeconds = 10;  // at the end, for the broker to take the readings not yet published
    bool mqttWaitGiven = false;
};

// Why NAME cannot be a report name, in a whole sentence.
QString reportNameProblem(const QString& name, ReportNameFault fault)
{
    switch (fault) {
    case ReportNameFault::Empty:
        return Cli::tr("--report needs a name that is not empty");
    case ReportNameFault::Separator:
        return Cli::tr("\"%1\" cannot be a report name: a name cannot hold \"/\" or \"\\\"").arg(name);
    case ReportNameFault::ControlCharacter:
        return Cli::tr("\"%1\" cannot be a report name: a name cannot hold control characters").arg(name);
    case ReportNameFault::DotName:
        return Cli::tr("\"%1\" cannot be a report name: it cannot name a file").arg(name);
    case ReportNameFault::LeadingDot:
        return Cli::tr("\"%1\" cannot be a report name: a name cannot start with a dot").arg(name);
    case ReportNameFault::ScratchReport:
        return Cli::tr("\"%1\" cannot be a report name: the name \"%2\" belongs to the window's scratch report")
            .arg(name, kScratchReportName);
    case ReportNameFault::TooLong:
        return Cli::tr("\"%1\" cannot be a report name: the name is too long").arg(name);
    }
    return QString();
}

bool usage(const QString& problem)
{
    printErr(QStringLiteral("kelmora-cli log: %1\n%2").arg(problem, UsageLine(Usage)));
    return false;
}

bool parse(const QStringList& args, LogOptions& o)
{
    bool haveInterval = false;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        QString v;
        bool ok = true;
        if (a == QLatin1String("--usb")) {
            o.usb = true;
        } else if (a == QLatin1String("--interval")) {
            if (!value(v))
                return usage(Cli::tr("--interval needs a number of seconds"));
            o.intervalSeconds = v.toInt(&ok);
            if (!ok)
                return usage(Cli::tr("--interval \"%1\" is not a whole number of seconds").arg(v));
            haveInterval = true;
        } else if (a == QLatin1String("--count")) {
            if (!value(v))
                return usage(Cli::tr("--count needs a number"));
            o.count = v.toLong(&ok);
            if (!ok || o.count < 1)
                return usage(Cli::tr("--count \"%1\" is not a positive number").arg(v));
        } else if (a == QLatin1String("--report")) {
            if (!value(o.report))
                return usage(Cli::tr("--report needs a name"));
            if (const auto fault = ReportNameFaultOf(o.report))
                return usage(reportNameProblem(o.report, *fault));
            o.report = o.report.trimmed();
        } else if (a == QLatin1String("--pool")) {
            if (!value(o.pool))
                return usage(Cli::tr("--pool needs a directory"));
        } else if (a == QLatin1String("--mqtt")) {
            if (!value(v))
                return usage(Cli::tr("--mqtt needs a broker address mqtt://HOST[:PORT]/PREFIX"));
            QString problem;
            o.mqtt = ParseMqttUrl(v, &problem);
            if (!o.mqtt)
                return usage(problem);
        } else if (a == QLatin1String("--mqtt-user")) {
            if (!value(o.mqttUser))
                return usage(Cli::tr("--mqtt-user needs a user name"));
        } else if (a == QLatin1String("--mqtt-cafile")) {
            if (!value(o.mqttCaFile))
                return usage(Cli::tr("--mqtt-cafile needs a file of the certificate authority (PEM)"));
        } else if (a == QLatin1String("--mqtt-wait")) {
            if (!value(v))
                return usage(Cli::tr("--mqtt-wait needs a number of seconds"));
            o.mqttWaitSeconds = v.trimmed().toInt(&ok);
            if (!ok || o.mqttWaitSeconds < 0 || o.mqttWaitSeconds > 3600)
                return usage(Cli::tr("--mqtt-wait \"%1\" is not a whole number of seconds from 0 to 3600").arg(v));
            o.mqttWaitGiven = true;
        } else if (a == QLatin1String("--no-discovery")) {
            o.discovery = false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(Cli::tr("unknown option %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 1)
        return usage(Cli::tr("one PORT is needed"));
    if (!haveInterval)
        return usage(Cli::tr("--interval is needed"));
    o.port = positional.front();
    if (!o.mqtt && (!o.mqttUser.isEmpty() || !o.discovery || o.mqttWaitGiven || !o.mqttCaFile.isEmpty()))
        return usage(Cli::tr("--mqtt-user, --mqtt-cafile, --no-discovery and --mqtt-wait go with --mqtt"));
    if (o.mqtt && !o.mqttCaFile.isEmpty()) {
        if (!o.mqtt->tls)
            return usage(Cli::tr("--mqtt-cafile goes with an mqtts:// address"));
        const QString problem = MqttCaFileProblem(o.mqttCaFile);
        if (!problem.isEmpty())
            return usage(problem);
        o.mqtt->caFile = o.mqttCaFile;
    }
    if (o.mqtt) {
        o.mqtt->user = o.mqttUser;
        o.mqtt->password = MqttPasswordFromEnvironment();
        o.mqtt->discovery = o.discovery;
        // A user without a password may be what the broker wants; more often the variable was
        // not passed on (cron, a service file).
        if (!o.mqttUser.isEmpty() && o.mqtt->password.isEmpty())
            printErr(Cli::tr("MQTT: --mqtt-user %1 without a password: %2 is empty or not set")
                         .arg(o.mqttUser, QString::fromLatin1(kMqttPasswordVariable)));
    }
    if (o.pool.isEmpty())
        o.pool = poolDirectory();
    // A script says what it means: a negative interval is no interval, and an interval of 0
    // (one reading, as the window's switch takes it) cannot take several.
    if (o.intervalSeconds < 0)
        return usage(Cli::tr("--interval %1 is negative: a number of seconds is needed").arg(o.intervalSeconds));
    if (o.intervalSeconds == 0 && o.count > 1)
        return usage(Cli::tr("--interval 0 takes one reading; --count %1 needs an interval").arg(o.count));
    // The report must be a file that appends go to: a FIFO or a device would block or swallow them.
    const QFileInfo report(WorkingReportPath(o.pool, o.report));
    if (report.exists() && !report.isFile())
        return usage(Cli::tr("%1 is not a regular file: no report can be kept there").arg(report.filePath()));
    return true;
}

// A whole number from the environment, or the fallback (how tests shorten the broker's waits).
int environmentInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// The broker's state on standard error: a failure once per streak, and the end of a streak.
std::unique_ptr<ReadingPublisher> startPublisher(const MqttTarget& target)
{
    PublisherTimings timings;
    timings.retryMs = environmentInt("KELMORA_MQTT_RETRY_MS", timings.retryMs);
    timings.retryMaxMs = std::max(timings.retryMs, environmentInt("KELMORA_MQTT_RETRY_MAX_MS", timings.retryMaxMs));
    timings.keepAliveSeconds = environmentInt("KELMORA_MQTT_KEEPALIVE", timings.keepAliveSeconds);
    const QString url = target.url;
    return std::make_unique<ReadingPublisher>(target, [url](const PublisherEvent& e) {
        switch (e.kind) {
        case PublisherEvent::Kind::Failing:
            printErr(Cli::tr("MQTT: %1: %2; logging goes on, readings are published from the report once the broker answers")
                         .arg(url, e.detail));
            break;
        case PublisherEvent::Kind::Connected:
            if (e.again)
                printErr(Cli::tr("MQTT: %1 answers again; publishing %2 readings logged meanwhile").arg(url).arg(e.backlog));
            else
                printErr(Cli::tr("MQTT: publishing to %1").arg(url));
            break;
        case PublisherEvent::Kind::PositionDamaged:
            printErr(Cli::tr("MQTT: %1 holds no published position (damaged); the readings stamped since %2 are published again")
                         .arg(e.detail, e.since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
            break;
        case PublisherEvent::Kind::Refused:
            printErr(Cli::tr("MQTT: %1 refuses %2; logging goes on, refused readings are sent again until the broker takes them")
                         .arg(url, e.detail));
            break;
        case PublisherEvent::Kind::PositionNotWritten:
            printErr(Cli::tr("MQTT: the published position cannot be kept (%1); a restart may publish readings again")
                         .arg(e.detail));
            break;
        }
    }, timings);
}

// The kinds of failed cycles, as exit statuses; a run ends with the highest one it met.
int worse(int status, int kind)
{
    return std::max(status, kind);
}

int run(const QStringList& args)
{
    LogOptions o;
    if (!parse(args, o))
        return ExitUsage;

    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);  // the terminal went away: end as asked to
    // The stop signals go to this thread alone (the threads started below inherit the mask
    // with them blocked), so a wait for a report's lock here is interrupted by them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, signal);
    ::pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    ReportLock::setWaiting({[](const QString& path) {
                                printErr(Cli::tr("%1 is locked by another program; the reading waits for it "
                                                 "(SIGINT or SIGTERM end the wait)")
                                             .arg(path));
                            },
                            [] { return stopRequested != 0; }});

    CreatePool(o.pool);
    const QString file = QDir::cleanPath(WorkingReportPath(o.pool, o.report));
    printErr(Cli::tr("logging to %1").arg(file));
    // The broker is told about each reading after it is in the report; it never holds logging up.
    std::unique_ptr<ReadingPublisher> publisher = o.mqtt ? startPublisher(*o.mqtt) : nullptr;

    // The session's fatal end throws: a meter that stops answering ends the run here, so that
    // the summary is still said.
    MeterSession session(std::make_unique<SerialPort>(PortNameMap::fromSettingsFile(settingsFilePath())),
                         SystemClock::instance());
    ReadingCycle cycle(session);
    ::pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);
    // The readings are driven by the program's own event loop: the cycle's outcome, the next
    // due time and a stop request each come as an event.
    QObject events;
    const auto finish = [] { QCoreApplication::exit(0); };
    QElapsedTimer schedule;
    schedule.start();
    qint64 due = 0;
    bool appendFailing = false;
    bool openFailing = false;
    long cycles = 0, stored = 0;
    int status = 0;

    const auto startCycle = [&] {
        if (stopRequested) {
            finish();
            return;
        }
        ++cycles;
        cycle.start(o.port, o.usb);
    };
    QObject::connect(&cycle, &ReadingCycle::finished, &events, [&](const ReadingOutcome& outcome) {
        switch (outcome.kind) {
        case ReadingOutcome::Kind::CannotOpen:
            // Said once per streak (a busy or missing port fails at every tick), and its end too.
            if (!openFailing)
                sayCannotOpen(o.port, outcome.detail);
            openFailing = true;
            status = worse(status, ExitCannotOpen);
            break;
        case ReadingOutcome::Kind::StoppedAnswering:
            printErr(Cli::tr("The meter does not answer!"));
            status = worse(status, ExitNotResponding);
            finish();
            return;
        case ReadingOutcome::Kind::NoAnswer:
        case ReadingOutcome::Kind::OutOfStep:
            printErr(Cli::tr("Cannot read the data!"));
            status = worse(status, ExitNoAnswer);
            break;
        case ReadingOutcome::Kind::Taken:
            if (openFailing)
                printErr(Cli::tr("%1 opens again").arg(o.port));
            openFailing = false;
            try {
                if (publisher)
                    publisher->follow(file);
                AppendRecord(o.pool, o.report, outcome.reading.record());
                if (publisher)
                    publisher->readingStored(outcome.reading.serialNumber, outcome.reading.dt, outcome.reading.utcOffsetSeconds);
                appendFailing = false;
                ++stored;
                printOut(Cli::tr("read %1").arg(
                    DaysToDateTime(outcome.reading.dt).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
            } catch (const ReportFileError& e) {
                // Said once per run of failures, so a full disk does not flood the output.
                if (!appendFailing)
                    printErr(Cli::tr("The reading could not be written to %1: %2").arg(file, e.text()));
                appendFailing = true;
                status = worse(status, ExitNotStored);
            }
            break;
        }
        if (stopRequested || (o.count >= 0 && cycles >= o.count) || o.intervalSeconds == 0) {
            finish();
            return;
        }
        // Readings start on the interval's beat; a reading longer than the interval drops beats.
        due += qint64(o.intervalSeconds) * 1000;
        if (due < schedule.elapsed())
            due = schedule.elapsed();
        QTimer::singleShot(std::chrono::milliseconds(due - schedule.elapsed()), &events, startCycle);
    });
    // A stop request ends the run between records; one that comes during a reading waits for it.
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &events, [&] {
        if (stopRequested && !cycle.running())
            finish();
    });
    stopWatch.start(100);
    QTimer::singleShot(0, &events, startCycle);
    QCoreApplication::exec();

    if (publisher) {
        // A run of one reading (cron) ends before its connection is up: the end connects and
        // waits for the broker to take what is left, for a bounded time.
        const qint64 unpublished = publisher->stop(o.mqttWaitSeconds * 1000, ReadingPublisher::Flush::ConnectingFirst);
        if (unpublished > 0)
            printErr(Cli::tr("MQTT: %1 readings of the report not yet published; the next run with --mqtt publishes them")
                         .arg(unpublished));
    }
    printErr(Cli::tr("stored %1 of %2 readings").arg(stored).arg(cycles));
    return status;
}

const Command logCommand("log", Usage, run);

}  // namespace
