#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallRussianQtTranslations(QCoreApplication& app)
{
    // The translators live as long as the application that owns them.
    const auto install = [&app](const QString& name, const QString& directory) {
        auto* translator = new QTranslator(&app);
        if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), name, QStringLiteral("_"), directory)) {
            delete translator;
            return false;
        }
        return QCoreApplication::installTranslator(translator);
    };
    const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const bool qt = install(QStringLiteral("qtbase"), qtDirectory);
    const bool port = install(QStringLiteral("qtserialport"), qtDirectory);
    const bool own = install(QStringLiteral("kelmora"), QStringLiteral(":/translations"));
    return qt && port && own;
}
