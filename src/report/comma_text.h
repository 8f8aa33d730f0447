// The comma text of a comment: its lines joined by "," in one line of the report title, each
// line that would not survive the joining enclosed in double quotes.
#pragma once

#include <QString>
#include <QStringList>

// Lines joined by "," with nothing around the commas. A line holding a blank or a control
// character (codes 1 to 32), a double quote or a comma is enclosed in double quotes, its inner
// double quotes doubled. A comment of one empty line gives "" (two double quotes, so that it
// differs from no comment at all); no lines give an empty text.
QString CommaText(const QStringList& lines);
