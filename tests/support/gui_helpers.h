// Small event helpers for widget tests (the test executables link no Qt Test module):
// waiting for a window state while events run, and keys that enter through the window
// system, so that shortcuts are matched exactly as for a real key press.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <stdexcept>
#include <string>

// Exported by Qt's GUI library: a key event as the window system delivers it.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                    const QString& text = QString(), bool autorepeat = false, ushort count = 1);

namespace gui {

// The object of that designer name (its objectName) below root. Asking for one that is not
// there ends the test with the name in the message.
template <typename T>
T* named(const QObject& root, const char* name)
{
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no ") + name + " of the expected type below " +
                                 root.objectName().toStdString());
    return found;
}

// Lets events run until the condition holds; false when it never did (an upper bound on
// waiting, not a measurement).
inline bool waitUntil(const std::function<bool()>& condition, int boundMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > boundMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline bool waitExposed(QWidget* w)
{
    return waitUntil([w] { return w->windowHandle() && w->windowHandle()->isExposed(); });
}

inline bool waitActive(QWidget* w)
{
    w->activateWindow();
    return waitUntil([w] { return QApplication::activeWindow() == w->window(); });
}

// A key pressed while the focus is in the given widget's window.
inline void keyClick(QWidget* focus, Qt::Key key, const QString& text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWindow* window = focus->window()->windowHandle();
    qt_handleKeyEvent(window, QEvent::KeyPress, key, modifiers, text);
    qt_handleKeyEvent(window, QEvent::KeyRelease, key, modifiers, text);
    QApplication::processEvents();
}

inline void typeText(QWidget* focus, const QString& text)
{
    for (QChar c : text)
        keyClick(focus, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c));
}

inline void mouseClick(QWidget* w, QPoint at = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton)
{
    if (at == QPoint(-1, -1))
        at = w->rect().center();
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Runs act once the dialog runs modally (its own loop has started), then closes it unless act
// did.
inline void whileModal(QDialog& dialog, const std::function<void()>& act)
{
    auto* poll = new QTimer(&dialog);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog, act, poll] {
        if (QApplication::activeModalWidget() != &dialog)
            return;
        poll->stop();
        poll->deleteLater();
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
    poll->start();
}

// Counts the emissions of a signal while it lives.
class SignalCount : public QObject {
public:
    template <typename Sender, typename Signal>
    SignalCount(Sender* sender, Signal signal)
    {
        QObject::connect(sender, signal, this, [this] { ++count_; });
    }
    int count() const { return count_; }

private:
    int count_ = 0;
};

}  // namespace gui
