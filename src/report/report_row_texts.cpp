#include "report/report_row_texts.h"

#include "report/date_time.h"

#include <algorithm>

ReportRowTexts::ReportRowTexts(const ReportTable& table) : table_(table) {}

void ReportRowTexts::copy(int column, const QString& text)
{
    lengths_[column] = std::min<qsizetype>(text.size(), kTableValueChars);
    std::copy_n(text.utf16(), lengths_[column], texts_[column]);
}

void ReportRowTexts::number(int column, double value)
{
    char digits[kTableValueChars];
    const int n = TableValueChars(value, digits);
    std::copy_n(digits, n, texts_[column]);
    lengths_[column] = n;
}

void ReportRowTexts::make(qsizetype row)
{
    if (row <= 0 || table_.isNoData() || row >= table_.rowCount()) {
        for (int c = 0; c < ReportTable::kColumnCount; ++c)
            copy(c, table_.cellText(row, c));
        return;
    }
    const ReportRow& r = table_.rows()[std::size_t(row - 1)];
    if (const auto parts = SplitDayCount(r.minute)) {
        // Consecutive rows mostly share their day.
        if (parts->day != day_) {
            DateChars(*parts, table_.dateSeparator(), dateText_);
            day_ = parts->day;
        }
        std::copy_n(dateText_, kDateChars, texts_[0]);
        lengths_[0] = kDateChars;
        lengths_[1] = TimeChars(*parts, table_.timeSeparator(), texts_[1]);
    } else {
        lengths_[0] = lengths_[1] = 0;
    }
    static constexpr char16_t invalid[] = u"---";
    if (r.flags & kHumidityInvalid) {
        std::copy_n(invalid, 3, texts_[2]);
        lengths_[2] = 3;
    } else {
        number(2, r.humidity);
    }
    if (r.flags & kTemperatureInvalid) {
        std::copy_n(invalid, 3, texts_[3]);
        lengths_[3] = 3;
    } else {
        if (temperatures_.empty())
            temperatures_.resize(65536);
        TemperatureText& t = temperatures_[std::size_t(r.temperature + 32768)];
        if (t.length == 0) {
            number(3, r.temperatureValue());
            t.length = uint8_t(lengths_[3]);
            std::copy_n(texts_[3], t.length, t.text);
        } else {
            std::copy_n(t.text, t.length, texts_[3]);
            lengths_[3] = t.length;
        }
    }
}

double ReportRowTexts::shownValue(int column) const
{
    // "-ddd,d" is tenths / 10: both that division and ParseDecimal's from_chars give the
    // double nearest to the decimal, so they agree while the tenths are exact in a double.
    const char16_t* p = texts_[column];
    const qsizetype n = lengths_[column];
    const bool negative = n > 0 && p[0] == u'-';
    qsizetype i = negative ? 1 : 0;
    long long tenths = 0;
    int digits = 0;
    for (; i < n && p[i] >= u'0' && p[i] <= u'9' && digits < 15; ++i, ++digits)
        tenths = tenths * 10 + (p[i] - u'0');
    // At most 14 digits before the comma: fewer than 2^53 tenths.
    if (digits > 0 && digits <= 14 && i + 2 == n && p[i] == u',' && p[i + 1] >= u'0' && p[i + 1] <= u'9') {
        const double v = double(tenths * 10 + (p[i + 1] - u'0')) / 10.0;
        return negative ? -v : v;
    }
    return ParseDecimal(text(column).toString());
}
