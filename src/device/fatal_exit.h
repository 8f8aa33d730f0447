// The FatalExit seam: the end of the program when a meter that answered stops answering.
// The window shows "Устройство не отвечает !" and ends with a failure status; the command-line
// tool prints it and ends with its own status; tests observe the call. A meter session that
// runs away from the window (on its own thread) throws MeterStoppedAnswering instead, and its
// owner decides what the end means.
#pragma once

class FatalExit {
public:
    virtual ~FatalExit() = default;
    [[noreturn]] virtual void deviceNotResponding() = 0;
};

// A meter that answered stopped answering in the middle of a session.
struct MeterStoppedAnswering {};

class ThrowingFatalExit : public FatalExit {
public:
    [[noreturn]] void deviceNotResponding() override { throw MeterStoppedAnswering{}; }
};
