// kelmora-cli: the work of the Kelmora window without a screen.
#include "cli/cli_text.h"
#include "cli/command.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstring>
#include <memory>

#include <cstdio>

namespace {
std::vector<const Command*>& registry()
{
    static std::vector<const Command*> commands;
    return commands;
}

void printUsage(FILE* to)
{
    QString text = Cli::tr("Usage: kelmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command* c : Command::all())
        text += QStringLiteral("  %1\n").arg(c->usageText());
    text += Cli::tr("\nPORT is a name of the port list (COM3, \\\\.\\COM12) or a device path.\n");
    std::fputs(text.toUtf8().constData(), to);
}
}  // namespace

Command::Command(const char* name, const char* usage, Run run, Needs needs)
    : name(name), usage(usage), run(std::move(run)), needs(needs)
{
    registry().push_back(this);
}

QString Command::usageText() const
{
    return Cli::tr(usage);
}

QString Command::usageLine() const
{
    return UsageLine(usage);
}

const std::vector<const Command*>& Command::all()
{
    return registry();
}

void printOut(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printErr(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// The command named by the first argument, before Qt has seen the arguments.
const Command* commandNamed(int argc, char** argv)
{
    if (argc < 2)
        return nullptr;
    for (const Command* c : Command::all())
        if (std::strcmp(argv[1], c->name) == 0)
            return c;
    return nullptr;
}

// Drawing starts a GUI application, which asks for the session's runtime directory; a run from
// cron or a service has none and Qt's fallback serves. Its warning would make every scheduled
// run report trouble, so it alone is dropped.
void dropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

// The picture resources (the logo of the graph printout) live in a static library.
void initResources()
{
    Q_INIT_RESOURCE(kelmora);
}

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    const Command* named = commandNamed(argc, argv);
    if (named && named->needs == Command::Needs::Widgets) {
        // Drawing needs no display: the off-screen window system draws with the same fonts.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(dropRuntimeDirWarning);
        app = std::make_unique<QApplication>(argc, argv);
        initResources();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    InstallCliLanguage(*app);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 64 : 0;
    }
    if (args.front() == QLatin1String("--version")) {
        printOut(QStringLiteral("kelmora-cli %1").arg(QLatin1String(KELMORA_VERSION)));
        return 0;
    }
    const QString name = args.takeFirst();
    for (const Command* c : Command::all())
        if (name == QLatin1String(c->name)) {
            // "kelmora-cli COMMAND --help": that command's usage, asked for, so no mistake.
            if (args == QStringList{QStringLiteral("--help")} || args == QStringList{QStringLiteral("-h")}) {
                printOut(c->usageLine());
                return 0;
            }
            return c->run(args);
        }
    printErr(Cli::tr("kelmora-cli: unknown command \"%1\"").arg(name));
    printUsage(stderr);
    return 64;
}
