// Number texts of the program, always with the decimal comma whatever the regional settings.
#pragma once

#include <QString>

// Display format of a meter value in hundredths (humidity register as unsigned, temperature
// as signed): v/10 rounded to an integer with ties to even, shown with one decimal.
// 4525 -> "45,2", 4535 -> "45,4", -525 -> "-5,2", -4 -> "0,0".
QString DisplayValueText(int hundredths);
