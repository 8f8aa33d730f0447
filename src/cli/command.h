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

    // name: the word after kelmora-cli; usage: one line shown by "kelmora-cli --help", in
    // English, marked with QT_TRANSLATE_NOOP("Cli", …) for its translations.
    Command(const char* name, const char* usage, Run run, Needs needs = Needs::Core);

    const char* name;
    const char* usage;
    Run run;
    Needs needs;

    // The usage in the language of the run, and "usage: kelmora-cli <usage>".
    QString usageText() const;
    QString usageLine() const;

    static const std::vector<const Command*>& all();
};

// Messages go to stderr, results to stdout, both UTF-8.
void printOut(const QString& text);
void printErr(const QString& text);
