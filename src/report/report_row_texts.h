// The cell texts of a report table made row by row into one reused buffer, exactly as
// ReportTable::cellText gives them but without an allocation per cell: the exports walk
// millions of rows with it.
#pragma once

#include "report/date_time.h"
#include "report/number_format.h"
#include "report/report_table.h"

#include <QStringView>

#include <cstdint>
#include <limits>
#include <vector>

class ReportRowTexts {
public:
    explicit ReportRowTexts(const ReportTable& table);

    // Makes the texts of grid row r (0 the header row); they stay until the next call.
    void make(qsizetype row);
    QStringView text(int column) const { return {texts_[column], lengths_[column]}; }

    // The number a value cell's text shows (ParseDecimal of the text) of the row made last,
    // for a data row's column 2 or 3 that does not hold "---".
    double shownValue(int column) const;

private:
    void copy(int column, const QString& text);
    void number(int column, double value);

    const ReportTable& table_;
    char16_t texts_[ReportTable::kColumnCount][kTableValueChars];
    qsizetype lengths_[ReportTable::kColumnCount] = {};
    qint64 day_ = std::numeric_limits<qint64>::min();  // the day whose date text is in dateText_
    char16_t dateText_[kDateChars] = {};
    // The text of each temperature (hundredths, so at most 65,536 of them), made when first met:
    // length 0 means not made yet; "-327,7" is the longest.
    struct TemperatureText {
        uint8_t length = 0;
        char16_t text[7];
    };
    std::vector<TemperatureText> temperatures_;
};
