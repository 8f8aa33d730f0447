// kelmora-cli speaks one language per line: Russian under a Russian locale, English otherwise,
// its own texts, the core's messages it passes on and the system's error texts alike; and every
// text of the program has its Russian translation.
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A Russian locale of the test's own (the machine need not have generated one): compiled from
// the C library's locale sources into a directory that LOCPATH points at.
class RussianLocale {
public:
    RussianLocale()
    {
        QProcess p;
        p.start(QStringLiteral("localedef"), {"-i", "ru_RU", "-f", "UTF-8", dir_.filePath("ru_RU.UTF-8")});
        ok_ = p.waitForFinished(60000) && p.exitCode() == 0;
        error_ = QString::fromUtf8(p.readAllStandardError());
    }
    bool ok() const { return ok_; }
    QString error() const { return error_; }
    QProcessEnvironment environment(const QString& locale) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LOCPATH", dir_.path());
        env.insert("LC_ALL", locale);
        return env;
    }

private:
    QTemporaryDir dir_;
    bool ok_ = false;
    QString error_;
};

struct LanguageCase {
    const char* name;
    QStringList args;  // "@" is replaced by the test's directory
    int exitCode;
    const char* english;  // the messages on standard error, line by line
    const char* russian;
};

}  // namespace

TEST(CliLanguage, EachMessageInTheLocalesLanguage)
{
    RussianLocale russian;
    ASSERT_TRUE(russian.ok()) << "localedef: " << russian.error().toStdString();
    QTemporaryDir dir;
    const QString sample = QStringLiteral(KELMORA_TEST_DATA "/report/sample.dat");
    const LanguageCase cases[] = {
        {"MissingPort", {"read", "/dev/kelmora-missing"}, 2,
         "Cannot open the port\n/dev/kelmora-missing: No such file or directory\n",
         "Невозможно открыть порт\n/dev/kelmora-missing: Файл или каталог не существует\n"},
        {"MissingReport", {"report", "@/none.dat", "--format", "txt", "--out", "@/o.txt"}, 1,
         "kelmora-cli report: @/none.dat: no such file\n", "kelmora-cli report: @/none.dat: нет такого файла\n"},
        // A core message with the C library's reason inside it.
        {"ExportIntoNoDirectory", {"report", sample, "--format", "txt", "--out", "@/no/o.txt"}, 1,
         "kelmora-cli report: Cannot create file \"@/no/o.txt\". No such file or directory\n",
         "kelmora-cli report: Невозможно создать файл \"@/no/o.txt\". Нет такого файла или каталога\n"},
        {"ScratchReportName", {"log", "COM1", "--interval", "1", "--report", "temp"}, 64,
         "kelmora-cli log: \"temp\" cannot be a report name: the name \"temp\" belongs to the window's scratch report\n",
         "kelmora-cli log: \"temp\" не может быть именем отчета: имя \"temp\" занято временным отчетом окна\n"},
        {"BrokerAddress", {"log", "COM1", "--interval", "1", "--mqtt", "http://x"}, 64,
         "kelmora-cli log: \"http://x\" is no broker address of the form mqtt://HOST[:PORT]/PREFIX or mqtts://HOST[:PORT]/PREFIX\n",
         "kelmora-cli log: \"http://x\" — не адрес брокера вида mqtt://HOST[:PORT]/PREFIX или mqtts://HOST[:PORT]/PREFIX\n"},
        {"Interval", {"report", "@/none.dat", "--from", "2026-01-02 00:00", "--to", "2026-01-01 00:00", "--format", "txt", "--out", "@/o.txt"}, 64,
         "kelmora-cli report: --from is after --to: the interval holds no minute\n",
         "kelmora-cli report: --from позже --to: в интервале нет ни одной минуты\n"},
    };
    for (const LanguageCase& c : cases) {
        QStringList args;
        for (const QString& a : c.args)
            args << QString(a).replace(QLatin1Char('@'), dir.path());
        for (const bool inRussian : {false, true}) {
            const ProcessResult r = runProcess(russian.environment(inRussian ? "ru_RU.UTF-8" : "C.UTF-8"),
                                               QStringLiteral(KELMORA_CLI), args);
            EXPECT_EQ(r.exitCode, c.exitCode) << c.name << (inRussian ? " ru" : " en");
            QString expected = QString::fromUtf8(inRussian ? c.russian : c.english).replace(QLatin1Char('@'), dir.path());
            // A usage mistake ends with the command's usage line.
            QString err = r.err;
            if (c.exitCode == 64) {
                const qsizetype usage = err.indexOf(inRussian ? QStringLiteral("\nиспользование: kelmora-cli ")
                                                              : QStringLiteral("\nusage: kelmora-cli "));
                EXPECT_GE(usage, 0) << c.name << ": " << err.toStdString();
                err = err.left(usage + 1);
            }
            EXPECT_EQ(err, expected) << c.name << (inRussian ? " ru" : " en");
        }
    }
}

// The help of the program and of each command: Russian texts under a Russian locale (the
// options keep their names), English ones otherwise.
TEST(CliLanguage, HelpInTheLocalesLanguage)
{
    RussianLocale russian;
    ASSERT_TRUE(russian.ok()) << "localedef: " << russian.error().toStdString();
    const ProcessResult en = runProcess(russian.environment("C.UTF-8"), QStringLiteral(KELMORA_CLI), {"--help"});
    const ProcessResult ru = runProcess(russian.environment("ru_RU.UTF-8"), QStringLiteral(KELMORA_CLI), {"--help"});
    EXPECT_EQ(en.exitCode, 0);
    EXPECT_EQ(ru.exitCode, 0);
    EXPECT_TRUE(en.out.startsWith("Usage: kelmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n")) << en.out.toStdString();
    EXPECT_TRUE(ru.out.startsWith("Использование: kelmora-cli КОМАНДА [АРГУМЕНТЫ]\n\nКоманды:\n")) << ru.out.toStdString();
    EXPECT_EQ(en.out.count('\n'), ru.out.count('\n')) << "the same lines in both languages";
    EXPECT_FALSE(en.out.contains(QRegularExpression(QStringLiteral("[А-Яа-яЁё]")))) << en.out.toStdString();
    // Each command's line in Russian: its syntax, then a Russian description.
    for (const QString& line : ru.out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("  ")))
            EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("\\s{3}[а-я]")))) << line.toStdString();
    const ProcessResult detect = runProcess(russian.environment("ru_RU.UTF-8"), QStringLiteral(KELMORA_CLI), {"detect", "--help"});
    EXPECT_EQ(detect.out, QStringLiteral("использование: kelmora-cli detect [--usb]         найти прибор среди двадцати имен портов\n"));
}

// A Russian locale that is asked for but not installed is not in force: the C library speaks
// English then, and so does the program, so that no line mixes the two.
TEST(CliLanguage, ARussianLocaleThatIsNotInstalledGivesEnglish)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOCPATH", QDir::temp().filePath("kelmora-no-locales-here"));
    env.insert("LC_ALL", "ru_RU.UTF-8");
    const ProcessResult r = runProcess(env, QStringLiteral(KELMORA_CLI), {"read", "/dev/kelmora-missing"});
    EXPECT_EQ(r.err, "Cannot open the port\n/dev/kelmora-missing: No such file or directory\n");
}

// Every text of kelmora-cli and of the messages it passes on is translated: the translation
// file brought up to date with the sources (as scripts/translations does) holds no unfinished
// entry.
TEST(CliLanguage, EveryTextHasItsTranslation)
{
    QTemporaryDir dir;
    const QString ts = dir.filePath("kelmora_ru.ts");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELMORA_SOURCE_DIR "/translations/kelmora_ru.ts"), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KELMORA_LUPDATE", KELMORA_LUPDATE);
    const ProcessResult update = runProcess(env, QStringLiteral(KELMORA_SOURCE_DIR "/scripts/translations"), {ts});
    ASSERT_EQ(update.exitCode, 0) << update.err.toStdString();
    QFile file(ts);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression unfinished(QStringLiteral("<source>([^<]*)</source>\\s*<translation type=\"unfinished\""));
    QStringList untranslated;
    for (auto it = unfinished.globalMatch(text); it.hasNext();)
        untranslated << it.next().captured(1);
    EXPECT_TRUE(untranslated.isEmpty()) << "run scripts/translations and translate: " << untranslated.join("; ").toStdString();
}
