// Qt's own dialogs and buttons (file, print and page-setup dialogs, Yes and No) and the
// reasons the program passes on (the system's, the port's, the broker library's) in Russian,
// whatever the locale: the whole interface is Russian.
#pragma once

class QCoreApplication;

// Installs Qt's Russian translations and the program's own into the application; false when
// one is not found (its texts then stay English).
bool InstallRussianQtTranslations(QCoreApplication& app);
