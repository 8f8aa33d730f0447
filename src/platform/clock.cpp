#include "platform/clock.h"

#include <QThread>

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

SystemClock& SystemClock::instance()
{
    static SystemClock clock;
    return clock;
}
