// One reading as a cycle of steps that never waits in the thread that starts it: the session
// on the meter (port, lines, settle, probe, time stamp, the three registers and the serial
// number again, lines down, filler, close) runs on the meter session's thread, and the outcome
// comes back as finished(), where its owner stores, publishes and shows it. The window and
// kelmora-cli log take their readings through it.
#pragma once

#include "logging/meter_reading.h"

#include <QObject>
#include <QString>

class MeterSession;

// What became of one reading.
struct ReadingOutcome {
    enum class Kind {
        Taken,             // the meter was read: reading holds the values
        CannotOpen,        // the port could not be opened (detail: the system's reason)
        NoAnswer,          // the meter did not answer the probe
        OutOfStep,         // the replies came out of step; the values are not to be trusted
        StoppedAnswering,  // the meter answered the probe and stopped answering
    };
    Kind kind = Kind::Taken;
    MeterReading reading;
    QString detail;
};

class ReadingCycle : public QObject {
    Q_OBJECT
public:
    explicit ReadingCycle(MeterSession& session, QObject* parent = nullptr);

    // Starts a reading of the meter on the port of that name; false, and nothing happens,
    // while a reading runs.
    bool start(const QString& portName, bool usb);
    bool running() const { return running_; }
    // True while a step of the cycle runs in this thread: starting it, or handing over its
    // outcome (finished() and the handlers it calls). Nothing else may run inside a step; a
    // test watches this to catch a handler that lets other events run.
    bool insideStep() const { return insideStep_; }

signals:
    // The reading is over (running() is false already); its outcome, in the thread that
    // started it, never inside another handler of it.
    void finished(const ReadingOutcome& outcome);

private:
    MeterSession& session_;
    bool running_ = false;
    bool insideStep_ = false;
};
