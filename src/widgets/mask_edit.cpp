#include "widgets/mask_edit.h"

#include "report/number_format.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent)
{
    QLineEdit::setMaxLength(Length);
    setDragEnabled(false);
    setAcceptDrops(false);
    // The line edit's own undo and cut would change the screen text behind the mask's back.
    setContextMenuPolicy(Qt::NoContextMenu);
    refresh(0);
}

bool MaskEdit::accepts(int position, QChar c)
{
    if (position == 0)
        return c.isDigit() || c == u'+' || c == u'-';
    if (position == CommaPosition)
        return c == u',';
    return position > 0 && position < Length && c >= u'0' && c <= u'9';
}

QString MaskEdit::text() const
{
    QString t(Length, u' ');
    for (int i = 0; i < Length; ++i)
        t[i] = i == CommaPosition ? QChar(u',') : (chars_[i].isNull() ? QChar(u' ') : chars_[i]);
    return t;
}

void MaskEdit::setText(const QString& text)
{
    const QString kept = MaskedFieldText(text);
    for (int i = 0; i < Length; ++i)
        chars_[i] = (i == CommaPosition || kept[i] == u' ') ? QChar() : kept[i];
    refresh(0);
}

void MaskEdit::refresh(int cursor)
{
    QString shown(Length, u'0');
    for (int i = 0; i < Length; ++i)
        if (i == CommaPosition)
            shown[i] = u',';
        else if (!chars_[i].isNull())
            shown[i] = chars_[i];
    QLineEdit::setText(shown);
    setCursorPosition(std::clamp(cursor, 0, Length));
}

int MaskEdit::nextEditable(int position) const
{
    return position == CommaPosition ? position + 1 : position;
}

int MaskEdit::previousEditable(int position) const
{
    return position == CommaPosition ? position - 1 : position;
}

void MaskEdit::typeAt(QChar c)
{
    int pos = hasSelectedText() ? selectionStart() : cursorPosition();
    if (hasSelectedText())
        clearPositions(selectionStart(), selectionStart() + static_cast<int>(selectedText().size()));
    if (c == u',' ) {
        // Typing the literal just steps over it.
        if (pos <= CommaPosition)
            refresh(CommaPosition + 1);
        return;
    }
    pos = nextEditable(pos);
    if (pos >= Length || !accepts(pos, c)) {
        QApplication::beep();
        return;
    }
    chars_[pos] = c;
    refresh(nextEditable(pos + 1));
    emit edited();
}

void MaskEdit::clearPositions(int from, int to)
{
    for (int i = std::max(0, from); i < std::min(Length, to); ++i)
        if (i != CommaPosition)
            chars_[i] = QChar();
}

void MaskEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        const QString pasted = QApplication::clipboard()->text();
        for (QChar c : pasted)
            typeAt(c);
        return;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)
        || event->matches(QKeySequence::Redo)) {
        return;
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        if (hasSelectedText()) {
            const int from = selectionStart();
            clearPositions(from, from + static_cast<int>(selectedText().size()));
            refresh(from);
        } else if (event->key() == Qt::Key_Backspace) {
            const int pos = previousEditable(cursorPosition() - 1);
            if (pos < 0)
                return;
            clearPositions(pos, pos + 1);
            refresh(pos);
        } else {
            const int pos = nextEditable(cursorPosition());
            if (pos >= Length)
                return;
            clearPositions(pos, pos + 1);
            refresh(pos);
        }
        emit edited();
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        typeAt(typed[0]);
        return;
    }
    // Caret movement, selection, copy and the keys of other controls.
    QLineEdit::keyPressEvent(event);
}

void MaskEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a move to another control of the window counts; a menu, a box or another window
    // taking the focus for a while does not.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit exited();
}
