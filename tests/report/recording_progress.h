// A wait window that writes down what a core operation does with it.
#pragma once

#include "platform/wait_progress.h"

#include <QString>
#include <QStringList>

#include <functional>

class RecordingProgress : public WaitProgress {
public:
    void SetText(const QString& text) override { events << QStringLiteral("text ") + text; }
    void SetMaximum(int maximum) override { events << QStringLiteral("max %1").arg(maximum); }
    void SetPosition(int position) override
    {
        position_ = position;
        lastPosition = position;
    }
    int Position() const override { return position_; }
    void StepIt() override { ++position_; }
    void Show() override
    {
        visible = true;
        events << QStringLiteral("show");
        ++pumps;
    }
    void ProcessMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    void Hide() override
    {
        visible = false;
        events << QStringLiteral("hide");
    }

    QStringList events;
    int pumps = 0;
    int lastPosition = -1;
    bool visible = false;
    std::function<void()> onPump;

private:
    int position_ = 0;
};
