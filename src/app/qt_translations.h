// Qt's own dialogs and buttons (file, print and page-setup dialogs, Yes and No) in Russian,
// whatever the locale: the whole interface is Russian.
#pragma once

class QCoreApplication;

// Installs Qt's Russian translations into the application; false when they are not found
// (the dialogs then keep Qt's English texts).
bool InstallRussianQtTranslations(QCoreApplication& app);
