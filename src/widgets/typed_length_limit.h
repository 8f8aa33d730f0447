// A length limit for what the user types into a line edit, where a text the program puts there
// (a value from the settings file) must pass unchanged, however long it is. QLineEdit's own
// maximum length would cut such a text, and a validator cannot tell the program's text from
// the user's.
#pragma once

#include <QObject>

class QLineEdit;

class TypedLengthLimit : public QObject {
public:
    // Watches the edit's keys (it becomes the limit's parent).
    TypedLengthLimit(QLineEdit* edit, int maxLength);

protected:
    // A key that would make the text longer than the limit (or a longer text any longer) is
    // dropped; keys that shorten or keep the length always pass.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    int maxLength_;
};
