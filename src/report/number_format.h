// Number texts of the program, always with the decimal comma whatever the regional settings.
// Each format names its rounding rule: they differ on purpose.
#pragma once

#include <QString>

// Display format of a meter value in hundredths (humidity register as unsigned, temperature
// as signed): v/10 rounded to an integer with ties to even, shown with one decimal.
// 4525 -> "45,2", 4535 -> "45,4", -525 -> "-5,2", -4 -> "0,0".
QString DisplayValueText(int hundredths);

// The report table's format "%.1f": one decimal, rounded on the exact binary value with
// halves away from zero (45.25 -> "45,3", -5.25 -> "-5,3", 0.15 -> "0,1" because the double
// 0.15 lies below the half); a result of zero never carries a minus sign (-0.04 -> "0,0").
QString TableValueText(double value);
// TableValueText into out, which has room for kTableValueChars characters (the longest text,
// of -DBL_MAX, has 312); returns the length. No allocation: the exports call it per cell.
inline constexpr int kTableValueChars = 320;
int TableValueChars(double value, char* out);

// The general format: at most 15 significant digits, trailing zeros dropped, decimal comma;
// fixed notation while the integer part has at most 15 digits and |v| >= 0.00001, otherwise
// scientific as "1,5E20" or "1E-6". 100 -> "100", -100 -> "-100", 45.25 -> "45,25".
QString GeneralNumberText(double value);

// A number from text: every "." and "," counts as the decimal separator; blanks around it are
// ignored; optional sign, digits, one decimal separator, optional exponent (E or e). Anything
// else, the empty text included, gives 0; no error is ever reported.
double ParseDecimal(const QString& text);

// The text with every blank (U+0020) replaced by the digit "0": a masked field's unfilled
// positions count as zero digits ("-4 , " -> "-40,0").
QString BlanksToZeros(const QString& text);

// A text as the masked number field "!#99,9" keeps it once put into the field: each of the five
// positions keeps a character that fits it (a sign or digit first, digits after, the comma
// fixed at the fourth) and becomes a blank otherwise ("+5" -> "+5 , ", "12.5" -> "12 , ").
QString MaskedFieldText(const QString& text);
