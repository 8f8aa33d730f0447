// Report building: turns the records in memory into the table rows, chart points, title and
// statistics of a ReportTable. Runs after every reading, when a stored report is loaded, when
// the display mode changes and when a threshold field is left.
#pragma once

#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/humidity.h"
#include "report/progress.h"
#include "report/report_table.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

// Conversions remembered from one build to the next. The window keeps one, so the rebuild
// after each reading, or a switch back to a display mode, converts only pairs it has not seen.
struct ConversionCache {
    HumidityMemo dewPoint{&DewPoint};
    HumidityMemo absoluteHumidity{&AbsoluteHumidity};
};

// What a build reads besides the report state: the selected display mode, the four
// thresholds as the user typed them (mask texts, blanks in unfilled positions) and the
// colour-chart setting.
struct ReportSettings {
    int displayMode = kRelativeHumidity;  // any value other than 1 or 2 counts as relative humidity
    QString minHumidityText = QStringLiteral("+00,0");     // the minimum-humidity threshold
    QString maxHumidityText = QStringLiteral("+99,9");     // the maximum-humidity threshold
    QString minTemperatureText = QStringLiteral("-40,0");  // the minimum-temperature threshold
    QString maxTemperatureText = QStringLiteral("+60,0");  // the maximum-temperature threshold
    bool colorChart = false;
    // The date and time separators of the cell texts; the system's when not given.
    std::optional<DateTimeSeparators> separators;
    // Conversions kept from earlier builds (may be null: the build then keeps its own).
    ConversionCache* cache = nullptr;
};

// The four thresholds from the four mask texts: ParseDecimal(BlanksToZeros(text)), so
// "-4 , " gives -40 and "+  , " gives 0; a text that is no number gives 0.
Thresholds ThresholdsFromMaskTexts(const QString& minHumidity, const QString& maxHumidity,
                                   const QString& minTemperature, const QString& maxTemperature);

// One build, step by step. BuildReport drives it; it is public so that each step can be
// checked on its own.
class ReportBuilder {
public:
    ReportBuilder(const ReportState& state, const ReportSettings& settings);

    // Validates and converts record i, carries the last valid values forward over invalid
    // readings, updates the statistics and RecordMinute. Returns the flags (RowFlag bits), or
    // nothing when the record's time stamp is no date in the years 1 to 9999: such a record
    // is left out and changes nothing.
    std::optional<uint8_t> ConvertRecord(qsizetype i);
    // ConvertRecord, then the table row and the two chart points when the record's minute
    // lies inside the interval (both ends included).
    void AddReportRow(qsizetype i);

    qsizetype recordCount() const { return count_; }
    ReportTable finish();

    // Carry-forward values in hundredths (0 at the start of each build) and the current minute.
    int16_t LastValidRH = 0;
    int16_t LastValidT = 0;
    double RecordMinute = 0;
    // The humidity value and temperature of the record converted last. A dew point met for the
    // first time is a stand-in (a NaN) until finish() puts the value in.
    double humidity = 0;
    int16_t temperature = 0;

private:
    // The dew points a build meets for the first time. The rows hold a stand-in until
    // finish() converts them all at once, on all the processor's cores, and puts them in.
    class DeferredPairs {
    public:
        // A NaN that carries the pair's place in keys(); the same pair gives the same place.
        double standIn(uint32_t key)
        {
            if (!slotKeys_.empty()) {
                const uint32_t* keys = slotKeys_.data();
                std::size_t i = slotOf(key);
                for (uint32_t k; (k = keys[i]) != HumidityMemo::kEmpty; i = (i + 1) & mask_)
                    if (k == key)
                        return standInFor(slotPlaces_[i]);
            }
            return standInFor(add(key));
        }
        static bool isStandIn(double value) { return std::isnan(value); }
        static uint32_t placeOf(double standIn)
        {
            uint64_t bits;
            std::memcpy(&bits, &standIn, sizeof bits);
            return uint32_t(bits);
        }
        const std::vector<uint32_t>& keys() const { return keys_; }

    private:
        static double standInFor(uint32_t place)
        {
            const uint64_t bits = 0x7FF8000000000000u | place;  // a quiet NaN
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        std::size_t slotOf(uint32_t key) const { return uint32_t(key * 0x9E3779B1u) >> shift_; }
        uint32_t add(uint32_t key);  // a key not seen yet: its place
        void grow();

        // Open addressing, at most a quarter used; keys and places apart, as in HumidityMemo.
        std::vector<uint32_t> slotKeys_;
        std::vector<uint32_t> slotPlaces_;
        std::size_t mask_ = 0;
        int shift_ = 32;
        std::vector<uint32_t> keys_;
    };

    uint8_t pointColour(double value, double low, double high) const;
    double convertHumidity(int16_t rh, int16_t t);
    void putInDeferredDewPoints();

    QList<MeasurementRecord> records_;  // snapshot: a nested reading may replace the state's list
    qsizetype count_ = 0;
    std::optional<double> startMinute_;
    std::optional<double> endMinute_;
    bool colorChart_ = false;
    ReportTable table_;
    int mode_ = kRelativeHumidity;
    HumidityMemo ownMemo_;
    HumidityMemo* memo_;
    DeferredPairs deferred_;
};

// Rebuilds the whole report from state. FromReading is true only when a reading calls it: the
// wait window is then not shown and window messages run only before and after the loop.
// progress may be null (no wait window at all).
ReportTable BuildReport(const ReportState& state, const ReportSettings& settings, bool FromReading,
                        WaitProgress* progress = nullptr);
