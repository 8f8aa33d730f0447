#include "widgets/anchors.h"

#include <QEvent>

Anchors::Anchors(QWidget* parent, QSize designSize) : QObject(parent), parent_(parent), design_(designSize)
{
    parent->installEventFilter(this);
}

void Anchors::place(QWidget* control, QRect designGeometry, unsigned anchors)
{
    items_.push_back({control, designGeometry, anchors});
    apply();
}

void Anchors::apply()
{
    const int dw = parent_->width() - design_.width();
    const int dh = parent_->height() - design_.height();
    for (const Item& item : items_) {
        if (!item.control)
            continue;
        QRect g = item.design;
        const bool left = item.anchors & Anchor::Left;
        const bool right = item.anchors & Anchor::Right;
        const bool top = item.anchors & Anchor::Top;
        const bool bottom = item.anchors & Anchor::Bottom;
        if (left && right)
            g.setWidth(std::max(0, g.width() + dw));
        else if (right)
            g.moveLeft(g.left() + dw);
        else if (!left)
            g.moveLeft(g.left() + dw / 2);
        if (top && bottom)
            g.setHeight(std::max(0, g.height() + dh));
        else if (bottom)
            g.moveTop(g.top() + dh);
        else if (!top)
            g.moveTop(g.top() + dh / 2);
        item.control->setGeometry(g);
    }
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent_ && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}
