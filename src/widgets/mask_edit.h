// The masked number field "!#99,9;1;0": a sign or digit, two digits, a fixed decimal comma and
// one digit, every position optional. text() gives the classic masked-field text: the comma
// kept and every untyped position a blank ("+  , ", "-4 , "); on screen an untyped position
// shows "0". Typing overwrites, Backspace and Delete clear positions; the caret skips the comma.
#pragma once

#include <QLineEdit>

#include <array>

class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int Length = 5;
    static constexpr int CommaPosition = 3;

    explicit MaskEdit(QWidget* parent = nullptr);

    // The field's text with blanks in untyped positions. Deliberately hides QLineEdit::text(),
    // which would give the screen form with zeros.
    QString text() const;
    // Puts a text into the mask: each character that fits its position is taken as typed,
    // anything else leaves the position blank; the comma stays where the mask has it.
    void setText(const QString& text);

    // Whether a character may stand at a mask position.
    static bool accepts(int position, QChar c);

signals:
    // The user changed the text (typing, clearing, pasting).
    void edited();
    // The field lost the focus: the classic "exit" of an edit field.
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void typeAt(QChar c);
    void clearPositions(int from, int to);
    void refresh(int cursor);
    int nextEditable(int position) const;
    int previousEditable(int position) const;

    std::array<QChar, Length> chars_{};   // a null QChar is an untyped position
};
