#include "support/mosquitto_broker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <mosquitto.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char* kBroker = "/usr/sbin/mosquitto";
const char* kPasswd = "/usr/bin/mosquitto_passwd";

bool portAnswers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

int FreeLocalPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = 0;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

MosquittoBroker::MosquittoBroker(const QString& user, const QString& password, bool tls, const QByteArray& acl) : tls_(tls)
{
    if (!QFileInfo(QString::fromLatin1(kBroker)).isExecutable()) {
        problem_ = QStringLiteral("mosquitto is not installed (%1 missing); scripts/setup installs it").arg(QLatin1String(kBroker));
        return;
    }
    port_ = FreeLocalPort();
    QDir d(dir_.path());
    QByteArray conf = "listener " + QByteArray::number(port_) + " 127.0.0.1\n"
                      "persistence true\n"
                      "persistence_location " + QFile::encodeName(d.path()) + "/\n"
                      "log_dest stderr\n";
    // Started by root, the broker would drop to the user "mosquitto", who may not read the
    // test's private directory.
    if (const passwd* me = ::getpwuid(::getuid()))
        conf += "user " + QByteArray(me->pw_name) + "\n";
    if (tls) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                       "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", d.filePath("key.pem"), "-out", certificatePath()});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            problem_ = QStringLiteral("openssl made no certificate (scripts/setup installs openssl): %1")
                           .arg(QString::fromLocal8Bit(openssl.readAllStandardError()));
            return;
        }
        conf += "certfile " + QFile::encodeName(certificatePath()) + "\nkeyfile " + QFile::encodeName(d.filePath("key.pem")) + "\n";
    }
    if (user.isEmpty()) {
        conf += "allow_anonymous true\n";
    } else {
        const QString file = d.filePath(QStringLiteral("passwords"));
        QFile(file).open(QIODevice::WriteOnly);
        QProcess p;
        p.start(QString::fromLatin1(kPasswd), {QStringLiteral("-b"), file, user, password});
        if (!p.waitForFinished(10000) || p.exitCode() != 0) {
            problem_ = QStringLiteral("mosquitto_passwd failed: %1").arg(QString::fromLocal8Bit(p.readAllStandardError()));
            return;
        }
        conf += "allow_anonymous false\npassword_file " + QFile::encodeName(file) + "\n";
    }
    if (!acl.isNull()) {
        QFile list(d.filePath(QStringLiteral("acl")));
        list.open(QIODevice::WriteOnly);
        list.write(acl);
        conf += "acl_file " + QFile::encodeName(list.fileName()) + "\n";
    }
    QFile f(d.filePath(QStringLiteral("mosquitto.conf")));
    f.open(QIODevice::WriteOnly);
    f.write(conf);
    f.close();
    process_.setProgram(QString::fromLatin1(kBroker));
    process_.setArguments({QStringLiteral("-c"), f.fileName()});
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(d.filePath(QStringLiteral("broker.log")), QIODevice::Append);
    if (!start())
        problem_ = QStringLiteral("mosquitto does not listen on port %1").arg(port_);
}

MosquittoBroker::~MosquittoBroker()
{
    stop();
}

QString MosquittoBroker::url(const QString& prefix) const
{
    return QStringLiteral("%1://127.0.0.1:%2/%3").arg(tls_ ? "mqtts" : "mqtt").arg(port_).arg(prefix);
}

QString MosquittoBroker::certificatePath() const
{
    return QDir(dir_.path()).filePath(QStringLiteral("cert.pem"));
}

bool MosquittoBroker::changeAcl(const QByteArray& acl)
{
    QFile list(QDir(dir_.path()).filePath(QStringLiteral("acl")));
    if (!list.exists() || !list.open(QIODevice::WriteOnly))
        return false;
    list.write(acl);
    list.close();
    // The broker reads its access list again on SIGHUP, keeping its connections.
    return process_.state() == QProcess::Running && ::kill(pid_t(process_.processId()), SIGHUP) == 0;
}

bool MosquittoBroker::start()
{
    process_.start();
    if (!process_.waitForStarted(5000))
        return false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        if (portAnswers(port_))
            return true;
        if (process_.state() != QProcess::Running)
            return false;
        QThread::msleep(20);
    }
    return false;
}

void MosquittoBroker::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

TestSubscriber::TestSubscriber(int port, const QString& topicFilter, const QString& clientId, const QString& user,
                               const QString& password)
    : filter_(topicFilter)
{
    mosquitto_lib_init();
    client_ = mosquitto_new(clientId.toUtf8().constData(), false, this);
    if (!user.isEmpty())
        mosquitto_username_pw_set(client_, user.toUtf8().constData(), password.toUtf8().constData());
    mosquitto_connect_callback_set(client_, onConnect);
    mosquitto_message_callback_set(client_, onMessage);
    mosquitto_subscribe_callback_set(client_, onSubscribe);
    mosquitto_reconnect_delay_set(client_, 1, 1, false);
    mosquitto_connect(client_, "127.0.0.1", port, 5);
    mosquitto_loop_start(client_);
}

TestSubscriber::~TestSubscriber()
{
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, true);
    mosquitto_destroy(client_);
}

void TestSubscriber::onConnect(mosquitto* m, void* self, int rc)
{
    auto* s = static_cast<TestSubscriber*>(self);
    if (rc == 0)
        mosquitto_subscribe(m, nullptr, s->filter_.toUtf8().constData(), 1);
}

void TestSubscriber::onSubscribe(mosquitto*, void* self, int, int, const int*)
{
    auto* s = static_cast<TestSubscriber*>(self);
    std::lock_guard lock(s->mutex_);
    s->subscribed_ = true;
}

void TestSubscriber::onMessage(mosquitto*, void* self, const mosquitto_message* m)
{
    auto* s = static_cast<TestSubscriber*>(self);
    std::lock_guard lock(s->mutex_);
    s->messages_.push_back({QString::fromUtf8(m->topic),
                            QByteArray(static_cast<const char*>(m->payload), m->payloadlen), m->retain});
}

bool TestSubscriber::waitUntilSubscribed(int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        {
            std::lock_guard lock(mutex_);
            if (subscribed_)
                return true;
        }
        QThread::msleep(10);
    }
    return false;
}

QList<ReceivedMessage> TestSubscriber::messages()
{
    std::lock_guard lock(mutex_);
    return messages_;
}

QList<ReceivedMessage> TestSubscriber::waitFor(const std::function<bool(const QList<ReceivedMessage>&)>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        const QList<ReceivedMessage> now = messages();
        if (done(now) || t.elapsed() >= timeoutMs)
            return now;
        QThread::msleep(20);
    }
}

QList<QByteArray> ReadingPayloads(const QList<ReceivedMessage>& messages)
{
    QList<QByteArray> out;
    for (const ReceivedMessage& m : messages)
        if (m.topic.endsWith(QLatin1String("/reading")))
            out.push_back(m.payload);
    return out;
}
