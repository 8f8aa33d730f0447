#include "views/part_dividers.h"

#include <cmath>

std::vector<int> PartDividerPositions(bool enabled, int parts, int left, int width)
{
    std::vector<int> xs;
    if (!enabled || parts - 1 < 1)
        return xs;
    const double step = static_cast<double>(width) / parts;
    double x = left;
    for (int i = 1; i <= parts - 1; ++i) {
        x += step;
        // nearbyint rounds in the current mode: to nearest, halves to even.
        xs.push_back(static_cast<int>(std::nearbyint(x)));
    }
    return xs;
}
