// The built report: what the text page's table, both charts, the exports and the printout
// show. Rows are kept compact (minute, humidity value, temperature, flags); the cell
// texts are made on demand, so a report of a million rows costs tens of megabytes.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Display modes of the humidity column.
enum DisplayMode : int { kRelativeHumidity = 0, kDewPoint = 1, kAbsoluteHumidity = 2 };

// Colours as 0xRRGGBB.
using Rgb = uint32_t;
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kBlue = 0x0000FF;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kGreen = 0x008000;
inline constexpr Rgb kYellow = 0xFFFF00;

struct Thresholds {
    double humidityLow = 0;
    double humidityHigh = 0;
    double temperatureLow = 0;
    double temperatureHigh = 0;
};

// Running minimum and maximum over every record of the report (not only the interval); they
// start at 100 and -100, plain numbers that a report may never move.
struct ReportStatistics {
    double humidityMin = 100;
    double humidityMax = -100;
    double temperatureMin = 100;
    double temperatureMax = -100;
};

// Flags of a row: the reading's relative humidity or temperature was invalid and the value
// shown in the charts is the one carried forward.
enum RowFlag : uint8_t { kHumidityInvalid = 1, kTemperatureInvalid = 2 };

// Colour of a chart point, two bits per series in ReportRow::colours.
enum PointColour : uint8_t { kPointSeries = 0, kPointBelow = 1, kPointAbove = 2, kPointInside = 3 };
Rgb PointColourRgb(uint8_t code);

struct ReportRow {
    double minute;        // RecordMinute: the reading's time cut to its minute
    double humidity;      // humidity value in the display mode (carried forward when invalid)
    int16_t temperature;  // temperature in hundredths (carried forward when invalid)
    uint8_t flags;        // RowFlag bits
    uint8_t colours;      // bits 0-1: humidity point, bits 2-3: temperature point (PointColour)

    double temperatureValue() const { return temperature / 100.0; }
};

class ReportTable;

// One chart series seen through the table's rows, without a copy (x = minute, y = value).
class ChartSeries {
public:
    enum Which { Humidity, Temperature };
    ChartSeries(const std::vector<ReportRow>& rows, Which which) : rows_(&rows), which_(which) {}

    std::size_t size() const { return rows_->size(); }
    double x(std::size_t i) const { return (*rows_)[i].minute; }
    double y(std::size_t i) const
    {
        return which_ == Humidity ? (*rows_)[i].humidity : (*rows_)[i].temperatureValue();
    }
    Rgb colour(std::size_t i) const
    {
        return PointColourRgb(which_ == Humidity ? ((*rows_)[i].colours & 3) : (((*rows_)[i].colours >> 2) & 3));
    }

private:
    const std::vector<ReportRow>* rows_;
    Which which_;
};

class ReportTable {
public:
    static constexpr int kColumnCount = 4;

    // An empty table as before any build: the header row and the "no data" row.
    ReportTable();

    // Rows as the table counts them: the header row 0, then the data rows (or the single
    // "no data" row when the report had no records).
    qsizetype rowCount() const { return 1 + (noData_ ? 1 : qsizetype(rows_.size())); }
    int columnCount() const { return kColumnCount; }
    // The text of a cell exactly as the table shows and the exports write it.
    QString cellText(qsizetype row, int column) const;

    // Header texts of the table for a display mode (column 2 follows the mode).
    static QString headerText(int column, int displayMode);

    // The data rows; grid row r (r >= 1) is rows()[r - 1]. Empty for the "no data" table.
    const std::vector<ReportRow>& rows() const { return rows_; }
    bool isNoData() const { return noData_; }

    int displayMode() const { return displayMode_; }
    const Thresholds& thresholds() const { return thresholds_; }
    const ReportStatistics& statistics() const { return statistics_; }
    // The statistics' texts: minimum and maximum of the humidity column, of the temperature.
    QString humidityMinText() const;
    QString humidityMaxText() const;
    QString temperatureMinText() const;
    QString temperatureMaxText() const;

    // "Термогигрометр №<device> - <comment>": the text page's title, both chart titles, the
    // print title.
    const QString& title() const { return title_; }

    ChartSeries humiditySeries() const { return {rows_, ChartSeries::Humidity}; }
    ChartSeries temperatureSeries() const { return {rows_, ChartSeries::Temperature}; }

    QChar dateSeparator() const { return dateSeparator_; }
    QChar timeSeparator() const { return timeSeparator_; }

    // Bytes the table holds (rows and texts), for the memory budget.
    std::size_t memoryBytes() const;

private:
    friend class ReportBuilder;

    std::vector<ReportRow> rows_;
    bool noData_ = true;
    int displayMode_ = kRelativeHumidity;
    Thresholds thresholds_;
    ReportStatistics statistics_;
    QString title_;
    QChar dateSeparator_ = QLatin1Char('.');
    QChar timeSeparator_ = QLatin1Char(':');
};
