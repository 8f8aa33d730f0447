// The Clock seam: the local date and time now, and a millisecond sleep.
// Tests give a virtual clock so that retries and waits cost no real time.
#pragma once

#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual void sleep(int milliseconds) = 0;
};

// The real clock of the machine.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
    void sleep(int milliseconds) override;

    static SystemClock& instance();
};
