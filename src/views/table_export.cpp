#include "views/table_export.h"

#include "logging/report_file_error.h"
#include "views/cell_colors.h"
#include "views/export_file.h"

#include "report/date_time.h"
#include "report/report_row_texts.h"

#include <QBuffer>
#include <QHash>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace {
// UTF-16 little-endian text through an ExportStream, starting with the byte-order mark.
class Utf16Writer {
public:
    explicit Utf16Writer(QIODevice& device) : out_(device) { out_.write("\xFF\xFE", 2); }

    // Room for n more characters; done(end) keeps those written up to end.
    char16_t* room(qsizetype n)
    {
        room_ = reinterpret_cast<char16_t*>(out_.room(2 * n));
        return room_;
    }
    void done(const char16_t* end)
    {
        const qsizetype n = end - room_;
        if constexpr (std::endian::native == std::endian::big)
            for (qsizetype i = 0; i < n; ++i)
                room_[i] = char16_t((room_[i] >> 8) | (room_[i] << 8));
        out_.commit(2 * n);
    }
    void write(QStringView text)
    {
        done(put(room(text.size()), text));
    }
    void flush() { out_.flush(); }

    static char16_t* put(char16_t* at, QStringView text)
    {
        return std::copy_n(text.utf16(), text.size(), at);
    }
    static char16_t* put(char16_t* at, std::u16string_view text) { return std::copy(text.begin(), text.end(), at); }
    static char16_t* blanks(char16_t* at, qsizetype n) { return std::fill_n(at, std::max<qsizetype>(n, 0), u' '); }

private:
    ExportStream out_;
    char16_t* room_ = nullptr;
};

// The longest text of each column, found without making the texts of the data rows: a date is
// always 8 characters and a time 5; a value's text grows with its magnitude (a minus sign
// for a negative value that does not round to zero), so the longest value text is that of the
// column's largest or smallest value, or "---" when the column holds an invalid reading.
std::array<qsizetype, ReportTable::kColumnCount> columnWidths(const ReportTable& table)
{
    std::array<qsizetype, ReportTable::kColumnCount> width{};
    const qsizetype textRows = table.isNoData() ? table.rowCount() : 1;
    for (qsizetype r = 0; r < textRows; ++r)
        for (int c = 0; c < ReportTable::kColumnCount; ++c)
            width[c] = std::max(width[c], table.cellText(r, c).size());
    if (table.isNoData())
        return width;

    struct Extremes {
        bool any = false;
        double low = 0, high = 0;
        bool invalid = false;
        void add(double v)
        {
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    } humidity, temperature;
    bool anyDate = false;
    char digits[kTableValueChars];
    qsizetype nonFinite = 0;  // the longest text of a humidity that is no finite number
    for (const ReportRow& r : table.rows()) {
        anyDate = anyDate || IsValidDayCount(r.minute);
        if (r.flags & kHumidityInvalid)
            humidity.invalid = true;
        else if (std::isfinite(r.humidity))
            humidity.add(r.humidity);
        else
            nonFinite = std::max<qsizetype>(nonFinite, TableValueChars(r.humidity, digits));
        if (r.flags & kTemperatureInvalid)
            temperature.invalid = true;
        else
            temperature.add(r.temperatureValue());
    }
    if (anyDate) {
        width[0] = std::max<qsizetype>(width[0], kDateChars);
        width[1] = std::max<qsizetype>(width[1], kTimeChars);
    }
    width[2] = std::max(width[2], nonFinite);
    int column = 2;
    for (const Extremes& e : {humidity, temperature}) {
        if (e.invalid)
            width[column] = std::max<qsizetype>(width[column], 3);
        if (e.any)
            width[column] = std::max<qsizetype>({width[column], TableValueChars(e.low, digits), TableValueChars(e.high, digits)});
        ++column;
    }
    return width;
}

void writeAscii(QIODevice& device, const ReportTable& table)
{
    const auto width = columnWidths(table);
    qsizetype lineLength = 2;
    for (const qsizetype w : width)
        lineLength += w + 1;
    ReportRowTexts texts(table);
    Utf16Writer out(device);
    const qsizetype rows = table.rowCount();
    for (qsizetype r = 0; r < rows; ++r) {
        texts.make(r);
        char16_t* at = out.room(lineLength);
        for (int c = 0; c < ReportTable::kColumnCount; ++c) {
            const QStringView text = texts.text(c);
            // ceil((W - L) / 2) blanks before a shorter text, then blanks to fill W + 1.
            const qsizetype before = text.size() < width[c] ? (width[c] - text.size() + 1) / 2 : 0;
            at = Utf16Writer::blanks(at, before);
            at = Utf16Writer::put(at, text);
            at = Utf16Writer::blanks(at, width[c] + 1 - before - text.size());
        }
        *at++ = u'\r';
        *at++ = u'\n';
        out.done(at);
    }
    out.flush();
}

QString hex(Rgb color)
{
    return QStringLiteral("%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

class HtmlStyles {
public:
    HtmlStyles(const ReportTable& table, const PlatformColors& colors)
        : table_(table), header_{colors.buttonFace, colors.windowText, false}, normal_{colors.window, colors.windowText, false}
    {
    }

    const CellStyle& header() const { return header_; }
    const CellStyle& normal() const { return normal_; }

    // The style of a cell of the row texts made last (as cellStyleOf gives it).
    CellStyle styleOf(qsizetype row, int column, const ReportRowTexts& texts) const
    {
        if (row == 0)
            return header_;
        if (column <= 1)
            return normal_;
        if (table_.isNoData())
            return cellStyleOf(row, column, texts.text(column).toString(), table_.thresholds(), normal_);
        const ReportRow& r = table_.rows()[std::size_t(row - 1)];
        if (r.flags & (column == 2 ? kHumidityInvalid : kTemperatureInvalid))
            return kInvalidCellStyle;
        return ValueCellColor(column, texts.shownValue(column), table_.thresholds(), normal_);
    }

    // The class number of a style, numbering new styles in order of first use.
    int classOf(const CellStyle& style)
    {
        for (std::size_t i = 0; i < known_.size(); ++i)
            if (known_[i].first == style)
                return known_[i].second;
        const QString text = HtmlCellStyle(style);
        const QString key = text.toLower();
        int index = static_cast<int>(texts_.size());
        const auto it = byText_.constFind(key);
        if (it != byText_.constEnd()) {
            index = it.value();
        } else {
            byText_.insert(key, index);
            texts_.push_back(text);
        }
        known_.emplace_back(style, index);
        return index;
    }
    // Every style a data cell can have is known: no later cell can add a class.
    bool allKnown() const { return known_.size() >= 5; }

    const std::vector<QString>& texts() const { return texts_; }

private:
    const ReportTable& table_;
    CellStyle header_;
    CellStyle normal_;
    std::vector<std::pair<CellStyle, int>> known_;
    QHash<QString, int> byText_;
    std::vector<QString> texts_;
};

bool blankText(QStringView text)
{
    for (const QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

void writeHtml(QIODevice& device, const ReportTable& table, const PlatformColors& colors)
{
    const qsizetype rows = table.rowCount();
    HtmlStyles styles(table, colors);
    ReportRowTexts texts(table);
    // First pass: the styles in order of first use, so the style block can come first. The
    // date and time cells of data rows always have the normal style, and a cell can have one
    // of five styles (header, normal, "---", above, below), so the pass ends once all are seen.
    for (qsizetype r = 0; r < rows && !styles.allKnown(); ++r) {
        texts.make(r);
        for (int c = 0; c < ReportTable::kColumnCount; ++c)
            if (r <= 1 || c >= 2)
                styles.classOf(styles.styleOf(r, c, texts));
    }

    Utf16Writer out(device);
    out.write(u"<style>\r\n");
    for (std::size_t i = 0; i < styles.texts().size(); ++i)
        out.write(QStringLiteral(".c%1 {%2}\r\n").arg(i).arg(styles.texts()[i]));
    out.write(u"</style>\r\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">\r\n");

    // The opening tag of a cell of each class.
    std::vector<std::u16string> opening;
    const auto openingOf = [&](int cls) -> const std::u16string& {
        while (opening.size() <= std::size_t(cls))
            opening.push_back((QStringLiteral("<td class=\"c%1\" nowrap=\"nowrap\">").arg(opening.size())).toStdU16String());
        return opening[std::size_t(cls)];
    };
    const int headerClass = styles.classOf(styles.header());
    const int normalClass = styles.classOf(styles.normal());
    constexpr std::u16string_view rowStart = u"<tr>\r\n", rowEnd = u"</tr>\r\n", cellEnd = u"</td>\r\n", nbsp = u"&nbsp;";
    for (qsizetype r = 0; r < rows; ++r) {
        texts.make(r);
        qsizetype length = rowStart.size() + rowEnd.size();
        for (int c = 0; c < ReportTable::kColumnCount; ++c)
            length += 48 + std::max<qsizetype>(texts.text(c).size(), nbsp.size()) + cellEnd.size();
        char16_t* at = out.room(length);
        at = Utf16Writer::put(at, rowStart);
        for (int c = 0; c < ReportTable::kColumnCount; ++c) {
            const int cls = r == 0 ? headerClass : c <= 1 ? normalClass : styles.classOf(styles.styleOf(r, c, texts));
            at = Utf16Writer::put(at, std::u16string_view(openingOf(cls)));
            const QStringView text = texts.text(c);
            at = blankText(text) ? Utf16Writer::put(at, nbsp) : Utf16Writer::put(at, text);
            at = Utf16Writer::put(at, cellEnd);
        }
        at = Utf16Writer::put(at, rowEnd);
        out.done(at);
    }
    out.write(u"</table>\r\n\r\n");
    out.flush();
}

QString decodeUtf16Le(const QByteArray& bytes)
{
    const qsizetype n = (bytes.size() - 2) / 2;
    QString text(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        text[i] = QChar(char16_t(uchar(bytes[2 + 2 * i]) | (uchar(bytes[3 + 2 * i]) << 8)));
    return text;
}

template <typename Write>
void saveTo(const QString& fileName, Write write)
{
    WriteExportFile(fileName, [&](QIODevice& device) {
        write(device);
    });
}
}  // namespace

QString HtmlCellStyle(const CellStyle& style)
{
    QString text = QStringLiteral("background-color: #") + hex(style.background) + QStringLiteral(";color: #")
                   + hex(style.fontColor) + QStringLiteral(";font-size:8pt");
    if (style.bold)
        text += QStringLiteral(";font-weight: bold");
    // Tahoma first, as the window shows the table; where it is missing (most Linux desktops)
    // the reader takes DejaVu Sans or its own sans-serif face rather than a serif default.
    text += QStringLiteral(";font-family: Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle");
    return text;
}

QString AsciiReportText(const ReportTable& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeAscii(buffer, table);
    return decodeUtf16Le(buffer.data());
}

void SaveToASCII(const QString& fileName, const ReportTable& table)
{
    saveTo(fileName, [&](QIODevice& device) { writeAscii(device, table); });
}

QString HtmlReportText(const ReportTable& table, const PlatformColors& colors)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeHtml(buffer, table, colors);
    return decodeUtf16Le(buffer.data());
}

void SaveToHTML(const QString& fileName, const ReportTable& table, const PlatformColors& colors)
{
    saveTo(fileName, [&](QIODevice& device) { writeHtml(device, table, colors); });
}
