// A push button that stands for an action: it shows the action's caption and hints, follows its
// enabled state and triggers it when clicked.
#pragma once

#include <QAction>
#include <QPushButton>

inline void BindButtonToAction(QPushButton* button, QAction* action)
{
    auto sync = [button, action] {
        button->setText(action->text());
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
}
