#include "report/humidity.h"

#include <algorithm>
#include <cmath>

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
// four times the sum of both.
constexpr double kCertainDistance = 5e-12;

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
                // A start from the Magnus approximation; Newton's steps then close in from below.
                const double r = lnE_ - std::log(611.2);
                const double guess = 243.12 * r / (17.62 - r) + kKelvinOffset;
                const double start = guess > 150 && guess < 1000 ? guess : 273.16;
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
        // Near the root (or with no root): the formula decides. Late midpoints often round to
        // the same x, so the last answers are kept.
        for (const Answer& a : recent_)
            if (a.valid && a.x == x && a.water == water)
                return a.result;
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
        recent_[next_] = Answer{x, water, result, true};
        next_ = (next_ + 1) % kRecent;
        return result;
    }

private:
    struct Answer {
        double x = 0;
        bool water = false;
        bool result = false;
        bool valid = false;
    };
    static constexpr int kRecent = 4;

    double e_;
    double lnE_;
    double band_;
    double waterRoot_ = NAN;
    double iceRoot_ = NAN;
    bool waterKnown_ = false;
    bool iceKnown_ = false;
    Answer recent_[kRecent];
    int next_ = 0;
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
    if (std::isnan(rootMid))
        return 0;
    for (const int steps : {40, 36, 30, 20}) {
        const double cells = double(1LL << steps);
        const double width = 160.0 / cells;
        double j = std::floor((rootMid + 60) / width);
        j = std::min(std::max(j, 0.0), cells - 1);
        low = -60 + j * width;
        high = low + width;
        // The midpoints visited nearest to the root are the two ends (unless an end is -60 or
        // 100, which are never midpoints); x = mid + 273.16 may round by up to 3e-14.
        const double margin = kCertainDistance + 1e-12;
        if ((low == -60 || rootMid - low > margin) && (high == 100 || high - rootMid > margin))
            return steps;
    }
    return 0;
}
}  // namespace

double DewPoint(double RH, double T)
{
    // The water formula gives the actual vapour pressure at every air temperature.
    const double e = WaterSaturationPressure(T + kKelvinOffset) * RH / 100;
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
    }
    return mid;
}

double AbsoluteHumidity(double RH, double T)
{
    const double e = WaterSaturationPressure(T + kKelvinOffset) * RH / 100;
    const double a = e * 2.176 / 288.16;
    return std::nearbyint(a * 10) / 10;  // default rounding mode: halves to even
}

double HumidityMemo::operator()(int16_t rh, int16_t t)
{
    const uint32_t key = (uint32_t(uint16_t(rh)) << 16) | uint16_t(t);
    if (key == lastKey_)
        return lastValue_;
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = uint32_t(key * 0x9E3779B1u) >> shift_;
    while (slots_[i].key != kEmpty) {
        if (slots_[i].key == key) {
            lastKey_ = key;
            lastValue_ = slots_[i].value;
            return lastValue_;
        }
        i = (i + 1) & mask;
    }
    const double value = conversion_(rh / 100.0, t / 100.0);
    if (key != kEmpty) {  // RH -1 with T -1 never reaches a conversion (both are invalid readings)
        slots_[i] = Slot{key, value};
        ++used_;
    }
    lastKey_ = key;
    lastValue_ = value;
    return value;
}

void HumidityMemo::clear()
{
    slots_.clear();
    used_ = 0;
    lastKey_ = kEmpty;
}

void HumidityMemo::grow()
{
    std::vector<Slot> old = std::move(slots_);
    const std::size_t size = old.empty() ? 4096 : old.size() * 2;
    slots_.assign(size, Slot{});
    shift_ = 32;
    for (std::size_t n = size; n > 1; n >>= 1)
        --shift_;
    const std::size_t mask = size - 1;
    for (const Slot& slot : old) {
        if (slot.key == kEmpty)
            continue;
        std::size_t i = uint32_t(slot.key * 0x9E3779B1u) >> shift_;
        while (slots_[i].key != kEmpty)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}
