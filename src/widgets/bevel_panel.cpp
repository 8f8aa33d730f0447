#include "widgets/bevel_panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

void drawBevel(QPainter& p, QRect& r, BevelPanel::Bevel bevel, const QPalette& pal)
{
    if (bevel == BevelPanel::Bevel::None)
        return;
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor topLeft = bevel == BevelPanel::Bevel::Raised ? light : shadow;
    const QColor bottomRight = bevel == BevelPanel::Bevel::Raised ? shadow : light;
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void BevelPanel::setBevels(Bevel outer, Bevel inner)
{
    outer_ = outer;
    inner_ = inner;
    setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
    update();
}

void BevelPanel::setBorderWidth(int width)
{
    border_ = width;
    setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
    update();
}

int BevelPanel::frameWidth() const
{
    return (outer_ != Bevel::None) + (inner_ != Bevel::None) + border_;
}

void BevelPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void BevelPanel::setBackground(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    drawBevel(p, r, outer_, palette());
    r.adjust(border_, border_, -border_, -border_);
    drawBevel(p, r, inner_, palette());
    if (!caption_.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter, caption_);
    }
}

void BevelPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
