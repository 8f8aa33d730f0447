// RxClock1: an analog clock face with hour, minute and second hands, refreshed by its own
// 450 ms timer from the program's Clock.
#pragma once

#include <QTime>
#include <QTimer>
#include <QWidget>

class Clock;

class AnalogClock : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 450;

    AnalogClock(Clock& clock, QWidget* parent = nullptr);

    void setBorderWidth(int width);
    QTimer& timer() { return timer_; }
    // The time the face shows now.
    QTime shownTime() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tick();

    Clock& clock_;
    QTimer timer_;
    QTime shown_;
    int border_ = 0;
};
