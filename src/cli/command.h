// Commands of kelmora-cli. Each command file registers itself with a static Command object;
// main() dispatches on the first argument.
#pragma once

#include <QStringList>

#include <functional>
#include <vector>

struct Command {
    using Run = std::function<int(const QStringList& args)>;

    // What a command needs besides Qt Core: widgets run on an off-screen window system, so that
    // charts can be drawn without a display.
    enum class Needs { Core, Widgets };

    // name: the word after kelmora-cli; usage: one line shown by "kelmora-cli --help".
    Command(const char* name, const char* usage, Run run, Needs needs = Needs::Core);

    const char* name;
    const char* usage;
    Run run;
    Needs needs;

    static const std::vector<const Command*>& all();
};

// Messages go to stderr, results to stdout, both UTF-8.
void printOut(const QString& text);
void printErr(const QString& text);
