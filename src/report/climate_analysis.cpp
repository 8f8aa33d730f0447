#include "report/climate_analysis.h"

#include "report/date_time.h"
#include "report/humidity.h"

#include <algorithm>
#include <cmath>
#include <limits>

// ---- Formulas ----

double MeanKineticTemperature(std::span<const double> tCelsius, std::span<const double> weights,
                              double activationKjPerMol)
{
    if (!weights.empty() && weights.size() != tCelsius.size())
        return NAN;
    KineticMean mean(activationKjPerMol);
    for (std::size_t i = 0; i < tCelsius.size(); ++i)
        mean.add(mean.term(tCelsius[i]), weights.empty() ? 1.0 : weights[i]);
    return mean.value();
}

KineticMean::KineticMean(double activationKjPerMol) : activation_(activationKjPerMol * 1000 / kMktGasConstant) {}

double KineticMean::term(double tCelsius) const
{
    // exp(-dH/(R T)) = exp(-dH/(R 293.15)) exp(dH/R (1/293.15 - 1/T)): the first factor is the
    // same in every term and is put back in value().
    return std::exp(activation_ * (1 / (20 + kCelsiusToKelvin) - 1 / (tCelsius + kCelsiusToKelvin)));
}

double KineticMean::value() const
{
    if (!(weights_ > 0) || !(sum_ > 0))
        return NAN;
    // -ln(sum / weights) = dH/(R 293.15) - ln(mean of the terms).
    const double denominator = activation_ / (20 + kCelsiusToKelvin) - std::log(sum_ / weights_);
    return activation_ / denominator - kCelsiusToKelvin;
}

WoodMoistureFit WoodMoistureFitAt(double tCelsius)
{
    // Simpson 1973 (Wood Handbook, chapter 4), the metric form.
    const double T = tCelsius;
    const double W = 349 + 1.29 * T + 0.0135 * T * T;
    const double K = 0.805 + 0.000736 * T - 0.00000273 * T * T;
    const double K1 = 6.27 - 0.00938 * T - 0.000303 * T * T;
    const double K2 = 1.91 + 0.0407 * T - 0.000293 * T * T;
    return {W > 0 ? 1800 / W : NAN, K, K1, K1 * K2};
}

double WoodEquilibriumMoistureContent(const WoodMoistureFit& fit, double rhPercent)
{
    const double Kh = fit.K * (rhPercent / 100);
    const double hydrates = 1 + fit.K1 * Kh + fit.K1K2 * Kh * Kh;
    if (!(Kh < 1) || !(hydrates > 0))
        return NAN;
    return fit.scale * (Kh / (1 - Kh) + (fit.K1 * Kh + 2 * fit.K1K2 * Kh * Kh) / hydrates);
}

double WoodEquilibriumMoistureContent(double tCelsius, double rhPercent)
{
    return WoodEquilibriumMoistureContent(WoodMoistureFitAt(tCelsius), rhPercent);
}

double LifetimeHumidityFactor(double rhPercent)
{
    return std::pow(50 / rhPercent, 1.3);
}

double LifetimeTemperatureFactor(double tCelsius, double activationKjPerMol)
{
    // Arrhenius relative to 20 degrees (Michalski 2002).
    const double activation = activationKjPerMol * 1000 / kLifetimeGasConstant;
    return std::exp(activation * (1 / (tCelsius + kCelsiusToKelvin) - 1 / (20 + kCelsiusToKelvin)));
}

double LifetimeMultiplier(double tCelsius, double rhPercent, double activationKjPerMol)
{
    return LifetimeHumidityFactor(rhPercent) * LifetimeTemperatureFactor(tCelsius, activationKjPerMol);
}

double MouldCriticalHumidity(double tCelsius)
{
    // Hukka and Viitanen 1999.
    const double T = tCelsius;
    if (!(T >= 0 && T <= 50))
        return NAN;
    if (T > 20)
        return 80;
    return -0.00267 * T * T * T + 0.160 * T * T - 3.13 * T + 100;
}

// ---- The analysis ----

namespace {

bool validRH(int16_t rh)
{
    return rh >= 0 && rh <= 9999;
}

bool validT(int16_t t)
{
    return t >= -9999 && t <= 9999;
}

constexpr qint64 kMsPerMinute = 60000;
constexpr double kMsPerMinuteDouble = 60000.0;
constexpr qint64 kMsPer24Hours = 24 * 60 * kMsPerMinute;

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A day count as milliseconds on one straight wall-clock scale (day * 86 400 000 + time of day,
// with SplitDayCount's parts), so that differences are durations even before day 0, where the
// day counts themselves run backwards by whole days. Nothing when it is no date.
std::optional<qint64> linearMs(double t)
{
    const std::optional<qint64> ms = MillisecondsOfDayCount(t);
    if (!ms)
        return std::nullopt;
    if (*ms >= 0)
        return *ms;
    const qint64 day = *ms / kMsPerDayInt;  // toward zero, as SplitDayCount
    const qint64 rest = *ms % kMsPerDayInt;
    return day * kMsPerDayInt - rest;
}

// The day count of a point of that scale, as DayCountOf composes it.
double dayCountOfMs(qint64 ms)
{
    const qint64 day = floorDiv(ms, kMsPerDayInt);
    const double time = double(ms - day * kMsPerDayInt) / kMsPerDay;
    return day < 0 ? double(day) - time : double(day) + time;
}

double minutesOf(qint64 ms)
{
    return double(ms) / kMsPerMinuteDouble;
}

struct Reading {
    qint64 ms;
    int16_t rh;
    int16_t t;
};

// Extremes and means of one channel. The mean is time-weighted; readings that stand for no
// time at all leave the plain average.
struct Stats {
    qint64 count = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    qint64 minMs = 0;
    qint64 maxMs = 0;
    double weightedSum = 0;
    double weight = 0;  // ms
    double plainSum = 0;

    void add(double v, qint64 ms, double w)
    {
        ++count;
        if (v < min) {
            min = v;
            minMs = ms;
        }
        if (v > max) {
            max = v;
            maxMs = ms;
        }
        weightedSum += w * v;
        weight += w;
        plainSum += v;
    }
    double mean() const { return weight > 0 ? weightedSum / weight : plainSum / double(count); }

    std::optional<ChannelSummary> summary() const
    {
        if (count == 0)
            return std::nullopt;
        return ChannelSummary{count, min, dayCountOfMs(minMs), max, dayCountOfMs(maxMs), mean(), weight / kMsPerMinuteDouble};
    }
    std::optional<DayRange> dayRange() const
    {
        if (count == 0)
            return std::nullopt;
        return DayRange{min, mean(), max};
    }
};

// Runs of consecutive readings that meet a condition: how many, their time and the longest.
// A run goes on while each reading meets it and stands for the time up to the next reading;
// it lasts from its first reading to the end of its last reading's time.
struct Runs {
    bool open = false;
    qint64 start = 0;
    qint64 end = 0;
    qint64 count = 0;
    qint64 totalMs = 0;
    bool haveLongest = false;
    qint64 longestStart = 0;
    qint64 longestEnd = 0;

    void extend(qint64 ms, qint64 weight)
    {
        if (!open) {
            open = true;
            start = ms;
            ++count;
        }
        end = ms + weight;
        totalMs += weight;
    }
    void close()
    {
        if (!open)
            return;
        open = false;
        if (!haveLongest || end - start > longestEnd - longestStart) {
            haveLongest = true;
            longestStart = start;
            longestEnd = end;
        }
    }
    // One reading: it meets the condition (and continues or starts a run), or it ends the run.
    // A run never goes on over a gap.
    void next(bool meets, qint64 ms, qint64 weight, bool gapAfter)
    {
        if (!meets) {
            close();
            return;
        }
        extend(ms, weight);
        if (gapAfter)
            close();
    }
    std::optional<ClimateStretch> longest() const
    {
        if (!haveLongest)
            return std::nullopt;
        return ClimateStretch{dayCountOfMs(longestStart), dayCountOfMs(longestEnd), minutesOf(longestEnd - longestStart)};
    }
};

// The largest max - min of the values within any 24 hours, in O(n): the readings come in time
// order, and two monotonic queues hold the window's candidates for its maximum (values falling
// from the front) and its minimum (values rising). A new value drops the candidates behind it
// that it beats, the front leaves once it is more than 24 hours older than the new reading,
// so the fronts are the extremes of the readings of the last 24 hours. Every pair of readings
// at most 24 hours apart shares the window that ends at the later one.
class Largest24hChange {
public:
    void add(qint64 ms, int value)
    {
        highs_.pushDropping(ms, value, [value](int kept) { return kept <= value; });
        lows_.pushDropping(ms, value, [value](int kept) { return kept >= value; });
        highs_.dropOlderThan(ms - kMsPer24Hours);
        lows_.dropOlderThan(ms - kMsPer24Hours);
        const int change = highs_.front().value - lows_.front().value;
        if (!found_ || change > best_) {
            found_ = true;
            best_ = change;
            lowMs_ = lows_.front().ms;
            highMs_ = highs_.front().ms;
        }
    }
    // The change in the values' units divided by scale.
    std::optional<LargestChange> result(double scale) const
    {
        if (!found_)
            return std::nullopt;
        return LargestChange{best_ / scale, dayCountOfMs(lowMs_), dayCountOfMs(highMs_)};
    }

private:
    struct Point {
        qint64 ms;
        int value;
    };
    // A queue in one vector: the front moves forward and the space before it is given back
    // once it outgrows what is kept (cheaper than a std::deque's blocks, reading after reading).
    class Queue {
    public:
        template <typename Beaten>
        void pushDropping(qint64 ms, int value, Beaten beaten)
        {
            while (points_.size() > head_ && beaten(points_.back().value))
                points_.pop_back();
            points_.push_back({ms, value});
        }
        void dropOlderThan(qint64 ms)
        {
            while (points_[head_].ms < ms)
                ++head_;  // the newest point is never older: the queue never runs empty
            if (head_ >= 1024 && head_ * 2 >= points_.size()) {
                points_.erase(points_.begin(), points_.begin() + std::ptrdiff_t(head_));
                head_ = 0;
            }
        }
        const Point& front() const { return points_[head_]; }

    private:
        std::vector<Point> points_;
        std::size_t head_ = 0;
    };

    Queue highs_;
    Queue lows_;
    bool found_ = false;
    int best_ = 0;
    qint64 lowMs_ = 0;
    qint64 highMs_ = 0;
};

// The median of the positive spacings between consecutive readings, to the millisecond
// (nth_element: linear time); 0 when there is none.
qint64 medianSpacing(const std::vector<Reading>& readings)
{
    std::vector<qint64> spacings;
    spacings.reserve(readings.size());
    for (std::size_t i = 1; i < readings.size(); ++i)
        if (readings[i].ms > readings[i - 1].ms)
            spacings.push_back(readings[i].ms - readings[i - 1].ms);
    if (spacings.empty())
        return 0;
    const std::size_t middle = spacings.size() / 2;
    std::nth_element(spacings.begin(), spacings.begin() + middle, spacings.end());
    const qint64 upper = spacings[middle];
    if (spacings.size() % 2 == 1)
        return upper;
    const qint64 lower = *std::max_element(spacings.begin(), spacings.begin() + middle);
    return lower + (upper - lower + 1) / 2;  // halves up
}

// Per-temperature factors, computed once for every stored temperature (hundredths).
constexpr int kLowestT = -9999;
constexpr int kTemperatures = 9999 - kLowestT + 1;
constexpr int kHumidities = 10000;

}  // namespace

ClimateAnalysis AnalyseClimate(std::span<const MeasurementRecord> records, double from, double to,
                               const ClimateAnalysisOptions& options)
{
    ClimateAnalysis a;
    a.options = options;
    const Thresholds& th = options.thresholds;
    a.limits = {
        {ClimateChannel::RelativeHumidity, LimitSide::Below, th.humidityLow, 0, NAN, 0, std::nullopt},
        {ClimateChannel::RelativeHumidity, LimitSide::Above, th.humidityHigh, 0, NAN, 0, std::nullopt},
        {ClimateChannel::Temperature, LimitSide::Below, th.temperatureLow, 0, NAN, 0, std::nullopt},
        {ClimateChannel::Temperature, LimitSide::Above, th.temperatureHigh, 0, NAN, 0, std::nullopt},
    };
    const std::optional<qint64> fromMs = linearMs(from);
    const std::optional<qint64> toMs = linearMs(to);
    if (!fromMs || !toMs) {
        a.from = a.to = NAN;
        return a;
    }
    const qint64 firstMinute = floorDiv(*fromMs, kMsPerMinute);
    const qint64 lastMinute = floorDiv(*toMs, kMsPerMinute);
    const qint64 startMs = firstMinute * kMsPerMinute;
    const qint64 endMs = std::max(startMs, (lastMinute + 1) * kMsPerMinute);  // the end of the last minute
    a.from = dayCountOfMs(startMs);
    a.to = dayCountOfMs(lastMinute * kMsPerMinute);
    a.intervalMinutes = minutesOf(endMs - startMs);

    // The readings of the interval in time order.
    std::vector<Reading> readings;
    readings.reserve(records.size());  // pages beyond the interval's readings are never touched
    bool inOrder = true;
    for (const MeasurementRecord& r : records) {
        const std::optional<qint64> ms = linearMs(r.dt);
        if (!ms)
            continue;
        const qint64 minute = floorDiv(*ms, kMsPerMinute);
        if (minute < firstMinute || minute > lastMinute)
            continue;
        if (!readings.empty() && *ms < readings.back().ms)
            inOrder = false;
        readings.push_back({*ms, r.RH, r.T});
    }
    if (!inOrder)
        std::stable_sort(readings.begin(), readings.end(), [](const Reading& x, const Reading& y) { return x.ms < y.ms; });
    const std::size_t n = readings.size();
    a.readings = qint64(n);

    const qint64 median = medianSpacing(readings);
    const qint64 limit = options.gapMinutes > 0 ? std::llround(options.gapMinutes * kMsPerMinuteDouble) : 2 * median;
    // What a reading stands for when the next one is too far or there is none.
    const qint64 lonelyWeight = std::min(median, limit);
    a.medianSpacingMinutes = minutesOf(median);
    a.gapLimitMinutes = minutesOf(limit);

    const auto addGap = [&a](qint64 start, qint64 end) {
        a.gaps.push_back({dayCountOfMs(start), dayCountOfMs(end), minutesOf(end - start)});
    };
    if (n == 0) {
        a.noDataMinutes = a.intervalMinutes;
        if (endMs > startMs)
            addGap(startMs, endMs);
        return a;
    }
    if (readings.front().ms - startMs > limit)
        addGap(startMs, readings.front().ms);

    // Factors of the formulas per stored temperature and humidity, and the pair conversions
    // remembered per distinct pair: no reading pays for an exponential of its own.
    KineticMean kinetic(options.mktActivationKjPerMol), kineticPlain(options.mktActivationKjPerMol);
    std::vector<double> kineticTerm(kTemperatures), inverseLifetimeT(kTemperatures), mouldCritical(kTemperatures);
    std::vector<WoodMoistureFit> woodFit(kTemperatures);
    for (int i = 0; i < kTemperatures; ++i) {
        const double t = (i + kLowestT) / 100.0;
        kineticTerm[i] = kinetic.term(t);
        woodFit[i] = WoodMoistureFitAt(t);
        inverseLifetimeT[i] = 1 / LifetimeTemperatureFactor(t, options.lifetimeActivationKjPerMol);
        mouldCritical[i] = MouldCriticalHumidity(t);
    }
    std::vector<double> inverseLifetimeRH(kHumidities);
    for (int i = 0; i < kHumidities; ++i)
        inverseLifetimeRH[i] = 1 / LifetimeHumidityFactor(i / 100.0);
    HumidityMemo dewPoints(&DewPoint), absolute(&AbsoluteHumidity);
    uint32_t lastKey = HumidityMemo::kEmpty;  // never the key of a valid pair
    double lastDewPoint = 0, lastAbsolute = 0;

    Stats rh, t, dew, abs, emc;
    double emcBelowMs = 0, emcAboveMs = 0;
    double lifetimeWeight = 0, lifetimeInverseSum = 0, lifetimeInversePlain = 0;
    qint64 lifetimeCount = 0;
    qint64 pairs = 0, mouldMs = 0, coveredMs = 0;
    Runs limitRuns[4], mouldRuns;
    Largest24hChange rhChange, tChange;
    qint64 currentDay = 0;
    Stats dayRH, dayT;
    const auto closeDay = [&]() {
        if (dayRH.count + dayT.count == 0)
            return;
        a.days.push_back({QDate::fromJulianDay(currentDay + kJulianDayOfDayZero), dayRH.dayRange(), dayT.dayRange()});
    };

    for (std::size_t i = 0; i < n; ++i) {
        const Reading& r = readings[i];
        qint64 weight;
        bool gapAfter;
        if (i + 1 < n) {
            const qint64 spacing = readings[i + 1].ms - r.ms;
            gapAfter = spacing > limit;
            weight = gapAfter ? lonelyWeight : spacing;
            if (gapAfter)
                addGap(r.ms + weight, readings[i + 1].ms);
        } else {
            gapAfter = true;
            weight = std::min(lonelyWeight, endMs - r.ms);
            if (endMs - (r.ms + weight) > limit)
                addGap(r.ms + weight, endMs);
        }
        const double w = double(weight);

        const qint64 day = floorDiv(r.ms, kMsPerDayInt);
        if (i == 0 || day != currentDay) {
            if (i > 0)
                closeDay();
            currentDay = day;
            dayRH = Stats();
            dayT = Stats();
        }

        const bool rhValid = validRH(r.rh), tValid = validT(r.t);
        if (rhValid || tValid)
            coveredMs += weight;
        if (rhValid) {
            const double v = r.rh / 100.0;
            rh.add(v, r.ms, w);
            dayRH.add(v, r.ms, w);
            rhChange.add(r.ms, r.rh);
        }
        if (tValid) {
            const double v = r.t / 100.0;
            t.add(v, r.ms, w);
            dayT.add(v, r.ms, w);
            tChange.add(r.ms, r.t);
            const double term = kineticTerm[r.t - kLowestT];
            kinetic.add(term, w);
            kineticPlain.add(term, 1);
        }
        limitRuns[0].next(rhValid && r.rh / 100.0 < th.humidityLow, r.ms, weight, gapAfter);
        limitRuns[1].next(rhValid && r.rh / 100.0 > th.humidityHigh, r.ms, weight, gapAfter);
        limitRuns[2].next(tValid && r.t / 100.0 < th.temperatureLow, r.ms, weight, gapAfter);
        limitRuns[3].next(tValid && r.t / 100.0 > th.temperatureHigh, r.ms, weight, gapAfter);

        if (rhValid && tValid) {
            ++pairs;
            // A log repeats its last pair more often than not: then the memos are not asked.
            const uint32_t key = HumidityMemo::keyOf(r.rh, r.t);
            if (key != lastKey) {
                lastKey = key;
                lastDewPoint = dewPoints(r.rh, r.t);
                lastAbsolute = absolute(r.rh, r.t);
            }
            dew.add(lastDewPoint, r.ms, w);
            abs.add(lastAbsolute, r.ms, w);
            const double moisture = WoodEquilibriumMoistureContent(woodFit[r.t - kLowestT], r.rh / 100.0);
            if (!std::isnan(moisture)) {
                emc.add(moisture, r.ms, w);
                if (moisture < 5)
                    emcBelowMs += w;
                if (moisture > 12.5)
                    emcAboveMs += w;
            }
            const double inverse = inverseLifetimeRH[r.rh] * inverseLifetimeT[r.t - kLowestT];
            lifetimeWeight += w;
            lifetimeInverseSum += w * inverse;
            lifetimeInversePlain += inverse;
            ++lifetimeCount;
            const double critical = mouldCritical[r.t - kLowestT];
            const bool mouldy = !std::isnan(critical) && r.rh / 100.0 >= critical;
            if (mouldy)
                mouldMs += weight;
            mouldRuns.next(mouldy, r.ms, weight, gapAfter);
        } else {
            mouldRuns.close();
        }
    }
    closeDay();
    for (Runs& runs : limitRuns)
        runs.close();
    mouldRuns.close();

    a.coveredMinutes = minutesOf(coveredMs);
    a.noDataMinutes = minutesOf(endMs - startMs - coveredMs);
    a.relativeHumidity = rh.summary();
    a.temperature = t.summary();
    a.dewPoint = dew.summary();
    a.absoluteHumidity = abs.summary();
    for (int k = 0; k < 4; ++k) {
        LimitExcursions& limitEntry = a.limits[k];
        const Stats& channel = k < 2 ? rh : t;
        limitEntry.minutes = minutesOf(limitRuns[k].totalMs);
        limitEntry.share = channel.weight > 0 ? double(limitRuns[k].totalMs) / channel.weight : NAN;
        limitEntry.excursions = limitRuns[k].count;
        limitEntry.longest = limitRuns[k].longest();
    }
    a.humidityChange24h = rhChange.result(100);
    a.temperatureChange24h = tChange.result(100);
    if (t.count > 0)
        a.meanKineticTemperature = t.weight > 0 ? kinetic.value() : kineticPlain.value();
    if (emc.count > 0)
        a.woodMoisture = WoodMoisture{emc.mean(), emc.min, emc.max, emcBelowMs / kMsPerMinuteDouble, emcAboveMs / kMsPerMinuteDouble};
    if (lifetimeCount > 0) {
        const double weight = lifetimeWeight > 0 ? lifetimeWeight : double(lifetimeCount);
        const double inverse = lifetimeWeight > 0 ? lifetimeInverseSum : lifetimeInversePlain;
        a.lifetimeMultiplier = inverse > 0 ? weight / inverse : std::numeric_limits<double>::infinity();
    }
    if (pairs > 0)
        a.mould = MouldRisk{double(mouldMs) / 3600000.0, double(mouldRuns.longestEnd - mouldRuns.longestStart) / 3600000.0};
    return a;
}
