#include "logging/reading_cycle.h"

#include "device/meter_session.h"
#include "device/serial_line.h"

#include <memory>

namespace {

// Marks a step of the cycle for as long as it runs.
struct Step {
    explicit Step(bool& flag) : flag_(flag) { flag_ = true; }
    ~Step() { flag_ = false; }
    bool& flag_;
};

}  // namespace

ReadingCycle::ReadingCycle(MeterSession& session, QObject* parent) : QObject(parent), session_(session)
{
    qRegisterMetaType<ReadingOutcome>("ReadingOutcome");
}

bool ReadingCycle::start(const QString& portName, bool usb)
{
    const Step step(insideStep_);
    if (running_)
        return false;
    running_ = true;
    // Until the session says otherwise nothing was read: an error that ends the work early
    // never passes for a reading.
    auto outcome = std::make_shared<ReadingOutcome>();
    outcome->kind = ReadingOutcome::Kind::NoAnswer;
    Clock& clock = session_.clock();
    session_.post(
        [outcome, portName, usb, &clock](SerialLine& line, RegisterProtocol& protocol) {
            std::optional<MeterReading> reading;
            bool outOfStep = false;
            const SessionEnd end = RunSession(line, clock, portName, [&] {
                reading = ReadMeter(protocol, clock, usb, &outOfStep);
            });
            switch (end.kind) {
            case SessionEnd::Kind::CannotOpen:
                outcome->kind = ReadingOutcome::Kind::CannotOpen;
                outcome->detail = end.why;
                break;
            case SessionEnd::Kind::StoppedAnswering:
                outcome->kind = ReadingOutcome::Kind::StoppedAnswering;
                break;
            case SessionEnd::Kind::Done:
                if (reading) {
                    outcome->kind = ReadingOutcome::Kind::Taken;
                    outcome->reading = *reading;
                } else {
                    outcome->kind = outOfStep ? ReadingOutcome::Kind::OutOfStep : ReadingOutcome::Kind::NoAnswer;
                }
                break;
            }
        },
        [this, outcome] {
            const Step step(insideStep_);
            running_ = false;
            emit finished(*outcome);
        });
    return true;
}
