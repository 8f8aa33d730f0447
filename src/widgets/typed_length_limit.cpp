#include "widgets/typed_length_limit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

TypedLengthLimit::TypedLengthLimit(QLineEdit* edit, int maxLength) : QObject(edit), edit_(edit), maxLength_(maxLength)
{
    edit->installEventFilter(this);
}

bool TypedLengthLimit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    QString inserted;
    if (key->matches(QKeySequence::Paste))
        inserted = QGuiApplication::clipboard()->text();
    else if (!key->text().isEmpty() && key->text().front().isPrint()
             && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        inserted = key->text();
    if (inserted.isEmpty())
        return false;
    const qsizetype current = edit_->text().size();
    const qsizetype after = current - edit_->selectedText().size() + inserted.size();
    return after > maxLength_ && after > current;
}
