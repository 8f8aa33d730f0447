#include "cli/cli_text.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>
#include <cstring>

QString UsageLine(const char* usage)
{
    return Cli::tr("usage: kelmora-cli %1").arg(Cli::tr(usage));
}

bool MessagesLocaleIsRussian()
{
    const char* name = std::setlocale(LC_MESSAGES, nullptr);
    return name != nullptr && std::strncmp(name, "ru", 2) == 0 && (name[2] == '\0' || name[2] == '_' || name[2] == '.');
}

bool InstallCliLanguage(QCoreApplication& app)
{
    if (!MessagesLocaleIsRussian())
        return false;
    // The translators live as long as the application that owns them.
    const auto install = [&app](const QString& name, const QString& directory) {
        auto* translator = new QTranslator(&app);
        if (!translator->load(name, directory)) {
            delete translator;
            return false;
        }
        return QCoreApplication::installTranslator(translator);
    };
    const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt's texts of the port and file errors a message passes on.
    install(QStringLiteral("qtbase_ru"), qtDirectory);
    install(QStringLiteral("qtserialport_ru"), qtDirectory);
    return install(QStringLiteral("kelmora_ru"), QStringLiteral(":/translations"));
}
