// A label placed as designed: its text at a point of its parent, sized to the text.
#pragma once

#include <QLabel>

inline QLabel* DesignLabel(const QString& text, QWidget* parent, QPoint at, const char* name = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}
