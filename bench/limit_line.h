// The line a benchmark program prints for a figure that has a limit, so that scripts/bench can
// collect it from any program's output and set it beside its limit:
//     <what is measured>: <value>[ <unit>] (limit <limit>)
// e.g. "txt export / same bytes written plainly: 1.84 (limit 5)" or
// "workbook export peak over text export peak: 3.2 MB (limit 64)". A value of nan (a benchmark
// that did not run) counts as over its limit.
#pragma once

#include <cstdio>

inline void PrintLimitLine(const char* what, double value, double limit, const char* unit = "")
{
    std::printf("%s: %.2f%s%s (limit %g)\n", what, value, *unit ? " " : "", unit, limit);
}
