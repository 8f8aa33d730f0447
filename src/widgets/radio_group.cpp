#include "widgets/radio_group.h"

#include <QRadioButton>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent)
{
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setAutoExclusive(true);
        connect(b, &QRadioButton::clicked, this, [this, i] { setItemIndex(i); });
        buttons_ << b;
    }
    layoutButtons();
}

void RadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, count() - 1);
    if (index == index_)
        return;
    index_ = index;
    for (int i = 0; i < count(); ++i) {
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(i == index_);
        buttons_[i]->setAutoExclusive(true);
    }
    emit clicked();
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

void RadioGroup::layoutButtons()
{
    // The entries share the space below the caption evenly, as the classic group does.
    const QRect area = contentsRect().adjusted(8, 0, -4, -2);
    if (buttons_.isEmpty() || area.height() <= 0)
        return;
    const int rowHeight = area.height() / count();
    for (int i = 0; i < count(); ++i)
        buttons_[i]->setGeometry(area.left(), area.top() + i * rowHeight, area.width(), rowHeight);
}
