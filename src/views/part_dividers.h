// The green lines that split a chart's plot area into equal parts in screen space.
#pragma once

#include <vector>

// x positions of the parts - 1 dividers of a plot area starting at left and width wide: the
// running sum of width / parts (real), each rounded to the nearest integer, halves to the even
// neighbour. None when the dividers are off or there are fewer than two parts.
std::vector<int> PartDividerPositions(bool enabled, int parts, int left, int width);
