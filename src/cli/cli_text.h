// The language kelmora-cli speaks: whole messages in Russian under a Russian locale, in English
// otherwise. Its own texts are written in English as Cli::tr("…"); the Russian ones come from
// translations/kelmora_ru.ts, built into the program.
#pragma once

#include <QCoreApplication>

struct Cli {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};

// "usage: kelmora-cli <usage>" in the language of the run (usage: a command's usage line, marked
// with QT_TRANSLATE_NOOP("Cli", …)).
QString UsageLine(const char* usage);

// Installs the Russian texts (the program's own, and Qt's for the errors it reports) when the
// locale in force speaks Russian. Returns whether it did.
bool InstallCliLanguage(QCoreApplication& app);

// Whether the locale in force for messages (LC_MESSAGES, as the C library set it up from the
// environment) is a Russian one. A Russian locale that is not installed is not in force: the
// C library's own error texts are then English too.
bool MessagesLocaleIsRussian();
