// Anchoring of controls placed at fixed design positions: each control keeps its distance to
// the sides of its parent it is anchored to, so it moves or stretches when the parent resizes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace Anchor {
enum : unsigned { Left = 1, Top = 2, Right = 4, Bottom = 8, TopLeft = Left | Top, All = 15 };
}

class Anchors : public QObject {
public:
    // parent: the container; designSize: its size as designed, which the design places refer to.
    Anchors(QWidget* parent, QSize designSize);

    // Puts the control at its design place and keeps it anchored from now on.
    void place(QWidget* control, QRect designGeometry, unsigned anchors = Anchor::TopLeft);

    // Lays every control out again for the parent's current size.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QPointer<QWidget> control;
        QRect design;
        unsigned anchors;
    };
    QWidget* parent_;
    QSize design_;
    std::vector<Item> items_;
};
