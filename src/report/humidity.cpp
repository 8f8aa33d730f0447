#include "report/humidity.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

namespace {
constexpr double kKelvinOffset = 273.16;
}

namespace {
// The exponents of the two formulas and their slopes (both formulas rise steadily with x).
double waterExponent(double x)
{
    return 2.4575506 * std::log(x) - 6094.4692 / x + 21.1249952 - 0.027245552 * x + 1.6853396e-5 * x * x;
}
double waterSlope(double x)
{
    return 2.4575506 / x + 6094.4692 / (x * x) - 0.027245552 + 2 * 1.6853396e-5 * x;
}
double iceExponent(double x)
{
    return 6.1295027 * std::log(x) - 5504.4088 / x - 3.5704628 - 0.017337458 * x + 6.5204209e-6 * x * x;
}
double iceSlope(double x)
{
    return 6.1295027 / x + 5504.4088 / (x * x) - 0.017337458 + 2 * 6.5204209e-6 * x;
}
}  // namespace

double WaterSaturationPressure(double x)
{
    return std::exp(waterExponent(x));
}

double IceSaturationPressure(double x)
{
    return std::exp(iceExponent(x));
}

namespace {

// How far (in kelvin) a midpoint must lie from the computed root of a formula for its
// comparison with the vapour pressure to be certain without evaluating the formula. The
// computed exponents are off by at most about 2.2e-14 and rise by at least 0.036 per kelvin
// in the range of a dew point, so neither the computed root nor the point where the computed
// pressure crosses the vapour pressure lies more than about 6e-13 K from the true root
// (4.6e-13 K is the widest seen over 20 000 roots scanned unit by unit); the distance keeps
// twice the sum of both. Every closer step costs an evaluation of the formula, and a tighter
// distance saves one for each halving (2.4 million stored inputs compared bit for bit with
// the full 100 steps agree).
constexpr double kCertainDistance = 2.5e-12;

// Up to this many steps every end is -60 plus a multiple of 160 / 2^steps below 128 in size:
// at most 48 significant bits, so no midpoint rounds.
constexpr int kExactSteps = 48;

// The number of steps whose cells are still wider than twice the margin.
constexpr int finestCell(double margin)
{
    int steps = 20;
    while (steps < kExactSteps && 160.0 / double(int64_t(1) << (steps + 1)) > 2 * margin)
        ++steps;
    return steps;
}

// The x where exponent(x) = lnE, by Newton's method; nothing when it does not settle.
template <typename Exponent, typename Slope>
double rootOf(Exponent exponent, Slope slope, double lnE, double x)
{
    for (int i = 0; i < 60; ++i) {
        const double d = slope(x);
        if (!(d > 0))
            return NAN;
        const double next = x - (exponent(x) - lnE) / d;
        if (!(next > 1.0 && next < 5000.0))
            return NAN;
        // Near the root each step squares the error (times less than 0.005 per kelvin here), so
        // after a step below 1e-7 K the new point is within 1e-16 K of the root.
        if (std::fabs(next - x) < 1e-7)
            return next;
        x = next;
    }
    return NAN;
}

// A start for Newton's method from the Magnus approximation; the steps then close in from below.
double magnusGuess(double lnE)
{
    const double r = lnE - std::log(611.2);
    const double guess = 243.12 * r / (17.62 - r) + kKelvinOffset;
    return guess > 150 && guess < 1000 ? guess : 273.16;
}

// The roots of one formula over a grid of ln e, with their slopes, so that a root between two
// grid points is guessed by a cubic to within about 1e-8 K: the first Newton step from there
// is already below the stop size, so one step (one logarithm) finds the root instead of four
// or five. Outside the grid, and wherever the grid has no root, the Magnus start is used.
class RootTable {
public:
    static const RootTable& of(bool water)
    {
        static const RootTable waterTable(true), iceTable(false);
        return water ? waterTable : iceTable;
    }

    double guess(double lnE) const
    {
        const double u = (lnE - kLow) * kPerUnit;
        if (!(u >= 0 && u < kPoints - 1))
            return magnusGuess(lnE);
        const int i = int(u);
        const double f = u - i;
        const Point& a = points_[i];
        const Point& b = points_[i + 1];
        if (std::isnan(a.root) || std::isnan(b.root))
            return magnusGuess(lnE);
        const double h = 1.0 / kPerUnit;
        const double f2 = f * f, f3 = f2 * f;
        const double g = (2 * f3 - 3 * f2 + 1) * a.root + (f3 - 2 * f2 + f) * h * a.slope + (3 * f2 - 2 * f3) * b.root
                         + (f3 - f2) * h * b.slope;
        return g > 150 && g < 1000 ? g : magnusGuess(lnE);
    }

private:
    static constexpr double kLow = -1.0;  // ln e from -1 to 12: roots from about -65 to 105 degrees
    static constexpr int kPerUnit = 128;
    static constexpr int kPoints = 13 * kPerUnit + 1;
    struct Point {
        double root;
        double slope;  // d root / d ln e
    };

    explicit RootTable(bool water) : points_(kPoints)
    {
        for (int i = 0; i < kPoints; ++i) {
            const double lnE = kLow + double(i) / kPerUnit;
            const double start = magnusGuess(lnE);
            const double r = water ? rootOf(waterExponent, waterSlope, lnE, start) : rootOf(iceExponent, iceSlope, lnE, start);
            points_[i] = Point{r, std::isnan(r) ? NAN : 1.0 / (water ? waterSlope(r) : iceSlope(r))};
        }
    }

    std::vector<Point> points_;
};

// The bisection's question "e >= saturation pressure at mid?", answered from the roots of
// the two formulas where the answer is certain, and by the formula itself near the root.
class DewPointComparison {
public:
    explicit DewPointComparison(double e)
        : e_(e), lnE_(e > 0 && std::isfinite(e) ? std::log(e) : NAN), band_(4.5e-16 * std::max(std::fabs(lnE_), 1.0) + 1e-15)
    {
    }

    double lnE() const { return lnE_; }

    // The root (kelvin) of the water or the ice formula, found once.
    double root(bool water)
    {
        if (water ? waterKnown_ : iceKnown_)
            return water ? waterRoot_ : iceRoot_;
        return findRoot(water);
    }

    double findRoot(bool water)
    {
        bool& known = water ? waterKnown_ : iceKnown_;
        double& root = water ? waterRoot_ : iceRoot_;
        if (!known) {
            known = true;
            if (!std::isnan(lnE_)) {
                const double start = RootTable::of(water).guess(lnE_);
                root = water ? rootOf(waterExponent, waterSlope, lnE_, start) : rootOf(iceExponent, iceSlope, lnE_, start);
            }
        }
        return root;
    }

    bool atLeastSaturation(double mid)
    {
        const double x = mid + kKelvinOffset;
        const bool water = mid >= 0;
        const double r = root(water);
        if (!std::isnan(r)) {
            if (x < r - kCertainDistance)
                return true;
            if (x > r + kCertainDistance)
                return false;
        }
        // Near the root (or with no root): the formula decides.
        // The exponent is the formula's own; its exponential is needed only when the exponent
        // lies within a few units in the last place of ln e (exp and log are good to 1 ulp).
        const double p = water ? waterExponent(x) : iceExponent(x);
        bool result;
        if (!std::isnan(lnE_) && p < lnE_ - band_)
            result = true;
        else if (!std::isnan(lnE_) && p > lnE_ + band_)
            result = false;
        else
            result = e_ >= std::exp(p);
        return result;
    }

private:
    double e_;
    double lnE_;
    double band_;
    double waterRoot_ = NAN;
    double iceRoot_ = NAN;
    bool waterKnown_ = false;
    bool iceKnown_ = false;
};

// Steps that can be skipped at once: their midpoints are exact binary fractions (no rounding
// happens in the first fifty steps), and where every midpoint lies clearly on one side of the
// root the ends after them are simply the cell of that size around the root.
// The number of steps skipped (0 when none can be), and the ends after them. Steps cannot be
// skipped when one of their midpoints lies too close to the root, or when the answers are not
// the same on both sides of 0 degrees.
int skipCertainSteps(double e, DewPointComparison& compare, double& low, double& high)
{
    static const double waterAtZero = WaterSaturationPressure(kKelvinOffset);
    static const double iceAtZero = IceSaturationPressure(kKelvinOffset);
    constexpr double tiny = 1e-12;
    double rootMid = NAN;
    if (e > waterAtZero * (1 + tiny) && e > iceAtZero * (1 + tiny))
        rootMid = compare.root(true) - kKelvinOffset;  // every midpoint below 0 answers yes
    else if (e < waterAtZero * (1 - tiny) && e < iceAtZero * (1 - tiny))
        rootMid = compare.root(false) - kKelvinOffset;  // every midpoint from 0 up answers no
    if (!(rootMid > -60 && rootMid < 100))
        return 0;
    // The midpoints visited nearest to the root are the two ends of the cell the steps leave
    // (unless an end is -60 or 100, which are never midpoints); x = mid + 273.16 may round by
    // up to 3e-14. The cells nest: the root's cell on the finest grid whose cells are wider than
    // twice the margin qualifies unless the root lies near one of its grid points, and then the
    // cell that has that point as its midpoint does (its ends are a whole finest cell away).
    constexpr double margin = kCertainDistance + 1e-12;
    constexpr int finest = finestCell(margin);
    constexpr int64_t points = int64_t(1) << finest;
    constexpr double width = 160.0 / double(points);
    // A product in place of the quotient may pick the neighbouring cell right at a cell end;
    // the root then lies outside it, the test below fails and no step is skipped.
    const double position = (rootMid + 60) * (double(points) / 160.0);  // from 0 to points
    const int64_t nearest = int64_t(position + 0.5);
    int64_t first = 0, size = 1;  // the cell, in grid points of the finest grid
    int steps = finest;
    if (std::fabs(position - double(nearest)) * width > margin || nearest == 0 || nearest == points) {
        first = std::min(int64_t(position), points - 1);
    } else {
        const int zeros = std::countr_zero(uint64_t(nearest));
        steps = finest - zeros - 1;
        size = int64_t(2) << zeros;
        first = nearest - size / 2;
    }
    if (steps < 20)
        return 0;
    low = -60 + double(first) * width;
    high = -60 + double(first + size) * width;
    if ((low == -60 || rootMid - low > margin) && (high == 100 || high - rootMid > margin))
        return steps;
    return 0;
}

// Whether the x of the two ends (both answered by one formula) are neighbouring doubles: every
// midpoint between them then rounds to one of the two, and its answer is that end's.
bool adjacentKelvins(double low, double high)
{
    if (low == -60 || high == 100 || (low >= 0) != (high >= 0))
        return false;  // -60 and 100 are never midpoints; 0 divides ice from water
    const double xLow = low + kKelvinOffset, xHigh = high + kKelvinOffset;
    uint64_t a, b;  // x is positive: the next double up has the next bit pattern
    std::memcpy(&a, &xLow, sizeof a);
    std::memcpy(&b, &xHigh, sizeof b);
    return b - a == 1;
}

// The rest of the steps once the ends' x are neighbours: a midpoint whose x is the low end's
// answers yes, any other no, with no formula evaluated.
double finishBetweenAdjacentKelvins(double low, double high, double mid, int step)
{
    const double xLow = low + kKelvinOffset;
    for (; step < 100; ++step) {
        mid = (high - low) / 2 + low;
        if (mid + kKelvinOffset == xLow) {
            if (low == mid)
                break;
            low = mid;
        } else {
            if (high == mid)
                break;
            high = mid;
        }
    }
    return mid;
}
}  // namespace

double DewPoint(double RH, double T)
{
    // The water formula gives the actual vapour pressure at every air temperature. A report
    // meets its new pairs among a few hundred air temperatures: their saturation pressures
    // are kept, one per slot chosen by the temperature's bits.
    struct Saturation {
        double t = NAN;  // never equal to a temperature
        double pressure = 0;
    };
    thread_local Saturation saturations[256];
    uint64_t bits;
    std::memcpy(&bits, &T, sizeof bits);
    Saturation& kept = saturations[(bits * 0x9E3779B97F4A7C15u) >> 56];
    if (!(kept.t == T)) {
        kept.pressure = WaterSaturationPressure(T + kKelvinOffset);
        kept.t = T;
    }
    const double e = kept.pressure * RH / 100;
    DewPointComparison compare(e);
    double low = -60, high = 100, mid = 0;
    int step = skipCertainSteps(e, compare, low, high);
    if (step == 0) {
        low = -60;
        high = 100;
    }
    for (; step < 100; ++step) {
        mid = (high - low) / 2 + low;
        // Below 0 the saturation pressure is taken over ice (exactly 0 uses water).
        if (compare.atLeastSaturation(mid)) {
            if (low == mid)
                break;  // the ends stay as they are: every later step gives this mid again
            low = mid;
        } else {
            if (high == mid)
                break;
            high = mid;
        }
        if (adjacentKelvins(low, high))
            return finishBetweenAdjacentKelvins(low, high, mid, step + 1);
    }
    return mid;
}

double AbsoluteHumidity(double RH, double T)
{
    const double e = WaterSaturationPressure(T + kKelvinOffset) * RH / 100;
    const double a = e * 2.176 / 288.16;
    return std::nearbyint(a * 10) / 10;  // default rounding mode: halves to even
}

double HumidityMemo::insert(std::size_t slot, uint32_t key, int16_t rh, int16_t t)
{
    const double value = conversion_(rh / 100.0, t / 100.0);
    if (key == kEmpty)  // RH -1 with T -1 never reaches a conversion (both are invalid readings)
        return value;
    if (used_ >= limit_) {
        store(key, value);  // grows, then finds the key's slot afresh
        return value;
    }
    keys_[slot] = key;
    values_[slot] = value;
    ++used_;
    return value;
}

void HumidityMemo::store(uint32_t key, double value)
{
    if (key == kEmpty)
        return;
    if (used_ >= limit_)
        grow();
    std::size_t slot = slotOf(key);
    for (; keys_[slot] != kEmpty; slot = (slot + 1) & mask_)
        if (keys_[slot] == key)
            return;  // a build in between has converted it too
    keys_[slot] = key;
    values_[slot] = value;
    ++used_;
}

std::vector<double> HumidityMemo::convertMany(const std::vector<uint32_t>& keys)
{
    std::vector<double> values(keys.size());
    const Conversion conversion = conversion_;
    const auto convertRange = [&keys, &values, conversion](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            values[i] = conversion(int16_t(keys[i] >> 16) / 100.0, int16_t(keys[i] & 0xFFFFu) / 100.0);
    };
    // Starting a thread costs tens of microseconds, a few hundred dew points: each thread gets
    // at least this many pairs. The ranges are contiguous, so runs of one temperature stay
    // together.
    constexpr std::size_t kPairsPerThread = 2048;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = std::max<std::size_t>(1, std::min({cores, std::size_t(8), keys.size() / kPairsPerThread}));
    const auto bound = [&](std::size_t part) { return keys.size() * part / parts; };
    std::vector<std::thread> helpers;
    helpers.reserve(parts - 1);
    std::size_t started = 1;  // part 0 is this thread's
    try {
        for (; started < parts; ++started)
            helpers.emplace_back(convertRange, bound(started), bound(started + 1));
    } catch (const std::system_error&) {
        // No more threads to be had: this thread converts the parts that were not started.
    }
    convertRange(bound(0), bound(1));
    convertRange(bound(started), bound(parts));
    for (std::thread& helper : helpers)
        helper.join();
    while (used_ + keys.size() > limit_)
        grow();
    for (std::size_t i = 0; i < keys.size(); ++i)
        store(keys[i], values[i]);
    return values;
}

void HumidityMemo::clear()
{
    keys_.clear();
    values_.clear();
    mask_ = 0;
    shift_ = 32;
    used_ = 0;
    limit_ = 0;
}

void HumidityMemo::grow()
{
    std::vector<uint32_t> oldKeys = std::move(keys_);
    std::vector<double> oldValues = std::move(values_);
    const std::size_t size = oldKeys.empty() ? 16384 : oldKeys.size() * 2;
    keys_.assign(size, kEmpty);
    values_.assign(size, 0.0);
    mask_ = size - 1;
    limit_ = size / 4;
    shift_ = 32;
    for (std::size_t n = size; n > 1; n >>= 1)
        --shift_;
    for (std::size_t j = 0; j < oldKeys.size(); ++j) {
        if (oldKeys[j] == kEmpty)
            continue;
        std::size_t i = slotOf(oldKeys[j]);
        while (keys_[i] != kEmpty)
            i = (i + 1) & mask_;
        keys_[i] = oldKeys[j];
        values_[i] = oldValues[j];
    }
}
