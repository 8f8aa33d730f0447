#include "views/series_decimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Lower bound of x in the ascending series.
std::size_t firstAtOrAfter(const ChartSeries& s, double x)
{
    std::size_t lo = 0, hi = s.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (s.x(mid) < x)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::size_t firstAfter(const ChartSeries& s, double x)
{
    std::size_t lo = 0, hi = s.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (s.x(mid) <= x)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Column {
    std::size_t first = kNone, last = kNone, low = kNone, high = kNone;
    double lowY = 0, highY = 0;
    std::array<Rgb, 4> colours{};
    std::array<std::size_t, 4> colourFirst{kNone, kNone, kNone, kNone};
    int colourCount = 0;

    void add(const ChartSeries& s, std::size_t i)
    {
        const double y = s.y(i);
        if (first == kNone) {
            first = low = high = i;
            lowY = highY = y;
        } else if (y < lowY) {
            low = i;
            lowY = y;
        } else if (y > highY) {
            high = i;
            highY = y;
        }
        last = i;
        const Rgb c = s.colour(i);
        for (int k = 0; k < colourCount; ++k)
            if (colours[k] == c)
                return;
        if (colourCount < 4) {
            colours[colourCount] = c;
            colourFirst[colourCount] = i;
            ++colourCount;
        }
    }

    void appendTo(std::vector<std::size_t>& out) const
    {
        // At most eight indices: sorted by insertion, each written once.
        std::size_t keep[8];
        int n = 0;
        const auto put = [&](std::size_t i) {
            int k = n;
            while (k > 0 && keep[k - 1] > i)
                --k;
            if (k > 0 && keep[k - 1] == i)
                return;
            for (int j = n; j > k; --j)
                keep[j] = keep[j - 1];
            keep[k] = i;
            ++n;
        };
        for (std::size_t i : {first, last, low, high})
            put(i);
        for (int k = 0; k < colourCount; ++k)
            put(colourFirst[k]);
        out.insert(out.end(), keep, keep + n);
    }
};

}  // namespace

std::vector<std::size_t> DecimateSeries(const ChartSeries& series, double xMin, double xMax, int columns)
{
    std::vector<std::size_t> out;
    const std::size_t n = series.size();
    if (n == 0 || !(xMax >= xMin))
        return out;
    columns = std::max(columns, 1);
    std::size_t begin = firstAtOrAfter(series, xMin);
    std::size_t end = firstAfter(series, xMax);
    // The neighbours outside the range carry the lines to the plot's edges.
    if (begin > 0)
        --begin;
    if (end < n)
        ++end;
    const std::size_t count = end - begin;
    if (count <= std::size_t(columns) * 4) {
        out.reserve(count);
        for (std::size_t i = begin; i < end; ++i)
            out.push_back(i);
        return out;
    }
    out.reserve(std::size_t(columns) * 5);
    const double scale = xMax > xMin ? columns / (xMax - xMin) : 0;
    Column column;
    long current = std::numeric_limits<long>::min();
    for (std::size_t i = begin; i < end; ++i) {
        const double fx = (series.x(i) - xMin) * scale;
        long c = fx < 0 ? -1 : fx >= columns ? columns : static_cast<long>(fx);
        if (c != current) {
            if (column.first != kNone)
                column.appendTo(out);
            column = Column{};
            current = c;
        }
        column.add(series, i);
    }
    if (column.first != kNone)
        column.appendTo(out);
    return out;
}
