// The three forms of a climate analysis: JSON for scripts, the daily table as CSV, and a
// readable page in Russian for the window and the command line.
#pragma once

#include "report/climate_analysis.h"

#include <QByteArray>
#include <QString>

inline constexpr char kClimateDaysCsvHeader[] = "date,rh_min,rh_mean,rh_max,t_min,t_mean,t_max,rh_range\r\n";

// UTF-8 JSON, a stable contract for scripts. Top-level keys in this order: interval {from, to},
// readings, no_data_minutes, gaps [{start, end, minutes}], relative_humidity, temperature,
// dew_point, absolute_humidity (each {min, min_time, max, max_time, mean}, or null without a
// valid value), limits [{channel, side, threshold, minutes, share, excursions,
// longest {start, end, minutes} or null}], mean_kinetic_temperature, wood_emc {mean, min, max,
// minutes_below_5, minutes_above_12_5}, lifetime_multiplier, mould {hours_at_or_above_critical,
// longest_hours}, days [{date, rh_min, rh_mean, rh_max, t_min, t_mean, t_max, rh_range}],
// largest_change_24h {relative_humidity, temperature} (each {change, low_time, high_time}, or null).
// Times are ISO 8601 local times with their UTC offset, as in the readings' CSV; dates are
// YYYY-MM-DD. Numbers are JSON numbers with a decimal point: degrees Celsius, %, g/m3 and the
// thresholds with two decimals, minutes with one, hours with two, shares (0 to 1) with four,
// the lifetime multiplier with three. A figure that cannot be had is null, never a text.
QByteArray ClimateAnalysisJson(const ClimateAnalysis& analysis);

// The daily table: RFC 4180 CSV in UTF-8 with CR LF line ends, the header kClimateDaysCsvHeader,
// one row per day, two decimals with a decimal point, an empty field where the day has no
// valid value of the channel.
QByteArray ClimateAnalysisCsv(const ClimateAnalysis& analysis);

// The page in Russian: every figure with its label, decimal commas, times as dd.MM.yyyy hh:mm,
// the tables in aligned columns (for a monospaced font), "\n" line ends.
QString ClimateAnalysisText(const ClimateAnalysis& analysis);
