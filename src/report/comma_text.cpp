#include "report/comma_text.h"

namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

bool needsQuotes(const QString& line)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if ((u >= 1 && u <= 32) || c == kQuote || c == kComma)
            return true;
    }
    return false;
}

QString quoted(const QString& line)
{
    QString result;
    result.reserve(line.size() + 2);
    result += kQuote;
    for (const QChar c : line) {
        if (c == kQuote)
            result += kQuote;
        result += c;
    }
    result += kQuote;
    return result;
}

}  // namespace

QString CommaText(const QStringList& lines)
{
    if (lines.size() == 1 && lines.front().isEmpty())
        return QString(2, kQuote);
    QString result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            result += kComma;
        result += needsQuotes(lines[i]) ? quoted(lines[i]) : lines[i];
    }
    return result;
}
