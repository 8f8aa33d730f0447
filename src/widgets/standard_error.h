// The standard error box: an error that no handler caught ends the event it came from and is
// shown titled "Kelmora" with an error icon; the program then waits for the next event.
#pragma once

#include <QApplication>

class Dialogs;
class QEvent;
class QObject;

// Shows the message in the standard error box, a full stop appended by StandardErrorText.
void ShowStandardError(Dialogs& dialogs, const QString& message);

// Delivers one event through QApplication's own delivery; an exception escaping the receiver
// is caught here and shown in the standard error box. Returns false for a failed event.
bool DeliverGuarded(QApplication& app, QObject* receiver, QEvent* event, Dialogs& dialogs);

// The program's application object: every event passes through DeliverGuarded.
class KelmoraApplication : public QApplication {
public:
    KelmoraApplication(int& argc, char** argv);
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* dialogs_ = nullptr;
};
