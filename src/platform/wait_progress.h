// What a long operation needs from the wait window: a text line, a progress bar, showing it
// with one pass of the pending window messages so that it paints, and hiding it. Widget-free
// so that core operations can drive it; the wait window WaitWindow implements it.
#pragma once

#include <QString>

class WaitProgress {
public:
    virtual ~WaitProgress() = default;
    virtual void SetText(const QString& text) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Position() const = 0;
    // Advances the bar by its step of 1.
    virtual void StepIt() = 0;
    // Shows the window and lets the pending window messages run once.
    virtual void Show() = 0;
    // Lets the pending window messages run (the window repaints, clicks and ticks are handled).
    virtual void ProcessMessages() = 0;
    virtual void Hide() = 0;
};
