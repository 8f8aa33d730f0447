#include "publish/reading_publisher.h"

#include "logging/report_lock.h"
#include "platform/error_text.h"
#include "publish/published_position.h"
#include "publish/reading_message.h"
#include "report/date_time.h"
#include "report/utc_offset.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

// The texts libmosquitto gives for its error and refusal codes, in the language of the run
// (they are English; kelmora-cli speaks Russian under a Russian locale).
constexpr const char* kLibraryTexts[] = {
    QT_TRANSLATE_NOOP("libmosquitto", "Out of memory."),
    QT_TRANSLATE_NOOP("libmosquitto", "A network protocol error occurred when communicating with the broker."),
    QT_TRANSLATE_NOOP("libmosquitto", "Invalid function arguments provided."),
    QT_TRANSLATE_NOOP("libmosquitto", "The client is not currently connected."),
    QT_TRANSLATE_NOOP("libmosquitto", "The connection was refused."),
    QT_TRANSLATE_NOOP("libmosquitto", "Message not found (internal error)."),
    QT_TRANSLATE_NOOP("libmosquitto", "The connection was lost."),
    QT_TRANSLATE_NOOP("libmosquitto", "A TLS error occurred."),
    QT_TRANSLATE_NOOP("libmosquitto", "Payload too large."),
    QT_TRANSLATE_NOOP("libmosquitto", "This feature is not supported."),
    QT_TRANSLATE_NOOP("libmosquitto", "Authorisation failed."),
    QT_TRANSLATE_NOOP("libmosquitto", "Access denied by ACL."),
    QT_TRANSLATE_NOOP("libmosquitto", "Unknown error."),
    QT_TRANSLATE_NOOP("libmosquitto", "Lookup error."),
    QT_TRANSLATE_NOOP("libmosquitto", "Proxy error."),
    QT_TRANSLATE_NOOP("libmosquitto", "Malformed UTF-8"),
    QT_TRANSLATE_NOOP("libmosquitto", "Duplicate property in property list"),
    QT_TRANSLATE_NOOP("libmosquitto", "TLS handshake failed."),
    QT_TRANSLATE_NOOP("libmosquitto", "Requested QoS not supported on server."),
    QT_TRANSLATE_NOOP("libmosquitto", "Packet larger than supported by the server."),
    QT_TRANSLATE_NOOP("libmosquitto", "OCSP error."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: unacceptable protocol version."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: identifier rejected."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: broker unavailable."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: bad user name or password."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: not authorised."),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection Refused: unknown reason."),
    // The reasons of MQTT 5 (mosquitto_reason_string) a broker gives for a refused connection or message.
    QT_TRANSLATE_NOOP("libmosquitto", "Unspecified error"),
    QT_TRANSLATE_NOOP("libmosquitto", "Malformed Packet"),
    QT_TRANSLATE_NOOP("libmosquitto", "Protocol Error"),
    QT_TRANSLATE_NOOP("libmosquitto", "Implementation specific error"),
    QT_TRANSLATE_NOOP("libmosquitto", "Unsupported Protocol Version"),
    QT_TRANSLATE_NOOP("libmosquitto", "Client Identifier not valid"),
    QT_TRANSLATE_NOOP("libmosquitto", "Bad User Name or Password"),
    QT_TRANSLATE_NOOP("libmosquitto", "Not authorized"),
    QT_TRANSLATE_NOOP("libmosquitto", "Server unavailable"),
    QT_TRANSLATE_NOOP("libmosquitto", "Server busy"),
    QT_TRANSLATE_NOOP("libmosquitto", "Banned"),
    QT_TRANSLATE_NOOP("libmosquitto", "Server shutting down"),
    QT_TRANSLATE_NOOP("libmosquitto", "Bad authentication method"),
    QT_TRANSLATE_NOOP("libmosquitto", "Topic Name invalid"),
    QT_TRANSLATE_NOOP("libmosquitto", "Packet too large"),
    QT_TRANSLATE_NOOP("libmosquitto", "Message rate too high"),
    QT_TRANSLATE_NOOP("libmosquitto", "Quota exceeded"),
    QT_TRANSLATE_NOOP("libmosquitto", "Administrative action"),
    QT_TRANSLATE_NOOP("libmosquitto", "Payload format invalid"),
    QT_TRANSLATE_NOOP("libmosquitto", "Retain not supported"),
    QT_TRANSLATE_NOOP("libmosquitto", "QoS not supported"),
    QT_TRANSLATE_NOOP("libmosquitto", "Use another server"),
    QT_TRANSLATE_NOOP("libmosquitto", "Server moved"),
    QT_TRANSLATE_NOOP("libmosquitto", "Connection rate exceeded"),
    QT_TRANSLATE_NOOP("libmosquitto", "Unknown reason"),
};

}  // namespace

QString MqttLibraryText(const char* text)
{
    for (const char* known : kLibraryTexts)
        if (std::strcmp(known, text) == 0)
            return QCoreApplication::translate("libmosquitto", known);
    return QString::fromUtf8(text);
}

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// Records firstIndex .. firstIndex+maxCount-1 of a report file (fewer at its end), read under
// the shared lock so that no half-appended record is taken; total: the file's record count.
// False when the file is not there or cannot be read.
bool readRecords(const QString& path, qint64 firstIndex, qint64 maxCount, std::vector<MeasurementRecord>& out, qint64& total)
{
    out.clear();
    total = 0;
    ReportLock file(path, O_RDONLY | O_CLOEXEC, ReportLock::Mode::Shared);
    if (!file.isOpen())
        return false;
    total = qint64(file.status().st_size) / kRecordSize;
    const qint64 count = std::max<qint64>(0, std::min(maxCount, total - firstIndex));
    out.resize(size_t(count));
    qint64 done = 0;
    const qint64 bytes = count * kRecordSize;
    while (done < bytes) {
        const ssize_t got = ::pread(file.fd(), reinterpret_cast<char*>(out.data()) + done, size_t(bytes - done),
                                    off_t(firstIndex * kRecordSize + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += got;
    }
    RecordsFromLittleEndian(out.data(), qsizetype(out.size()));
    return true;
}

QString reportNameOf(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

QString clientId(uint16_t serial)
{
    std::random_device random;
    return QStringLiteral("kelmora-%1-%2-%3")
        .arg(serial, 4, 16, QLatin1Char('0'))
        .arg(::getpid())
        .arg(random() % 100000);
}

}  // namespace

struct ReadingPublisher::Worker {
    Worker(MqttTarget t, Listener l, PublisherTimings tm) : target(std::move(t)), listener(std::move(l)), timings(tm) {}

    const MqttTarget target;
    const Listener listener;
    const PublisherTimings timings;

    // Shared with the callers, under mutex.
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finishedCv;
    QString reportPath;          // the followed report
    QString publishingPath;      // the report whose position `acked` is (the worker's)
    uint16_t serial = 0;
    bool haveSerial = false;
    bool newRecords = false;
    bool stopping = false;
    bool connectBeforeStop = false;
    Steady::time_point flushDeadline;
    bool finished = false;
    qint64 unpublished = -1;     // records of the report not yet acknowledged when the worker ended
    PublishedPosition acked;     // acknowledged by the broker (written to the position file)
    // The offsets in force when the readings this program stored were taken, by time stamp, for
    // the stamps of a repeated hour (the newest few; others follow the file's order).
    struct LiveOffset {
        double stamp;
        int utcOffsetSeconds;
    };
    std::deque<LiveOffset> liveOffsets;

    // The worker's own.
    mosquitto* client = nullptr;
    bool connected = false;
    uint16_t connectedSerial = 0;
    Steady::time_point attemptStarted;
    Steady::time_point nextAttempt;
    int retryMs = 0;
    bool failing = false;
    bool everConnected = false;
    bool positionFailing = false;
    QString failure;             // reason of the attempt or connection that failed last
    bool refused = false;        // the broker answered the connection attempt with a refusal
    bool protocol311 = false;    // the broker does not speak MQTT 5: 3.1.1 (no reasons for refused messages)
    bool retryAt311 = false;     // the attempt just refused is made again at once in 3.1.1
    bool tlsHostNameFailed = false;  // the library logged that the certificate is not for the host
    QString tlsSslError;             // the first OpenSSL reason the library logged
    std::optional<Steady::time_point> hungUpSince;  // the connecting TLS socket hung up then
    QString readingRefused;      // the broker's reason for refusing a reading just now
    bool refusing = false;       // the failing streak is one of refused readings
    Steady::time_point holdUntil;  // after a refused reading: no more are sent before this
    std::unordered_map<int, QString> identityMids;  // status and discovery messages in flight, by message id
    std::vector<QString> identityRefusalsTold;        // their topics a refusal was said of
    bool wasConnected = false;   // this client's connection was established
    struct InFlight {
        int mid;
        qint64 index;
        MeasurementRecord record;
        bool acked;
    };
    std::deque<InFlight> inFlight;
    qint64 sent = 0;             // records before this index have been handed to the library
    qint64 fileRecords = 0;      // the report's record count when read last
    Steady::time_point lastRead;
    bool positionDirty = false;
    int ackedSinceWrite = 0;     // acknowledgements the position file does not hold yet
    Steady::time_point positionWritten;
    int statusMid = -1;          // the "offline" of an orderly stop
    bool statusAcked = false;

    static constexpr int kWindow = 100;   // messages in flight at most
    // Records read before the first one to send, so that the offsets of a repeated hour's
    // stamps follow the file's order from before it (an hour of readings every 8 s).
    static constexpr qint64 kOffsetContext = 450;
    static constexpr size_t kLiveOffsets = 1000;

    // Under mutex: the offset a stored reading was taken with, when this program stored it.
    std::optional<int> liveOffsetOf(double stamp) const
    {
        for (auto it = liveOffsets.rbegin(); it != liveOffsets.rend(); ++it)
            if (std::memcmp(&it->stamp, &stamp, sizeof stamp) == 0)
                return it->utcOffsetSeconds;
        return std::nullopt;
    }

    void tell(const PublisherEvent& e)
    {
        if (listener)
            listener(e);
    }

    // --- position ---

    // Under mutex.
    void writePosition()
    {
        if (publishingPath.isEmpty())
            return;
        if (WritePublishedPosition(PublishedPositionPath(publishingPath), acked)) {
            positionFailing = false;
        } else if (!positionFailing) {
            const int why = errno;
            positionFailing = true;
            tell({PublisherEvent::Kind::PositionNotWritten,
                  PublishedPositionPath(publishingPath) + QStringLiteral(": ") + SystemErrorText(why)});
        }
        positionDirty = false;
        ackedSinceWrite = 0;
        positionWritten = Steady::now();
    }

    // Under mutex: the followed report became the one published.
    void switchReport()
    {
        if (positionDirty)
            writePosition();
        publishingPath = reportPath;
        const QString positionPath = PublishedPositionPath(publishingPath);
        if (const std::optional<PublishedPosition> position = ReadPublishedPosition(positionPath)) {
            acked = *position;
        } else if (QFileInfo::exists(positionPath)) {
            // There, but empty or torn (a full disk, a hand edit): what it said is lost. The
            // readings stamped since a minute before it was last written are published again,
            // so that nothing waiting is skipped; it is said.
            const QDateTime changed = QFileInfo(positionPath).lastModified().addSecs(-60);
            acked = positionBefore(publishingPath, DateTimeToDays(changed));
            positionDirty = true;
            tell({PublisherEvent::Kind::PositionDamaged, positionPath, unpublishedNow(), false, changed});
        } else {
            acked = PublishedPosition{};
        }
        forgetInFlight();
    }

    // Right after the last record (in file order) stamped at or before `since`; the file is
    // read backwards from its end, so a long report costs only the records after that one.
    static PublishedPosition positionBefore(const QString& path, double since)
    {
        std::vector<MeasurementRecord> chunk;
        qint64 total = 0;
        if (!readRecords(path, 0, 0, chunk, total))
            return {};
        constexpr qint64 kChunk = 4096;
        for (qint64 end = total; end > 0;) {
            const qint64 first = std::max<qint64>(0, end - kChunk);
            qint64 ignored = 0;
            if (!readRecords(path, first, end - first, chunk, ignored))
                return {};
            for (qint64 i = qint64(chunk.size()) - 1; i >= 0; --i)
                if (chunk[size_t(i)].dt <= since)
                    return {first + i + 1, chunk[size_t(i)]};
            end = first;
        }
        return {};
    }

    void forgetInFlight()
    {
        inFlight.clear();
        sent = acked.records;
    }

    // --- connection ---

    static void onConnect(mosquitto*, void* self, int rc, int, const mosquitto_property*)
    {
        static_cast<Worker*>(self)->connectAnswered(rc);
    }
    static void onDisconnect(mosquitto*, void* self, int rc) { static_cast<Worker*>(self)->disconnected(rc); }
    static void onPublish(mosquitto*, void* self, int mid, int reason, const mosquitto_property*)
    {
        static_cast<Worker*>(self)->published(mid, reason);
    }

    void connectAnswered(int rc)
    {
        if (rc != 0) {
            // The client is still inside its loop: it is dropped once the loop returns.
            if (!protocol311 && (rc == MQTT_RC_UNSUPPORTED_PROTOCOL_VERSION || rc == CONNACK_REFUSED_PROTOCOL_VERSION)) {
                // A broker of MQTT 3.1.1 only: the next attempt, at once, speaks that.
                protocol311 = true;
                failure.clear();
                retryAt311 = true;
                return;
            }
            failure = QCoreApplication::translate("Kelmora", "the broker refused the connection: %1")
                          .arg(sentence(protocol311 ? mosquitto_connack_string(rc) : mosquitto_reason_string(rc)));
            refused = true;
            return;
        }
        connected = true;
        wasConnected = true;
        retryMs = timings.retryMs;
        publishIdentity();
        std::lock_guard lock(mutex);
        newRecords = true;  // whatever waits in the report goes out now
        const bool again = failing;
        failing = false;
        everConnected = true;
        tell({PublisherEvent::Kind::Connected, QString(), unpublishedNow(), again});
    }

    void disconnected(int rc)
    {
        if (rc != 0 && failure.isEmpty())
            failure = sentence(mosquitto_strerror(rc == MOSQ_ERR_ERRNO ? MOSQ_ERR_CONN_LOST : rc));
        connected = false;
    }

    // The broker's answer to a message: MQTT 5 brokers refuse one with a reason code of 128 or more
    // (an access list that denies its topic, a quota). A refused reading stays unpublished.
    void published(int mid, int reason)
    {
        const auto identity = identityMids.find(mid);
        if (identity != identityMids.end()) {
            const QString topic = identity->second;
            identityMids.erase(identity);
            if (reason >= 128 && std::find(identityRefusalsTold.begin(), identityRefusalsTold.end(), topic) == identityRefusalsTold.end()) {
                identityRefusalsTold.push_back(topic);
                tell({PublisherEvent::Kind::Refused, topic + QStringLiteral(": ") + sentence(mosquitto_reason_string(reason))});
            }
        }
        const bool reading = std::any_of(inFlight.begin(), inFlight.end(), [mid](const InFlight& m) { return m.mid == mid; });
        if (reason >= 128) {
            if (reading && readingRefused.isEmpty())
                readingRefused = sentence(mosquitto_reason_string(reason));
            return;
        }
        acknowledged(mid);
        if (reading && refusing) {
            // The broker takes readings again.
            refusing = false;
            retryMs = timings.retryMs;
            std::lock_guard lock(mutex);
            failing = false;
            tell({PublisherEvent::Kind::Connected, QString(), unpublishedNow(), true});
        }
    }

    // A reading the broker refused: it and those after it are sent again after the wait of a
    // failed connection (growing as that does); the streak is said once.
    void readingWasRefused()
    {
        const QString reason = readingRefused;
        readingRefused.clear();
        holdUntil = Steady::now() + milliseconds(retryMs);
        retryMs = std::min(retryMs * 2, timings.retryMaxMs);
        std::lock_guard lock(mutex);
        forgetInFlight();
        if (!failing) {
            failing = true;
            refusing = true;
            tell({PublisherEvent::Kind::Refused, TopicsOf(target.prefix, connectedSerial).reading + QStringLiteral(": ") + reason,
                  unpublishedNow()});
        }
    }

    void acknowledged(int mid)
    {
        if (mid == statusMid)
            statusAcked = true;
        for (InFlight& m : inFlight)
            if (m.mid == mid)
                m.acked = true;
        std::lock_guard lock(mutex);
        while (!inFlight.empty() && inFlight.front().acked) {
            acked.records = inFlight.front().index + 1;
            acked.last = inFlight.front().record;
            inFlight.pop_front();
            positionDirty = true;
            ++ackedSinceWrite;
        }
    }

    QString reasonOf(int rc) const
    {
        if (rc == MOSQ_ERR_ERRNO)
            return SystemErrorText(errno);
        if (rc == MOSQ_ERR_TLS || rc == MOSQ_ERR_TLS_HANDSHAKE)
            return tlsReason();
        return sentence(mosquitto_strerror(rc));
    }

    // Why the TLS handshake failed, from what the library logged of it.
    QString tlsReason() const
    {
        if (tlsHostNameFailed)
            return QCoreApplication::translate("Kelmora", "the broker's certificate is not made out for %1, the host of the URL")
                .arg(target.host);
        if (tlsSslError.contains(QLatin1String("certificate verify failed")))
            return target.caFile.isEmpty()
                       ? QCoreApplication::translate("Kelmora", "the broker's certificate is not trusted: no certificate authority "
                                                                "of the system's store vouches for it (a private one is given with "
                                                                "--mqtt-cafile or CaFile=)")
                       : QCoreApplication::translate("Kelmora", "the broker's certificate is not trusted: %1 does not vouch for it")
                             .arg(target.caFile);
        if (!tlsSslError.isEmpty())
            return QCoreApplication::translate("Kelmora", "the TLS handshake failed (%1); does the port speak TLS?").arg(tlsSslError);
        return sentence(mosquitto_strerror(MOSQ_ERR_TLS));
    }

    // The library's log, for the reasons of a failed TLS handshake it gives no code for.
    static void onLog(mosquitto*, void* self, int level, const char* text)
    {
        if (level != MOSQ_LOG_ERR || !text)
            return;
        Worker* w = static_cast<Worker*>(self);
        const QString line = QString::fromUtf8(text);
        if (line.contains(QLatin1String("host name verification failed")))
            w->tlsHostNameFailed = true;
        // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed": the reason
        // is what follows the last colon.
        if (line.startsWith(QLatin1String("OpenSSL Error")) && w->tlsSslError.isEmpty())
            w->tlsSslError = line.section(QLatin1Char(':'), -1).trimmed();
    }

    // A TLS connection whose socket was refused: the library notices it only when the connect
    // timeout runs out, so it is looked at here. The socket has hung up without a peer, and the
    // library said nothing of a handshake for a while (a port that accepted and then closed,
    // one that does not speak TLS, is left to the library, which tells the handshake's failure).
    bool tlsConnectionRefused()
    {
        const int fd = mosquitto_socket(client);
        if (fd < 0)
            return false;
        pollfd p{fd, POLLOUT, 0};
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const bool hungUp = ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR))
                            && ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 && errno == ENOTCONN;
        if (!hungUp) {
            hungUpSince.reset();
            return false;
        }
        if (!hungUpSince)
            hungUpSince = Steady::now();
        return Steady::now() - *hungUpSince >= milliseconds(500);
    }

    // The library's texts end with a full stop; ours go on after them.
    static QString sentence(const char* text)
    {
        QString s = MqttLibraryText(text).trimmed();
        while (s.endsWith(QLatin1Char('.')))
            s.chop(1);
        return s;
    }

    void failed(const QString& reason)
    {
        dropClient();
        nextAttempt = Steady::now() + milliseconds(retryMs);
        retryMs = std::min(retryMs * 2, timings.retryMaxMs);
        std::lock_guard lock(mutex);
        forgetInFlight();
        if (!failing) {
            failing = true;
            tell({PublisherEvent::Kind::Failing, reason, unpublishedNow()});
        }
    }

    void dropClient()
    {
        if (client) {
            mosquitto_destroy(client);
            client = nullptr;
        }
        connected = false;
    }

    bool startConnecting(uint16_t meter)
    {
        failure.clear();
        refused = false;
        wasConnected = false;
        client = mosquitto_new(clientId(meter).toUtf8().constData(), true, this);
        if (!client) {
            failed(QCoreApplication::translate("Kelmora", "cannot make an MQTT client"));
            return false;
        }
        connectedSerial = meter;
        // MQTT 5, whose acknowledgements say when the broker refuses a message.
        mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, protocol311 ? MQTT_PROTOCOL_V311 : MQTT_PROTOCOL_V5);
        mosquitto_max_inflight_messages_set(client, kWindow);
        mosquitto_connect_v5_callback_set(client, onConnect);
        mosquitto_disconnect_callback_set(client, onDisconnect);
        mosquitto_publish_v5_callback_set(client, onPublish);
        mosquitto_log_callback_set(client, onLog);
        identityMids.clear();
        readingRefused.clear();
        retryAt311 = false;
        tlsHostNameFailed = false;
        tlsSslError.clear();
        hungUpSince.reset();
        const MeterTopics topics = TopicsOf(target.prefix, meter);
        mosquitto_will_set(client, topics.status.toUtf8().constData(), int(kStatusOffline.size()),
                           kStatusOffline.constData(), 1, true);
        if (!target.user.isEmpty())
            mosquitto_username_pw_set(client, target.user.toUtf8().constData(),
                                      target.password.isEmpty() ? nullptr : target.password.toUtf8().constData());
        if (target.tls) {
            // The system's certificate store, as a browser would check the broker, or the
            // certificate authority the user names (a private one).
            int rc;
            if (target.caFile.isEmpty()) {
                mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
                rc = mosquitto_tls_set(client, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr);
            } else {
                rc = mosquitto_tls_set(client, QFile::encodeName(target.caFile).constData(), nullptr, nullptr, nullptr, nullptr);
            }
            if (rc != MOSQ_ERR_SUCCESS) {
                failed(reasonOf(rc));
                return false;
            }
        }
        attemptStarted = Steady::now();
        // The library refuses a keep-alive under 5 s ("Invalid function arguments"): it takes 5.
        const int rc = mosquitto_connect_async(client, target.host.toUtf8().constData(), target.port,
                                               std::max(5, timings.keepAliveSeconds));
        if (rc != MOSQ_ERR_SUCCESS) {
            failed(reasonOf(rc));
            return false;
        }
        return true;
    }

    void publishIdentity()
    {
        const MeterTopics topics = TopicsOf(target.prefix, connectedSerial);
        publishIdentityMessage(topics.status, kStatusOnline);
        // Without discovery, configurations an earlier run left retained are cleared (an empty
        // retained message), so Home Assistant drops the meter's sensors.
        for (const DiscoveryMessage& m : {HumidityDiscovery(target.prefix, connectedSerial),
                                           TemperatureDiscovery(target.prefix, connectedSerial)})
            publishIdentityMessage(m.topic, target.discovery ? m.payload : QByteArray());
    }

    void publishIdentityMessage(const QString& topic, const QByteArray& payload)
    {
        int mid = -1;
        if (mosquitto_publish(client, &mid, topic.toUtf8().constData(), int(payload.size()),
                              payload.isEmpty() ? nullptr : payload.constData(), 1, true)
            == MOSQ_ERR_SUCCESS)
            identityMids.emplace(mid, topic);
    }

    // --- publishing ---

    // Hands the next records of the report to the library, keeping at most kWindow in flight
    // (one while the broker refuses them).
    // A report that no longer holds the last acknowledged record at its place was rewritten:
    // publishing goes on from the safe point ResumeIndex finds.
    bool publishMore()
    {
        std::unique_lock lock(mutex);
        if (publishingPath != reportPath)
            switchReport();
        const QString path = publishingPath;
        const PublishedPosition position = acked;
        const qint64 from = sent;
        newRecords = false;
        lock.unlock();
        // While the broker refuses readings, one at a time: those after it wait, so that the
        // readings still arrive in order once it takes them again.
        const qint64 window = refusing ? 1 : kWindow;
        if (path.isEmpty() || qint64(inFlight.size()) >= window)
            return true;

        const qint64 checkFrom = std::max<qint64>(0, position.records - 1);
        const qint64 readFrom = std::max<qint64>(0, checkFrom - kOffsetContext);
        const qint64 want = from - readFrom + (window - qint64(inFlight.size()));
        std::vector<MeasurementRecord> records;
        qint64 total = 0;
        if (!readRecords(path, readFrom, want, records, total)) {
            fileRecords = 0;
            return true;  // no report yet (or not readable now): nothing to publish
        }
        fileRecords = total;
        if (!PositionStillHolds(position, std::span(records).subspan(size_t(std::min<qint64>(checkFrom - readFrom, qint64(records.size())))), checkFrom)) {
            std::vector<MeasurementRecord> all;
            qint64 allCount = 0;
            if (!readRecords(path, 0, total, all, allCount))
                return true;
            const qint64 resume = ResumeIndex(position, all);
            lock.lock();
            acked.records = resume;
            acked.last = resume > 0 ? std::optional(all[size_t(resume - 1)]) : std::nullopt;
            positionDirty = true;
            forgetInFlight();
            newRecords = true;
            return true;
        }
        const uint16_t meter = connectedSerial;
        const QString name = reportNameOf(path);
        const MeterTopics topics = TopicsOf(target.prefix, meter);
        const QByteArray topic = topics.reading.toUtf8();
        RecordOffsets offsets;
        for (qint64 i = 0; i < from - readFrom && i < qint64(records.size()); ++i)
            offsets.next(records[size_t(i)].dt);
        for (qint64 i = from - readFrom; i < qint64(records.size()) && qint64(inFlight.size()) < window; ++i) {
            const MeasurementRecord& r = records[size_t(i)];
            const qint64 index = readFrom + i;
            std::optional<int> offset = offsets.next(r.dt);
            if (offset && offsets.lastWasRepeated()) {
                std::lock_guard relock(mutex);
                if (const std::optional<int> live = liveOffsetOf(r.dt))
                    offset = live;
            }
            const std::optional<QByteArray> json = ReadingJson(r, meter, name, offset);
            int mid = -1;
            if (json) {
                const int rc = mosquitto_publish(client, &mid, topic.constData(), int(json->size()), json->constData(), 1, false);
                if (rc != MOSQ_ERR_SUCCESS) {
                    failed(reasonOf(rc));
                    return false;
                }
            }
            // A record whose time stamp is no date is not sent; it counts as published.
            inFlight.push_back({mid, index, r, !json});
            sent = index + 1;
        }
        if (!inFlight.empty() && inFlight.front().acked)
            acknowledged(-2);
        return true;
    }

    // Whether the report may hold something to send: a reading was stored, records are left
    // from the last read, the report changed, or a while passed (another program may append).
    bool worthReading()
    {
        std::lock_guard lock(mutex);
        const Steady::time_point now = Steady::now();
        if (newRecords || sent < fileRecords || reportPath != publishingPath || now - lastRead >= milliseconds(2000)) {
            lastRead = now;
            return true;
        }
        return false;
    }

    // Under mutex: records of the followed report the broker has not acknowledged, from the
    // report as it is now (the count read last may be from before an outage).
    qint64 unpublishedNow()
    {
        std::vector<MeasurementRecord> none;
        qint64 total = 0;
        readRecords(reportPath, 0, 0, none, total);
        const qint64 done = publishingPath == reportPath
                                ? acked.records
                                : ReadPublishedPosition(PublishedPositionPath(reportPath)).value_or(PublishedPosition{}).records;
        return std::max<qint64>(0, total - done);
    }

    // Under mutex, once stop() was called: whether the flush is over. Connected, it lasts while
    // readings wait to be sent or acknowledged; not connected, it lasts only when the stop asked
    // to connect first (a run of one reading ends before its connection is up) and readings of
    // the report wait; and never beyond the deadline.
    bool stopNow()
    {
        if (Steady::now() >= flushDeadline)
            return true;
        if (connected)
            return refusing || (backlog() == 0 && !newRecords);
        return !connectBeforeStop || !haveSerial || reportPath.isEmpty() || unpublishedNow() == 0;
    }

    qint64 backlog()
    {
        return std::max<qint64>(0, fileRecords - sent) + qint64(inFlight.size());
    }

    void run()
    {
        initLibrary();
        retryMs = timings.retryMs;
        nextAttempt = Steady::now();
        for (;;) {
            std::unique_lock lock(mutex);
            // Written every positionWriteMs, and every kWindow acknowledgements during a backlog:
            // a crash repeats at most that many readings.
            if (positionDirty && (stopping || ackedSinceWrite >= kWindow
                                  || Steady::now() - positionWritten >= milliseconds(timings.positionWriteMs)))
                writePosition();
            if (stopping && stopNow())
                break;
            const bool identityChanged = haveSerial && client && serial != connectedSerial;
            const uint16_t meter = serial;
            if (!client) {
                if (!haveSerial || Steady::now() < nextAttempt) {
                    if (haveSerial)
                        wake.wait_until(lock, stopping ? std::min(nextAttempt, flushDeadline) : nextAttempt);
                    else
                        wake.wait(lock);
                    continue;
                }
                lock.unlock();
                startConnecting(meter);
                continue;
            }
            lock.unlock();
            if (identityChanged) {
                // Another meter: its readings go under its own topics, with its own last will.
                if (connected)
                    sayOffline();
                dropClient();
                std::lock_guard relock(mutex);
                forgetInFlight();
                continue;
            }
            if (connected && Steady::now() >= holdUntil && worthReading() && !publishMore())
                continue;
            const int rc = mosquitto_loop(client, 50, 1);
            if (retryAt311) {
                dropClient();
                continue;
            }
            if (!readingRefused.isEmpty())
                readingWasRefused();
            if (refused || rc != MOSQ_ERR_SUCCESS || (wasConnected && !connected)) {
                failed(!failure.isEmpty() ? failure : rc != MOSQ_ERR_SUCCESS ? reasonOf(rc) : QCoreApplication::translate("Kelmora", "connection closed"));
                continue;
            }
            if (!connected && target.tls && tlsConnectionRefused()) {
                failed(SystemErrorText(ECONNREFUSED));
                continue;
            }
            if (!connected && Steady::now() - attemptStarted > milliseconds(timings.connectTimeoutMs))
                failed(QCoreApplication::translate("Kelmora", "no answer within %1 s").arg(timings.connectTimeoutMs / 1000.0));
        }
        if (client && connected)
            sayOffline();
        dropClient();
        std::lock_guard lock(mutex);
        if (positionDirty)
            writePosition();
        if (!reportPath.isEmpty())
            unpublished = unpublishedNow();
        finished = true;
        finishedCv.notify_all();
    }

    // An orderly end: "offline" (retained) instead of the last will, then the disconnection.
    void sayOffline()
    {
        const MeterTopics topics = TopicsOf(target.prefix, connectedSerial);
        statusAcked = false;
        statusMid = -1;
        mosquitto_publish(client, &statusMid, topics.status.toUtf8().constData(), int(kStatusOffline.size()),
                          kStatusOffline.constData(), 1, true);
        const Steady::time_point until = Steady::now() + milliseconds(1000);
        while (!statusAcked && connected && Steady::now() < until)
            if (mosquitto_loop(client, 50, 1) != MOSQ_ERR_SUCCESS)
                break;
        mosquitto_disconnect(client);
        mosquitto_loop(client, 50, 1);
    }
};

ReadingPublisher::ReadingPublisher(MqttTarget target, Listener listener, PublisherTimings timings)
    : worker_(std::make_shared<Worker>(std::move(target), std::move(listener), timings))
{
    thread_ = std::thread([w = worker_] { w->run(); });
}

ReadingPublisher::~ReadingPublisher()
{
    stop();
}

const MqttTarget& ReadingPublisher::target() const
{
    return worker_->target;
}

void ReadingPublisher::follow(const QString& reportPath)
{
    std::lock_guard lock(worker_->mutex);
    if (worker_->reportPath == reportPath)
        return;
    worker_->reportPath = reportPath;
    const QString positionPath = PublishedPositionPath(reportPath);
    const QFileInfo report(reportPath);
    if (QFileInfo::exists(positionPath) && report.exists() && report.size() >= kRecordSize)
        return;  // a position, or a damaged one the publishing deals with
    // No position yet, or one left by a report that is gone (the window's scratch report is
    // deleted when the window closes without keeping it): the report starts anew.
    // Publishing starts at the report's current end.
    std::vector<MeasurementRecord> last;
    qint64 total = 0;
    readRecords(reportPath, 0, 0, last, total);
    PublishedPosition start{total, std::nullopt};
    if (total > 0 && readRecords(reportPath, total - 1, 1, last, total) && !last.empty())
        start.last = last.front();
    else
        start.records = 0;
    WritePublishedPosition(positionPath, start);
}

void ReadingPublisher::readingStored(uint16_t serial, double stamp, int utcOffsetSeconds)
{
    std::lock_guard lock(worker_->mutex);
    worker_->liveOffsets.push_back({stamp, utcOffsetSeconds});
    if (worker_->liveOffsets.size() > Worker::kLiveOffsets)
        worker_->liveOffsets.pop_front();
    worker_->serial = serial;
    worker_->haveSerial = true;
    worker_->newRecords = true;
    worker_->wake.notify_all();
}

void ReadingPublisher::reportMoved(const QString& fromPath, const QString& toPath)
{
    std::lock_guard lock(worker_->mutex);
    const QString from = PublishedPositionPath(fromPath), to = PublishedPositionPath(toPath);
    if (from != to)
        std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData());
    if (worker_->reportPath == fromPath)
        worker_->reportPath = toPath;
    if (worker_->publishingPath == fromPath)
        worker_->publishingPath = toPath;
}

qint64 ReadingPublisher::stop(int flushMs, Flush flush)
{
    if (!thread_.joinable())
        return unpublished_;
    std::unique_lock lock(worker_->mutex);
    if (!worker_->stopping) {
        worker_->stopping = true;
        worker_->connectBeforeStop = flush == Flush::ConnectingFirst;
        worker_->flushDeadline = Steady::now() + milliseconds(flushMs);
        worker_->wake.notify_all();
    }
    // A connection attempt stuck in the system (a name lookup) does not hold the program:
    // the thread is left to end on its own; it owns what it uses.
    const bool done = worker_->finishedCv.wait_for(lock, milliseconds(flushMs + 2000), [&] { return worker_->finished; });
    lock.unlock();
    if (done) {
        unpublished_ = worker_->unpublished;
        thread_.join();
    } else {
        thread_.detach();
    }
    return unpublished_;
}
