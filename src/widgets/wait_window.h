// WaitWindow: the wait window of long operations, a borderless window kept on top with a text
// line and a progress bar. Shown without modality, so the main window stays usable.
#pragma once

#include "platform/wait_progress.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

class WaitWindow : public QWidget, public WaitProgress {
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* owner = nullptr);

    void setText(const QString& text) override;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    int position() const override;
    void stepIt() override;
    void showWindow() override;
    void processMessages() override;
    void hideWindow() override;

    // Long operations let messages run after every record. A pass costs about a microsecond
    // even when nothing is pending, a million of them most of a second; so a pass runs when
    // the window changed (shown, hidden, new text) or PassInterval has gone by since the last
    // one, which keeps the bar moving and the window answering at the same pace.
    static constexpr int PassInterval = 10;  // ms

private:
    void passNow();

    QLabel* text_;         // Label1: "Подождите..." or the running operation's text
    QProgressBar* bar_;    // ProgressBar1

    QElapsedTimer sinceLastPass_;
    bool passDue_ = true;
};
