#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallRussianQtTranslations(QCoreApplication& app)
{
    // The translator lives as long as the application that owns it.
    auto* translator = new QTranslator(&app);
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), directory)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
