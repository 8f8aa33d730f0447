#include "widgets/analog_clock.h"

#include "platform/clock.h"

#include <QPainter>
#include <QtMath>

AnalogClock::AnalogClock(Clock& clock, QWidget* parent) : QWidget(parent), clock_(clock)
{
    shown_ = clock_.now().time();
    timer_.setInterval(RefreshMs);
    connect(&timer_, &QTimer::timeout, this, &AnalogClock::tick);
    timer_.start();
}

void AnalogClock::setBorderWidth(int width)
{
    border_ = width;
    update();
}

void AnalogClock::tick()
{
    const QTime now = clock_.now().time();
    if (now.second() != shown_.second() || now.minute() != shown_.minute() || now.hour() != shown_.hour()) {
        shown_ = now;
        update();
    }
}

void AnalogClock::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(border_, border_, -border_, -border_);
    const qreal side = std::min(area.width(), area.height());
    p.translate(area.center());
    p.scale(side / 200.0, side / 200.0);

    // Face: a light dial with hour and minute marks.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    p.setBrush(QColor(0xFA, 0xFA, 0xF4));
    p.drawEllipse(QPointF(0, 0), 96, 96);
    for (int i = 0; i < 60; ++i) {
        p.save();
        p.rotate(i * 6.0);
        if (i % 5 == 0) {
            p.setPen(QPen(Qt::black, i % 15 == 0 ? 5 : 3, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(0, -90), QPointF(0, -76));
        } else {
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(0, -90), QPointF(0, -85));
        }
        p.restore();
    }

    const qreal seconds = shown_.second();
    const qreal minutes = shown_.minute() + seconds / 60.0;
    const qreal hours = (shown_.hour() % 12) + minutes / 60.0;
    auto hand = [&p](qreal angle, qreal length, qreal width, const QColor& color) {
        p.save();
        p.rotate(angle);
        p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, length * 0.15), QPointF(0, -length));
        p.restore();
    };
    hand(hours * 30.0, 50, 7, QColor(0x20, 0x20, 0x20));
    hand(minutes * 6.0, 74, 5, QColor(0x20, 0x20, 0x20));
    hand(seconds * 6.0, 82, 1.5, QColor(0xC0, 0x00, 0x00));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC0, 0x00, 0x00));
    p.drawEllipse(QPointF(0, 0), 4, 4);
}
