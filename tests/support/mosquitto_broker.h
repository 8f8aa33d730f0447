// A Mosquitto broker of a test's own: started on 127.0.0.1 on a free port with its own config
// file in a temporary directory (persistence on, so that a subscriber's queued messages
// survive a restart), optionally with a password file made by mosquitto_passwd. Stop and
// start it again to play a broker that goes away. Or a TLS broker with a certificate of its own. And a subscriber that collects what arrives.
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <mutex>

struct mosquitto;

class MosquittoBroker {
public:
    // user/password: when given, the broker admits only that user (no anonymous logins).
    // tls: the listener speaks TLS with a certificate for 127.0.0.1 made by openssl for the
    // test (certificatePath()), which no system trusts. acl: an access list (mosquitto's
    // acl_file) when given.
    explicit MosquittoBroker(const QString& user = QString(), const QString& password = QString(), bool tls = false,
                             const QByteArray& acl = QByteArray());
    ~MosquittoBroker();

    // Empty when the broker runs; else why it does not (mosquitto missing, no start).
    const QString& problem() const { return problem_; }
    int port() const { return port_; }
    QString url(const QString& prefix) const;
    QString certificatePath() const;

    void stop();   // SIGTERM and wait: the broker saves its sessions
    bool start();  // again on the same port
    // Another access list (for a broker made with one), read at once; connections stay.
    bool changeAcl(const QByteArray& acl);

private:
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    bool tls_ = false;
    QString problem_;
};

// A free TCP port on 127.0.0.1 (nothing listens on it when this returns).
int FreeLocalPort();

struct ReceivedMessage {
    QString topic;
    QByteArray payload;
    bool retained = false;
};

// A subscriber with a persistent session (QoS 1): it reconnects by itself after the broker
// comes back and then receives what was queued for it meanwhile.
class TestSubscriber {
public:
    TestSubscriber(int port, const QString& topicFilter, const QString& clientId,
                   const QString& user = QString(), const QString& password = QString());
    ~TestSubscriber();

    bool waitUntilSubscribed(int timeoutMs = 5000);
    // Waits until done(messages) holds or the time is up; gives the messages.
    QList<ReceivedMessage> waitFor(const std::function<bool(const QList<ReceivedMessage>&)>& done, int timeoutMs = 10000);
    QList<ReceivedMessage> messages();

private:
    static void onMessage(mosquitto*, void*, const struct mosquitto_message*);
    static void onSubscribe(mosquitto*, void*, int, int, const int*);
    static void onConnect(mosquitto*, void*, int);

    mosquitto* client_ = nullptr;
    QString filter_;
    std::mutex mutex_;
    QList<ReceivedMessage> messages_;
    bool subscribed_ = false;
};

// The readings among messages: the payloads of topics ending in "/reading".
QList<QByteArray> ReadingPayloads(const QList<ReceivedMessage>& messages);
