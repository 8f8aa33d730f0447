#include "views/csv_export.h"

#include "logging/report_file_error.h"
#include "report/date_time.h"
#include "report/utc_offset.h"
#include "report/humidity.h"
#include "views/export_file.h"

#include <QDateTime>
#include <QFile>

#include <cmath>
#include <limits>

namespace {

bool validRH(int16_t rh)
{
    return rh >= 0 && rh <= 9999;
}

bool validT(int16_t t)
{
    return t >= -9999 && t <= 9999;
}

// One row of text on the stack: the row is made character by character and joins the file's
// text in one piece (appending each character to the whole text costs ten times as much).
struct RowText {
    char text[160];
    int size = 0;
    RowText& operator+=(char c)
    {
        text[size++] = c;
        return *this;
    }
    RowText& operator+=(const char* s)
    {
        while (*s)
            text[size++] = *s++;
        return *this;
    }
};

template <typename Out>
void appendDigits(Out& out, long long value, int width)
{
    char buf[24];
    int n = 0;
    do {
        buf[n++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 || n < width);
    while (n > 0)
        out += buf[--n];
}

// A fixed-point number with the given number of decimals: value is in units of the last one.
template <typename Out>
void appendFixed(Out& out, long long units, int decimals)
{
    if (units < 0) {
        out += '-';
        units = -units;
    }
    long long scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    appendDigits(out, units / scale, 1);
    if (decimals > 0) {
        out += '.';
        appendDigits(out, units % scale, decimals);
    }
}

// "2026-12-10T" of a day count's day; readings of one day share it, so it is made once a day.
class DayText {
public:
    const RowText& operator()(qint64 day)
    {
        if (day != day_) {
            day_ = day;
            const QDate date = QDate::fromJulianDay(day + kJulianDayOfDayZero);
            text_.size = 0;
            appendDigits(text_, date.year(), 4);
            text_ += '-';
            appendDigits(text_, date.month(), 2);
            text_ += '-';
            appendDigits(text_, date.day(), 2);
            text_ += 'T';
        }
        return text_;
    }

private:
    qint64 day_ = std::numeric_limits<qint64>::min();
    RowText text_;
};

// 2026-12-10T14:47:08.123+03:00
template <typename Out>
void appendTime(Out& out, const RowText& dateText, const DayTime& when, int offsetSeconds)
{
    for (int i = 0; i < dateText.size; ++i)
        out += dateText.text[i];
    const int ms = when.msOfDay;
    appendDigits(out, ms / 3600000, 2);
    out += ':';
    appendDigits(out, ms / 60000 % 60, 2);
    out += ':';
    appendDigits(out, ms / 1000 % 60, 2);
    out += '.';
    appendDigits(out, ms % 1000, 3);
    out += offsetSeconds < 0 ? '-' : '+';
    const int minutes = std::abs(offsetSeconds) / 60;
    appendDigits(out, minutes / 60, 2);
    out += ':';
    appendDigits(out, minutes % 60, 2);
}

}  // namespace

std::optional<RecordFieldTexts> RecordFields(const MeasurementRecord& r, std::optional<int> utcOffsetSeconds)
{
    const std::optional<DayTime> when = SplitDayCount(r.dt);
    if (!when)
        return std::nullopt;
    RecordFieldTexts f;
    DayText dateOf;
    const int offset = utcOffsetSeconds ? *utcOffsetSeconds : WallClockZone().offsetsAt(WallClockMs(*when)).first;
    appendTime(f.time, dateOf(when->day), *when, offset);
    const bool rhValid = validRH(r.RH), tValid = validT(r.T);
    if (rhValid)
        appendFixed(f.relativeHumidity, r.RH, 2);
    if (tValid)
        appendFixed(f.temperature, r.T, 2);
    if (rhValid && tValid) {
        appendFixed(f.dewPoint, std::llround(DewPoint(r.RH / 100.0, r.T / 100.0) * 100), 2);
        appendFixed(f.absoluteHumidity, std::llround(AbsoluteHumidity(r.RH / 100.0, r.T / 100.0) * 10), 1);
    }
    return f;
}

namespace {

// The CSV text in pieces of about kPiece bytes, each handed to put as soon as it is full, so
// that a file export never holds the whole text: one piece buffer is reused throughout.
constexpr qsizetype kPiece = 1 << 16;

template <typename Put>
void writeCsv(const ReportState& state, Put&& put)
{
    QByteArray piece;
    piece.reserve(kPiece + 256);
    piece += kCsvHeader;
    const std::optional<double> start = TryTruncToMinute(state.IntervalStart);
    const std::optional<double> end = TryTruncToMinute(state.IntervalEnd);
    const qsizetype count = start && end ? std::min(state.ReportCount, state.ReportData.size()) : 0;
    RecordOffsets offsets;  // fed every record in order, inside the interval or not
    DayText dateOf;
    HumidityMemo dewPoints(DewPoint);
    HumidityMemo absolute(AbsoluteHumidity);
    for (qsizetype i = 0; i < count; ++i) {
        const MeasurementRecord& r = state.ReportData[i];
        const std::optional<double> minute = TryTruncToMinute(r.dt);
        const std::optional<DayTime> when = SplitDayCount(r.dt);
        if (!minute || !when)
            continue;
        const int offset = offsets.nextWallMs(WallClockMs(*when));
        if (*minute < *start || *minute > *end)
            continue;
        RowText row;
        appendTime(row, dateOf(when->day), *when, offset);
        const bool rhValid = validRH(r.RH), tValid = validT(r.T);
        row += ',';
        if (rhValid)
            appendFixed(row, r.RH, 2);
        row += ',';
        if (tValid)
            appendFixed(row, r.T, 2);
        row += ',';
        if (rhValid && tValid)
            appendFixed(row, std::llround(dewPoints(r.RH, r.T) * 100), 2);
        row += ',';
        if (rhValid && tValid)
            appendFixed(row, std::llround(absolute(r.RH, r.T) * 10), 1);
        row += "\r\n";
        piece.append(row.text, row.size);
        if (piece.size() >= kPiece) {
            put(piece);
            piece.resize(0);
        }
    }
    if (!piece.isEmpty())
        put(piece);
}

}  // namespace

QByteArray ReportCsv(const ReportState& state)
{
    QByteArray out;
    out.reserve(std::min(state.ReportCount, state.ReportData.size()) * 80 + 128);  // a row is 60 to 80 bytes
    writeCsv(state, [&out](const QByteArray& piece) { out += piece; });
    return out;
}

void SaveToCSV(const QString& fileName, const ReportState& state)
{
    // Like every export: through a temporary file that replaces the target only when complete.
    WriteExportFile(fileName, [&state](QIODevice& device) {
        writeCsv(state, [&device](const QByteArray& piece) {
            if (device.write(piece) != piece.size())
                throw ReportFileError(device.errorString());
        });
    });
}
