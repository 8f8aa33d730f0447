// WaitWindow: the wait window of long operations, a borderless window kept on top with a text
// line and a progress bar. Shown without modality, so the main window stays usable.
#pragma once

#include "platform/wait_progress.h"

#include <QElapsedTimer>
#include <QWidget>

class BevelPanel;
class QLabel;
class QProgressBar;

class WaitWindow : public QWidget, public WaitProgress {
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* owner = nullptr);

    void SetText(const QString& text) override;
    void SetMaximum(int maximum) override;
    void SetPosition(int position) override;
    int Position() const override;
    void StepIt() override;
    void Show() override;
    void ProcessMessages() override;
    void Hide() override;

    BevelPanel* Panel1;
    QLabel* Label1;
    QProgressBar* ProgressBar1;

    // Long operations let messages run after every record. A pass costs about a microsecond
    // even when nothing is pending, a million of them most of a second; so a pass runs when
    // the window changed (shown, hidden, new text) or PassInterval has gone by since the last
    // one, which keeps the bar moving and the window answering at the same pace.
    static constexpr int PassInterval = 10;  // ms

private:
    void passNow();

    QElapsedTimer sinceLastPass_;
    bool passDue_ = true;
};
