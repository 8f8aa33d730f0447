// A clock whose time moves only when someone sleeps on it. The meter session sleeps on it in
// its own thread while the window reads it: every use is under one lock.
#pragma once

#include "platform/clock.h"

#include <mutex>
#include <vector>

class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 3, 14), QTime(10, 0)))
        : now_(std::move(start)) {}

    QDateTime now() const override
    {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void sleep(int milliseconds) override
    {
        std::lock_guard lock(mutex_);
        sleeps_.push_back(milliseconds);
        now_ = now_.addMSecs(milliseconds);
        elapsed_ += milliseconds;
    }

    void advance(qint64 ms)
    {
        std::lock_guard lock(mutex_);
        now_ = now_.addMSecs(ms);
        elapsed_ += ms;
    }
    void set(const QDateTime& t)
    {
        std::lock_guard lock(mutex_);
        now_ = t;
    }
    qint64 elapsed() const
    {
        std::lock_guard lock(mutex_);
        return elapsed_;
    }
    // Read while nobody sleeps.
    const std::vector<int>& sleeps() const { return sleeps_; }

private:
    mutable std::mutex mutex_;
    QDateTime now_;
    qint64 elapsed_ = 0;
    std::vector<int> sleeps_;
};
