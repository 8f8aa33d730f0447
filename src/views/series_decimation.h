// Thinning a chart series for drawing: per pixel column only the points that change the
// picture are kept — the first, the last, the lowest and the highest, and the first point of
// each colour present — so a million points draw as a few thousand segments that look the same.
#pragma once

#include "report/report_table.h"

#include <cstddef>
#include <vector>

// Indices (ascending) of the points of the series to draw over xMin..xMax in columns pixel
// columns. Points must be in ascending x. The nearest point on each side outside the range is
// kept too, so lines run into and out of the plot. When the range holds no more than a few
// points per column, every point in it is kept.
std::vector<std::size_t> DecimateSeries(const ChartSeries& series, double xMin, double xMax, int columns);
