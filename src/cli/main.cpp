// kelmora-cli: the work of the Kelmora window without a screen.
#include "cli/command.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
std::vector<const Command*>& registry()
{
    static std::vector<const Command*> commands;
    return commands;
}

void printUsage(FILE* to)
{
    std::fputs("Usage: kelmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n", to);
    for (const Command* c : Command::all())
        std::fprintf(to, "  %s\n", c->usage);
    std::fputs("\nPORT is a name of the port list (COM3, \\\\.\\COM12) or a device path.\n", to);
}
}  // namespace

Command::Command(const char* name, const char* usage, Run run) : name(name), usage(usage), run(std::move(run))
{
    registry().push_back(this);
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

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 64 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command* c : Command::all())
        if (name == QLatin1String(c->name))
            return c->run(args);
    printErr(QStringLiteral("kelmora-cli: unknown command \"%1\"").arg(name));
    printUsage(stderr);
    return 64;
}
