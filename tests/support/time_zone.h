// The local time zone of a test (TZ), put back when it ends.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

class TimeZone {
public:
    explicit TimeZone(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~TimeZone()
    {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    QByteArray old_;
    bool had_;
};
