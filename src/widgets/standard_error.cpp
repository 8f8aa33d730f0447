#include "widgets/standard_error.h"

#include "platform/error_text.h"
#include "widgets/dialogs.h"

#include <exception>

void ShowStandardError(Dialogs& dialogs, const QString& message)
{
    dialogs.standardError(StandardErrorText(message));
}

bool DeliverGuarded(QApplication& app, QObject* receiver, QEvent* event, Dialogs& dialogs)
{
    try {
        return app.QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowStandardError(dialogs, QString::fromUtf8(e.what()));
    } catch (...) {
        ShowStandardError(dialogs, QStringLiteral("Unknown error"));
    }
    return false;
}

KelmoraApplication::KelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KelmoraApplication::notify(QObject* receiver, QEvent* event)
{
    if (!dialogs_)
        return QApplication::notify(receiver, event);
    return DeliverGuarded(*this, receiver, event, *dialogs_);
}
