// A synthetic report for the benchmarks: readings once a minute from 1 January 2025 with a
// daily swing, sensor noise and, if asked, a share of invalid humidity values, so that the
// colour rule marks cells all through the table. The interval covers every reading.
#pragma once

#include "logging/report_state.h"
#include "report/date_time.h"

#include <cmath>
#include <random>

inline ReportState MinuteReadings(int count, double invalidShare = 0.0)
{
    std::mt19937 rng(20261210);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ReportState s;
    s.ReportData.reserve(count);
    const double start = DayCountOf(QDate(2025, 1, 1), 0);
    for (int i = 0; i < count; ++i) {
        const double day = i / 1440.0;
        const double rh = 45 - 12 * std::sin(2 * M_PI * day) + noise(rng);
        const double t = 21 + 4 * std::sin(2 * M_PI * day) + 0.2 * noise(rng);
        MeasurementRecord r{start + day + 5.0 / 86400.0, int16_t(std::lround(rh * 10) * 10),
                       int16_t(std::lround(t * 10) * 10)};
        if (unit(rng) < invalidShare)
            r.RH = 12000;
        s.ReportData.push_back(r);
    }
    s.ReportCount = count;
    s.IntervalStart = 0;
    s.IntervalEnd = start + 10000;
    s.DeviceNumberText = QStringLiteral("00A3");
    return s;
}
