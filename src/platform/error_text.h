// Texts of errors: the standard error box's, and the system's for an errno value.
#pragma once

#include <QString>

// The text of the standard error box: the error's message with a full stop appended when
// its last character comes after "." in the character table (so "!", "." or a blank stay).
QString StandardErrorText(const QString& message);

// The system's text for an errno value ("No space left on device"), in the language of the
// program's texts: the errors a file, a port or a network connection meets are translated
// with the program's own texts (the window is Russian whatever the locale; kelmora-cli speaks
// Russian under a Russian locale), any other comes from the C library as it is.
QString SystemErrorText(int errnum);
