// Publishes the readings of a report file to an MQTT broker, in their order in the file, each
// once the broker has acknowledged the one before it has been sent (QoS 1). The report file is
// the truth: the publisher reads the records from it, so readings logged while the broker was
// unreachable, or while no logger ran, go out in order once it answers again, and the
// acknowledged position is kept beside the report (see published_position.h).
//
// All network work happens on the publisher's own thread; the calls below only take a lock
// and touch small files, so a dead broker never delays a reading or a window.
#pragma once

#include "publish/mqtt_target.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

struct PublisherTimings {
    int keepAliveSeconds = 30;    // the broker and we notice a dead connection within 1.5 times this; at least 5
    int retryMs = 1000;           // the first wait before another attempt to connect; it doubles ...
    int retryMaxMs = 30000;       // ... up to this
    int connectTimeoutMs = 10000; // an attempt with no answer within this counts as failed
    int positionWriteMs = 500;    // the position file is written this often while publishing, and after every 100 acknowledgements
};

// What the publisher has to say, on its own thread.
struct PublisherEvent {
    enum class Kind {
        Connected,  // connected (again); backlog: readings logged and not yet published
        Failing,    // the first failure of a streak: the broker cannot be reached or refused us
        PositionNotWritten,  // the position file cannot be written (said once per streak too)
        PositionDamaged,  // the position file is there but holds no position (detail: its path);
                          // the readings stamped since `since` are published again
        Refused,    // the broker refuses a message (detail: "topic: reason"): readings once per
                    // streak (they stay unpublished and are sent again as after a failure,
                    // the streak ends with Connected again), status and discovery once a run

    };
    Kind kind;
    QString detail;          // the library's or the system's reason, for Failing and PositionNotWritten; topic and reason for Refused
    qint64 backlog = 0;
    bool again = false;      // Connected after a failure
    QDateTime since;         // PositionDamaged
};

class ReadingPublisher {
public:
    using Listener = std::function<void(const PublisherEvent&)>;

    ReadingPublisher(MqttTarget target, Listener listener, PublisherTimings timings = {});
    // Stops with stop() and its default flush.
    ~ReadingPublisher();
    ReadingPublisher(const ReadingPublisher&) = delete;
    ReadingPublisher& operator=(const ReadingPublisher&) = delete;

    // Before a record is appended to reportPath: this is the report the readings go to. The
    // first time a report is followed without a position file, the file is made at the report's
    // current end, so that readings logged before publishing was configured are not sent,
    // and every reading appended from now on is. A position file that is there but damaged is
    // left to the publishing, which says so and sends the readings since it was last written.
    void follow(const QString& reportPath);
    // After a record of the meter `serial` was appended to the followed report; stamp is its
    // time stamp and utcOffsetSeconds the local offset in force when it was taken, which its
    // message carries (where the clocks went back, the file alone cannot always tell).
    void readingStored(uint16_t serial, double stamp, int utcOffsetSeconds);
    // The report file moved (saved under another name): its position moves with it.
    void reportMoved(const QString& fromPath, const QString& toPath);

    // How stop() treats a connection that is not up: WhileConnected ends at once (a window that
    // closes while the broker is away); ConnectingFirst goes on connecting within the flush time
    // when readings wait (a run of one reading, which ends before its connection is up).
    enum class Flush { WhileConnected, ConnectingFirst };

    // Ends publishing: the readings not yet published are sent for up to flushMs (see Flush),
    // then the status "offline" is published and the connection closed; the position is
    // written. Returns at the latest about flushMs + 2 s later even when the network hangs.
    // Gives how many records of the report are not yet published (-1 when that is not known).
    qint64 stop(int flushMs = 3000, Flush flush = Flush::WhileConnected);

    const MqttTarget& target() const;

    struct Worker;

private:
    std::shared_ptr<Worker> worker_;
    std::thread thread_;
    qint64 unpublished_ = -1;
};

// A text of libmosquitto (mosquitto_strerror, mosquitto_connack_string) in the language of the
// run: translated where the program knows it, else as the library gave it.
QString MqttLibraryText(const char* text);
