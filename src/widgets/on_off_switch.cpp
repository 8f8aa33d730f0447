#include "widgets/on_off_switch.h"

#include <QPainter>

OnOffSwitch::OnOffSwitch(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    setText(caption);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
}

void OnOffSwitch::setOn(bool on)
{
    if (on == isChecked())
        return;
    setChecked(on);
    on ? emit switchedOn() : emit switchedOff();
}

void OnOffSwitch::nextCheckState()
{
    setOn(!isChecked());
}

QSize OnOffSwitch::sizeHint() const
{
    return {251, 24};
}

void OnOffSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The slide: 36 × 16 at the left, green while on.
    const QRectF track(2, (height() - 16) / 2.0, 36, 16);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(isChecked() ? QColor(0x2E, 0xA0, 0x43) : QColor(0xC8, 0xC8, 0xC8));
    p.drawRoundedRect(track, 8, 8);
    const qreal knobX = isChecked() ? track.right() - 15 : track.left() + 1;
    p.setBrush(isEnabled() ? Qt::white : QColor(0xE8, 0xE8, 0xE8));
    p.drawEllipse(QRectF(knobX, track.top() + 1, 14, 14));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.setFont(font());
    const QRect textRect(46, 0, width() - 46, height());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text());
    if (hasFocus()) {
        QRect f = p.fontMetrics().boundingRect(textRect, Qt::AlignVCenter | Qt::AlignLeft, text()).adjusted(-2, 0, 2, 0);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(f);
    }
}
