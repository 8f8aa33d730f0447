// TWaitForm: the wait window of long operations, a borderless window kept on top with a text
// line and a progress bar. Shown without modality, so the main window stays usable.
#pragma once

#include "app/wait_progress.h"

#include <QWidget>

class BevelPanel;
class QLabel;
class QProgressBar;

class TWaitForm : public QWidget, public WaitProgress {
    Q_OBJECT
public:
    explicit TWaitForm(QWidget* owner = nullptr);

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
};
