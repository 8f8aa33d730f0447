// The climate of a report interval as a conservator or a store keeper judges it: summaries of
// the four channels, the time spent beyond each threshold, a table per day, the mean kinetic
// temperature, the moisture content wood settles at, the lifetime multiplier of organic
// materials and the time mould could grow.
//
// Time weighting. The readings of the interval are taken in time order (a stable sort of a copy
// when the file is out of order). Each reading stands for the time until the next reading,
// at most the gap limit (the option, or twice the median of the positive spacings of the
// interval). A longer stretch is a gap: the reading before it, like the last reading of the
// interval, stands for one median spacing (never more than the gap limit, and never past the
// end of the interval's last minute); the rest of the stretch, up to the next reading, is no
// data and is listed. The time from the interval's start to its first reading, and what is left
// after its last reading's time, are no data as well (listed when longer than the gap limit).
// A reading with both values invalid (the meter's no-data marks) stands for its time as usual,
// but for no channel: its time counts as no data too, without being listed as a gap. A
// channel's covered time is the time of its valid readings.
//
// When the readings have no positive spacing at all (one reading, or all at one moment) there
// is no time to weigh by: the means fall back to plain averages over the readings.
//
// Times are the wall clock's, as the records store them: a reading stands for the wall-clock
// time to the next one, so across a change of the clocks it stands for an hour more or less.
#pragma once

#include "logging/measurement_record.h"
#include "report/report_table.h"

#include <QDate>
#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

struct ClimateAnalysisOptions {
    double gapMinutes = 0;                     // a longer stretch between readings is a gap; 0 (or less): twice the median spacing
    double mktActivationKjPerMol = 83.144;     // activation energy of the mean kinetic temperature (dH/R = 10 000 K)
    double lifetimeActivationKjPerMol = 100;   // activation energy of the lifetime multiplier
    Thresholds thresholds;                     // the report's four, in % of relative humidity and degrees Celsius
};

// ---- Formulas ----

// The gas constant as the mean kinetic temperature takes it (USP <1079.2>: dH = 83.144 kJ/mol
// gives dH/R = 10 000 K) and as the isoperm literature takes it (Michalski: 8.314).
inline constexpr double kMktGasConstant = 8.3144;       // J/(mol K)
inline constexpr double kLifetimeGasConstant = 8.314;   // J/(mol K)
inline constexpr double kCelsiusToKelvin = 273.15;

// Mean kinetic temperature (Haynes, J. D., "Worldwide virtual temperatures for product
// stability testing", J. Pharm. Sci. 60 (1971) 927; USP <1079.2>):
//   Tk = (dH/R) / -ln( sum(w_i exp(-dH / (R T_i))) / sum(w_i) ),  T_i in kelvin,
// the weights being the times the temperatures held. Degrees Celsius; NaN for no weight at all
// or when the spans differ in size. Equal weights when weights is empty.
double MeanKineticTemperature(std::span<const double> tCelsius, std::span<const double> weights,
                              double activationKjPerMol = 83.144);

// The Haynes sum kept as it goes: each term relative to 20 degrees (exp(dH/R (1/293.15 - 1/T)))
// so that a large activation energy neither underflows nor loses digits.
class KineticMean {
public:
    explicit KineticMean(double activationKjPerMol);
    // exp(dH/R (1/293.15 - 1/T)) of a temperature in degrees Celsius.
    double term(double tCelsius) const;
    void add(double term, double weight)
    {
        sum_ += weight * term;
        weights_ += weight;
    }
    // Degrees Celsius; NaN before any weight.
    double value() const;

private:
    double activation_;  // dH/R, kelvin
    double sum_ = 0;
    double weights_ = 0;
};

// Equilibrium moisture content of wood, % of its dry mass, at a temperature (degrees Celsius)
// and a relative humidity (%): the two-hydrate Hailwood-Horrobin fit of Simpson (W. T. Simpson,
// "Predicting equilibrium moisture content of wood by mathematical models", Wood and Fiber 5
// (1973) 41; Wood Handbook, FPL-GTR-190, chapter 4) in its metric form:
//   W = 349 + 1.29T + 0.0135T^2, K = 0.805 + 0.000736T - 0.00000273T^2,
//   K1 = 6.27 - 0.00938T - 0.000303T^2, K2 = 1.91 + 0.0407T - 0.000293T^2, h = RH/100,
//   EMC = 1800/W [Kh/(1 - Kh) + (K1Kh + 2K1K2K^2h^2)/(1 + K1Kh + K1K2K^2h^2)].
// NaN where the fit leaves its sense (Kh >= 1 or a denominator that is not positive, which
// happens only far below freezing).
double WoodEquilibriumMoistureContent(double tCelsius, double rhPercent);
// The same in two steps, for many readings of one temperature: the fit's coefficients at a
// temperature, then the content at a relative humidity (the very same value).
struct WoodMoistureFit {
    double scale;  // 1800 / W
    double K;
    double K1;
    double K1K2;
};
WoodMoistureFit WoodMoistureFitAt(double tCelsius);
double WoodEquilibriumMoistureContent(const WoodMoistureFit& fit, double rhPercent);

// Lifetime multiplier of chemically unstable organic materials relative to 20 degrees and 50 %
// (Michalski's isoperms: S. Michalski, "Double the life for each five-degree drop, more than
// double the life for each halving of relative humidity", ICOM-CC 13th Triennial Meeting,
// Rio de Janeiro 2002):
//   LM = (50/RH)^1.3 exp((Ea/R)(1/T - 1/293.15)),  T in kelvin, R = 8.314 J/(mol K).
// The product of the two factors below; infinite at 0 %.
double LifetimeMultiplier(double tCelsius, double rhPercent, double activationKjPerMol = 100);
double LifetimeHumidityFactor(double rhPercent);                                // (50/RH)^1.3
double LifetimeTemperatureFactor(double tCelsius, double activationKjPerMol);   // exp((Ea/R)(1/T - 1/293.15))

// The lowest relative humidity (%) at which mould grows on wood (Hukka, A. and Viitanen, H. A.,
// "A mathematical model of mould growth on wooden material", Wood Science and Technology 33
// (1999) 475): -0.00267T^3 + 0.160T^2 - 3.13T + 100 from 0 to 20 degrees, 80 % above 20
// degrees; NaN below 0 and above 50 degrees, where the model has no growth.
double MouldCriticalHumidity(double tCelsius);

// ---- The analysis ----

// A stretch of time: day counts of its start and end, and its length in minutes.
struct ClimateStretch {
    double start = 0;
    double end = 0;
    double minutes = 0;
};

// One channel over the interval (relative humidity in %, temperature and dew point in degrees
// Celsius, absolute humidity in g/m3). The extremes' times are those of their first reading.
struct ChannelSummary {
    qint64 readings = 0;         // valid readings
    double min = 0;
    double minTime = 0;          // day count
    double max = 0;
    double maxTime = 0;
    double mean = 0;             // time-weighted
    double coveredMinutes = 0;   // the time the valid readings stand for
};

enum class ClimateChannel { RelativeHumidity, Temperature };
enum class LimitSide { Below, Above };

// Time beyond one threshold: strictly below the minimum or strictly above the maximum, as the
// report table colours the cells. An excursion is a run of consecutive valid readings beyond
// it; a reading back inside, a gap or an invalid reading of the channel (no data either) ends
// it. It lasts from its first reading to the end of its last reading's time.
struct LimitExcursions {
    ClimateChannel channel = ClimateChannel::RelativeHumidity;
    LimitSide side = LimitSide::Below;
    double threshold = 0;
    double minutes = 0;
    double share = 0;  // of the channel's covered time, 0 to 1; NaN when it covers no time
    qint64 excursions = 0;
    std::optional<ClimateStretch> longest;  // the first of the longest
};

// Minimum, time-weighted mean and maximum of a channel over one day.
struct DayRange {
    double min = 0;
    double mean = 0;
    double max = 0;
};

// One calendar day (of the wall clock) holding readings. Each reading's whole time counts for
// the day of the reading, even where it reaches past midnight, so that every mean lies between
// its day's extremes. The humidity range is max - min.
struct ClimateDay {
    QDate date;
    std::optional<DayRange> relativeHumidity;
    std::optional<DayRange> temperature;
};

// The largest difference between two valid readings at most 24 hours apart, with the times of
// the lower and the higher of the two (day counts).
struct LargestChange {
    double change = 0;
    double lowTime = 0;
    double highTime = 0;
};

struct WoodMoisture {
    double mean = 0;  // % of dry mass, time-weighted
    double min = 0;
    double max = 0;
    double minutesBelow5 = 0;     // strictly below 5 %
    double minutesAbove12_5 = 0;  // strictly above 12.5 %
};

struct MouldRisk {
    double hoursAtOrAboveCritical = 0;
    double longestHours = 0;  // the longest run of consecutive readings at or above it (a gap ends a run)
};

struct ClimateAnalysis {
    ClimateAnalysisOptions options;
    // The interval: day counts of its first and last minute (NaN when either is no date); its
    // time runs to the end of the last minute.
    double from = 0;
    double to = 0;
    double intervalMinutes = 0;
    qint64 readings = 0;            // records whose minute lies in the interval
    double medianSpacingMinutes = 0;
    double gapLimitMinutes = 0;
    double coveredMinutes = 0;      // the time the readings with a valid value stand for
    double noDataMinutes = 0;       // intervalMinutes - coveredMinutes
    // Stretches without readings longer than the gap limit, in time order: from the end of a
    // reading's time to the next reading (or the interval's start or end).
    std::vector<ClimateStretch> gaps;

    std::optional<ChannelSummary> relativeHumidity;
    std::optional<ChannelSummary> temperature;
    std::optional<ChannelSummary> dewPoint;          // both values valid
    std::optional<ChannelSummary> absoluteHumidity;  // both values valid

    // Humidity below, above, temperature below, above.
    std::vector<LimitExcursions> limits;

    std::vector<ClimateDay> days;
    std::optional<LargestChange> humidityChange24h;
    std::optional<LargestChange> temperatureChange24h;

    std::optional<double> meanKineticTemperature;  // degrees Celsius
    std::optional<WoodMoisture> woodMoisture;       // readings with both values valid
    // Time-weighted harmonic mean of the readings' multipliers (their decay rates add up):
    // sum(w) / sum(w / LM); infinite when every reading had 0 %.
    std::optional<double> lifetimeMultiplier;
    std::optional<MouldRisk> mould;
};

// The analysis of the records whose minute lies from the minute of from to the minute of to,
// both included, as in the report table. Records whose time stamp is no date are left out;
// a relative humidity outside 0..9999 or a temperature outside -9999..9999 (hundredths) is no
// data for its channel. One pass over the records and one over the interval's readings, no
// text and no date object per record, the conversions remembered per distinct pair: ten
// million readings take less time than their CSV export.
ClimateAnalysis AnalyseClimate(std::span<const MeasurementRecord> records, double from, double to,
                               const ClimateAnalysisOptions& options = {});
