// A clock whose time moves only when someone sleeps on it.
#pragma once

#include "platform/clock.h"

#include <vector>

class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 3, 14), QTime(10, 0)))
        : now_(std::move(start)) {}

    QDateTime now() const override { return now_; }
    void sleep(int milliseconds) override
    {
        sleeps_.push_back(milliseconds);
        now_ = now_.addMSecs(milliseconds);
        elapsed_ += milliseconds;
    }

    void advance(qint64 ms) { now_ = now_.addMSecs(ms); elapsed_ += ms; }
    void set(const QDateTime& t) { now_ = t; }
    qint64 elapsed() const { return elapsed_; }
    const std::vector<int>& sleeps() const { return sleeps_; }

private:
    QDateTime now_;
    qint64 elapsed_ = 0;
    std::vector<int> sleeps_;
};
