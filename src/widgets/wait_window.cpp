#include "widgets/wait_window.h"

#include "widgets/design_font.h"

#include "widgets/bevel_panel.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

WaitWindow::WaitWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("WaitForm"));
    setFixedSize(361, 59);
    // It only shows progress: the keyboard stays where the user was working.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setFont(DesignFont());
    auto* panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setBevels(BevelPanel::Bevel::Raised, BevelPanel::Bevel::None);
    panel->setGeometry(0, 0, 361, 59);

    text_ = new QLabel(QStringLiteral("Подождите..."), panel);
    text_->setObjectName(QStringLiteral("Label1"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setGeometry(10, 10, 343, 13);

    bar_ = new QProgressBar(panel);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setGeometry(8, 32, 345, 16);
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
}

void WaitWindow::setText(const QString& text)
{
    text_->setText(text);
    passDue_ = true;
}

void WaitWindow::setMaximum(int maximum)
{
    bar_->setMaximum(maximum);
}

void WaitWindow::setPosition(int position)
{
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

int WaitWindow::position() const
{
    return bar_->value();
}

void WaitWindow::stepIt()
{
    // The classic bar wraps to its minimum when a step passes the maximum.
    const int next = bar_->value() + 1;
    bar_->setValue(next > bar_->maximum() ? bar_->minimum() : next);
}

void WaitWindow::showWindow()
{
    if (!isVisible()) {
        if (const QScreen* screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    raise();
    passNow();
}

void WaitWindow::processMessages()
{
    if (passDue_ || !sinceLastPass_.isValid() || sinceLastPass_.elapsed() >= PassInterval)
        passNow();
}

void WaitWindow::passNow()
{
    passDue_ = false;
    QApplication::processEvents();
    sinceLastPass_.start();
}

void WaitWindow::hideWindow()
{
    hide();
    passDue_ = true;
}
