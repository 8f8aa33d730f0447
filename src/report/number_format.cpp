#include "report/number_format.h"

#include <cmath>
#include <cstdlib>

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
