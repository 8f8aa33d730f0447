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
    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(BevelPanel::Bevel::Raised, BevelPanel::Bevel::None);
    Panel1->setGeometry(0, 0, 361, 59);

    Label1 = new QLabel(QStringLiteral("Подождите..."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(10, 10, 343, 13);

    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 32, 345, 16);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void WaitWindow::SetText(const QString& text)
{
    Label1->setText(text);
    passDue_ = true;
}

void WaitWindow::SetMaximum(int maximum)
{
    ProgressBar1->setMaximum(maximum);
}

void WaitWindow::SetPosition(int position)
{
    ProgressBar1->setValue(std::clamp(position, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

int WaitWindow::Position() const
{
    return ProgressBar1->value();
}

void WaitWindow::StepIt()
{
    // The classic bar wraps to its minimum when a step passes the maximum.
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next > ProgressBar1->maximum() ? ProgressBar1->minimum() : next);
}

void WaitWindow::Show()
{
    if (!isVisible()) {
        if (const QScreen* screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    raise();
    passNow();
}

void WaitWindow::ProcessMessages()
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

void WaitWindow::Hide()
{
    hide();
    passDue_ = true;
}
