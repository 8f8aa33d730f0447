// The text of the standard error box: the error's message with a full stop appended when
// its last character comes after "." in the character table (so "!", "." or a blank stay).
#pragma once

#include <QString>

QString StandardErrorText(const QString& message);
