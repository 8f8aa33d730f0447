// Where the program's files live: the data directory that holds the report pool POOL and the
// settings file kelmora.ini, the same for the window and kelmora-cli.
#pragma once

#include <QString>

// Directory of the running executable (never the working directory).
QString programDirectory();

// The rule, for a program in programDir: a build tree or a portable copy (a directory the user
// may write that is not an installed layout) keeps its data beside the executable; an installed
// copy (a share/applications/kelmora.desktop beside its bin directory, or a directory the user
// may not write, as /usr/bin) keeps it in userDataDir.
QString DataDirectoryFor(const QString& programDir, const QString& userDataDir);

// The user's own data directory of the program (~/.local/share/Kelmora).
QString userDataDirectory();

// The data directory of this run: KELMORA_DATA_DIR when the environment sets it (a second,
// separate set of reports and settings, a service's own directory), else the rule above;
// created when missing and it is not the program's directory.
QString dataDirectory();
// POOL in the data directory.
QString poolDirectory();
// kelmora.ini in the data directory.
QString settingsFilePath();
