#include "support/private_print_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

}  // namespace

PrivatePrintServer::PrivatePrintServer()
{
    const QDir d(dir_.path());
    for (const char* sub : {"etc/ppd", "spool", "cache", "state", "tmp", "log", "out"})
        d.mkpath(QLatin1String(sub));
    // The filters run as the server's unprivileged user: they need the temporary and the output
    // directory, and the way to them.
    ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
    ::chmod(QFile::encodeName(d.filePath("tmp")).constData(), 01777);
    ::chmod(QFile::encodeName(d.filePath("out")).constData(), 0777);
    const QByteArray root = QFile::encodeName(dir_.path());
    const QByteArray files = "ServerRoot " + root + "/etc\nRequestRoot " + root + "/spool\nCacheDir " + root
                             + "/cache\nStateDir " + root + "/state\nTempDir " + root
                             + "/tmp\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nAccessLog " + root
                             + "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root
                             + "/log/page_log\nFileDevice Yes\n";
    // Every job's name and page count land in the page log when it ends.
    const QByteArray server = "Listen " + root + "/cups.sock\nLogLevel info\nPageLogFormat %j %P %C %{job-name}\n"
                              "Browsing No\nWebInterface No\nDefaultAuthType None\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    if (!writeFile(d.filePath("etc/cups-files.conf"), files) || !writeFile(d.filePath("etc/cupsd.conf"), server)) {
        problem_ = QStringLiteral("cannot write the server's configuration");
        return;
    }
    const QByteArray cupsd = "/usr/sbin/cupsd";
    const QByteArray conf = QFile::encodeName(d.filePath("etc/cupsd.conf"));
    const QByteArray filesConf = QFile::encodeName(d.filePath("etc/cups-files.conf"));
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execl(cupsd.constData(), "cupsd", "-f", "-c", conf.constData(), "-s", filesConf.constData(), nullptr);
        ::_exit(127);
    }
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(socket()) && waited.elapsed() < 20000)
        QThread::msleep(20);
    if (!QFileInfo::exists(socket())) {
        problem_ = QStringLiteral("cupsd did not start");
        return;
    }
    // The printer: the generic PDF printer description (CUPS filters apply the job's options,
    // such as its page ranges), writing into a file.
    QProcess admin;
    admin.start(QStringLiteral("lpadmin"),
                {"-h", socket(), "-p", kPrinter, "-E", "-v", "file://" + d.filePath("out/job.pdf"), "-P",
                 "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"});
    if (!admin.waitForFinished(30000) || admin.exitCode() != 0) {
        problem_ = QStringLiteral("lpadmin: ") + QString::fromLocal8Bit(admin.readAllStandardError());
        return;
    }
    admin.start(QStringLiteral("lpadmin"), {"-h", socket(), "-d", kPrinter});
    if (!admin.waitForFinished(30000) || admin.exitCode() != 0) {
        problem_ = QStringLiteral("lpadmin -d: ") + QString::fromLocal8Bit(admin.readAllStandardError());
        return;
    }
    ok_ = true;
}

PrivatePrintServer::~PrivatePrintServer()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

QString PrivatePrintServer::error() const
{
    QFile log(QDir(dir_.path()).filePath("log/error_log"));
    const QString tail = log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(2000)) : QString();
    return problem_ + QStringLiteral("\n") + tail;
}

QString PrivatePrintServer::socket() const
{
    return QDir(dir_.path()).filePath("cups.sock");
}

std::vector<PrivatePrintServer::Job> PrivatePrintServer::endedJobs(std::size_t count, int timeoutMs) const
{
    // A job's last page-log line is its "total" one: "<job> total <pages> <name>".
    static const QRegularExpression line(QStringLiteral("^(\\d+) total (\\d+) (.*)$"), QRegularExpression::MultilineOption);
    std::vector<Job> jobs;
    QElapsedTimer waited;
    waited.start();
    do {
        jobs.clear();
        QFile log(QDir(dir_.path()).filePath("log/page_log"));
        if (log.open(QIODevice::ReadOnly)) {
            const QString text = QString::fromUtf8(log.readAll());
            for (auto it = line.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                QString name = m.captured(3);
                if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
                    name = name.mid(1, name.size() - 2);
                jobs.push_back({m.captured(1).toInt(), name, m.captured(2).toInt()});
            }
        }
        if (jobs.size() >= count)
            break;
        QThread::msleep(50);
    } while (waited.elapsed() < timeoutMs);
    return jobs;
}

QString PrivatePrintServer::lastOutput() const
{
    return QDir(dir_.path()).filePath("out/job.pdf");
}
