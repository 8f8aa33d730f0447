// A wait window that writes down what a core operation does with it.
#pragma once

#include "platform/wait_progress.h"

#include <QString>
#include <QStringList>

#include <functional>

class RecordingProgress : public WaitProgress {
public:
    void setText(const QString& text) override { events << QStringLiteral("text ") + text; }
    void setMaximum(int maximum) override { events << QStringLiteral("max %1").arg(maximum); }
    void setPosition(int position) override
    {
        position_ = position;
        lastPosition = position;
    }
    int position() const override { return position_; }
    void stepIt() override { ++position_; }
    void showWindow() override
    {
        visible = true;
        events << QStringLiteral("show");
        ++pumps;
    }
    void processMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    void hideWindow() override
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
