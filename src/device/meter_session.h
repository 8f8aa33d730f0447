// A session on the meter and the thread that runs it. Every exchange with the meter (a
// connection check, a reading) is one session: the port opened with DTR and RTS raised, about a
// second for the meter to wake, the exchange, then the lines down, 100 bytes 0xAA and the port
// closed, however the exchange ends. Sessions run on a thread of their own (MeterSession), so
// the window never waits for the meter and never lets other work run inside a reading.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class QThread;
class RegisterProtocol;
class SerialLine;

// About one second for the meter to wake after the lines went up: ten sleeps of 100 ms.
void settleWait(Clock& clock);

// ClearDTR, ClearRTS, then the byte 0xAA one hundred times: the filler the meter resynchronises on.
void endSession(SerialLine& line);

constexpr int SessionFillerCount = 100;
constexpr uint8_t SessionFiller = 0xAA;

// Opens the port under the given name and raises DTR and RTS; false when any of the three
// fails (the port then stays as it is, open when only a line operation failed); why gets
// the failure's text.
bool openWithLines(SerialLine& line, QString* why = nullptr);

// Makes `name` the line's port: an open port of another name is closed first (its lines
// dropped when they still can be). The port of that name stays as it is.
void choosePort(SerialLine& line, const QString& name);

// How a session ended.
struct SessionEnd {
    enum class Kind {
        Done,              // the exchange ran to its end (whatever it found)
        CannotOpen,        // the port did not open or its lines did not rise; why says so
        StoppedAnswering,  // the meter answered and then stopped answering
    };
    Kind kind = Kind::Done;
    QString why;
};

// One whole session on the port `portName` (an open port of that name is used as it is):
// open with the lines up, settle, exchange, lines down, filler, close. exchange may throw
// MeterStoppedAnswering; any other error of it passes on after the port is closed.
SessionEnd RunSession(SerialLine& line, Clock& clock, const QString& portName, const std::function<void()>& exchange);

// Detection: candidates from the last name to the first, each opened with its lines raised
// and probed at once. Returns the index of the port that answered (left open with its lines
// raised), or nothing: then the port is closed and its name set to the remembered item's
// (none for an index outside the list).
std::optional<int> DetectMeter(SerialLine& line, RegisterProtocol& protocol, const QStringList& names,
                               int rememberedIndex, bool usb);

// The serial line and its register protocol on a thread of their own. Work handed over runs
// there one piece after the other; its result comes back to the thread of this object through
// its event loop, never inside a handler that is still running. The protocol's fatal end
// throws MeterStoppedAnswering on that thread, for the work to catch.
class MeterSession : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(SerialLine& line, RegisterProtocol& protocol)>;

    MeterSession(std::unique_ptr<SerialLine> line, Clock& clock, QObject* parent = nullptr);
    // Waits for the work in hand, closes the port and ends the thread.
    ~MeterSession() override;

    Clock& clock() const { return clock_; }

    // Hands work over and returns at once; done runs afterwards in this object's thread.
    void post(Work work, std::function<void()> done);
    // Runs work on the session's thread and waits for it (after the work handed over before);
    // an error it throws is thrown here. For short work on the port: choosing, closing, detecting.
    void call(const Work& work);
    // Work handed over whose done has not run yet.
    bool busy() const { return pending_ > 0; }

    // The line itself, for reading its state while no work runs (tests, the port box).
    SerialLine& line() const { return *line_; }

private:
    std::unique_ptr<SerialLine> line_;
    Clock& clock_;
    std::unique_ptr<RegisterProtocol> protocol_;
    std::unique_ptr<class ThrowingFatalExit> fatal_;
    QThread* thread_;
    QObject* worker_;
    int pending_ = 0;
};
