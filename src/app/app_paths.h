// The program's own directory and the files formed from it: the report pool and the settings file.
#pragma once

#include <QString>

// Directory of the running executable (never the working directory).
QString programDirectory();
// POOL beside the executable.
QString poolDirectory();
// kelmora.ini beside the executable.
QString settingsFilePath();
