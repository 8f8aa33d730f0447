// The program's 0xRRGGBB colours and Qt's colours, one into the other.
#pragma once

#include "report/report_table.h"

#include <QColor>

inline Rgb RgbOf(const QColor& color)
{
    return static_cast<Rgb>(color.rgb() & 0xFFFFFF);
}

inline QColor ColorOf(Rgb rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}
