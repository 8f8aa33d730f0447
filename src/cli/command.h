// Commands of kelmora-cli. Each command file registers itself with a static Command object;
// main() dispatches on the first argument.
#pragma once

#include <QStringList>

#include <functional>
#include <vector>

struct Command {
    using Run = std::function<int(const QStringList& args)>;

    // name: the word after kelmora-cli; usage: one line shown by "kelmora-cli --help".
    Command(const char* name, const char* usage, Run run);

    const char* name;
    const char* usage;
    Run run;

    static const std::vector<const Command*>& all();
};

// Messages go to stderr, results to stdout, both UTF-8.
void printOut(const QString& text);
void printErr(const QString& text);
