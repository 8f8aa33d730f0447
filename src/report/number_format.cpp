#include "report/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

// Texts go through std::to_chars / std::from_chars: the C library's printf and strtod follow
// the process locale, which Qt sets from the environment.

QString DisplayValueText(int hundredths)
{
    // v/10 is exact for every whole v ending in 5, so the tie is seen as a tie.
    const long tenths = std::lrint(hundredths / 10.0);  // default rounding mode: ties to even
    const long magnitude = std::labs(tenths);
    return QStringLiteral("%1%2,%3")
        .arg(tenths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(magnitude % 10);
}

int TableValueChars(double value, char* out)
{
    if (!std::isfinite(value)) {
        // As QString::number writes them.
        const char* text = std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
        const auto n = static_cast<int>(std::strlen(text));
        std::memcpy(out, text, std::size_t(n));
        return n;
    }
    const double magnitude = std::fabs(value);
    // The digits go after a place kept for the sign.
    char* const digits = out + 1;
    char* end = nullptr;
    // An exact tie at the second decimal needs |v|*10 = k + 1/2 exactly, that is |v| = q/4 with
    // q odd (x.25, x.75). printf would round such ties to even; the table rounds them up.
    const double quarters = magnitude * 4.0;  // exact
    if (quarters < 9007199254740992.0 && quarters == std::floor(quarters) && (static_cast<long long>(quarters) & 1)) {
        const auto q = static_cast<long long>(quarters);
        const long long tenths = (q * 5 + 1) / 2;
        end = std::to_chars(digits, digits + kTableValueChars - 3, tenths / 10).ptr;
        *end++ = ',';
        *end++ = static_cast<char>('0' + tenths % 10);
    } else {
        // Any other value is not a tie: to_chars rounds the exact binary value correctly.
        end = std::to_chars(digits, out + kTableValueChars, magnitude, std::chars_format::fixed, 1).ptr;
        end[-2] = ',';
    }
    const bool zero = end - digits == 3 && digits[0] == '0' && digits[2] == '0';
    if (value < 0 && !zero) {
        out[0] = '-';
        return static_cast<int>(end - out);
    }
    std::memmove(out, digits, std::size_t(end - digits));
    return static_cast<int>(end - digits);
}

QString TableValueText(double value)
{
    char text[kTableValueChars];
    return QString::fromLatin1(text, TableValueChars(value, text));
}

QString GeneralNumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 14).ptr;
    *end = 0;  // d.dddddddddddddde[+-]xx
    QString mantissa;
    mantissa += QLatin1Char(buf[0]);
    mantissa += QLatin1String(buf + 2, 14);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent < 15 && std::fabs(value) >= 0.00001) {
        if (exponent >= 0) {
            QString integer = mantissa.left(exponent + 1);
            integer = integer.leftJustified(exponent + 1, QLatin1Char('0'));
            text += integer;
            if (mantissa.size() > exponent + 1)
                text += QLatin1Char(',') + mantissa.mid(exponent + 1);
        } else {
            text += QStringLiteral("0,") + QString(-exponent - 1, QLatin1Char('0')) + mantissa;
        }
    } else {
        text += mantissa.left(1);
        if (mantissa.size() > 1)
            text += QLatin1Char(',') + mantissa.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    }
    return text;
}

double ParseDecimal(const QString& text)
{
    QString s = text;
    // Leading and trailing blanks are ignored, nothing else.
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    s = s.mid(from, to - from);
    QByteArray ascii;
    ascii.reserve(s.size());
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < s.size() ? s[k].unicode() : char16_t(0); };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    if (at(i) == u'+' || at(i) == u'-')
        ascii += static_cast<char>(s[i++].unicode());
    int mantissaDigits = 0;
    while (isDigit(at(i))) {
        ascii += static_cast<char>(at(i++));
        ++mantissaDigits;
    }
    if (at(i) == u'.' || at(i) == u',') {
        ascii += '.';
        ++i;
        while (isDigit(at(i))) {
            ascii += static_cast<char>(at(i++));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    if (at(i) == u'e' || at(i) == u'E') {
        ascii += 'e';
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            ascii += static_cast<char>(at(i++));
        int exponentDigits = 0;
        while (isDigit(at(i))) {
            ascii += static_cast<char>(at(i++));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return 0;
    }
    if (i != s.size())
        return 0;
    const char* first = ascii.constData();
    if (*first == '+')  // from_chars takes no plus sign
        ++first;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(first, ascii.constData() + ascii.size(), v);
    if (ec != std::errc() || ptr != ascii.constData() + ascii.size() || !std::isfinite(v))
        return 0;
    return v;
}

QString BlanksToZeros(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char(' '), QLatin1Char('0'));
    return s;
}

QString MaskedFieldText(const QString& text)
{
    constexpr int length = 5;
    constexpr int comma = 3;
    QString kept(length, QLatin1Char(' '));
    for (int i = 0; i < length; ++i) {
        if (i == comma) {
            kept[i] = QLatin1Char(',');
            continue;
        }
        if (i >= text.size())
            continue;
        const QChar c = text[i];
        const bool fits = i == 0 ? (c.isDigit() || c == u'+' || c == u'-') : (c >= u'0' && c <= u'9');
        if (fits)
            kept[i] = c;
    }
    return kept;
}
