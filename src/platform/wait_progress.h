// What a long operation needs from the wait window: a text line, a progress bar, showing it
// with one pass of the pending window messages so that it paints, and hiding it. Widget-free
// so that core operations can drive it; the wait window WaitWindow implements it.
#pragma once

#include <QString>

class WaitProgress {
public:
    virtual ~WaitProgress() = default;
    virtual void setText(const QString& text) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual int position() const = 0;
    // Advances the bar by its step of 1.
    virtual void stepIt() = 0;
    // Shows the window and lets the pending window messages run once.
    virtual void showWindow() = 0;
    // Lets the pending window messages run (the window repaints, clicks and ticks are handled).
    virtual void processMessages() = 0;
    virtual void hideWindow() = 0;
};
