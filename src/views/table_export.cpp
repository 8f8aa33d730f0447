#include "views/table_export.h"

#include "logging/report_file_error.h"
#include "views/cell_colors.h"
#include "views/export_file.h"

#include <QBuffer>

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <vector>

namespace {
// Collects UTF-16 text and hands it to the device in large little-endian chunks, so a table of
// a million rows never sits in memory as one string.
class Utf16Writer {
public:
    explicit Utf16Writer(QIODevice& device) : device_(device)
    {
        buffer_.reserve(kChunk + 1024);
        write(QByteArray("\xFF\xFE", 2));
    }

    Utf16Writer& operator<<(const QString& text)
    {
        buffer_ += text;
        if (buffer_.size() >= kChunk)
            flush();
        return *this;
    }
    Utf16Writer& operator<<(QLatin1StringView text)
    {
        buffer_ += text;
        if (buffer_.size() >= kChunk)
            flush();
        return *this;
    }
    Utf16Writer& blanks(qsizetype n)
    {
        if (n > 0)
            buffer_.append(QString(n, QLatin1Char(' ')));
        return *this;
    }

    void flush()
    {
        if (buffer_.isEmpty())
            return;
        QByteArray bytes(buffer_.size() * 2, Qt::Uninitialized);
        char* out = bytes.data();
        for (const QChar c : std::as_const(buffer_)) {
            const char16_t u = c.unicode();
            *out++ = static_cast<char>(u & 0xFF);
            *out++ = static_cast<char>(u >> 8);
        }
        write(bytes);
        buffer_.clear();
    }

private:
    void write(const QByteArray& bytes)
    {
        if (device_.write(bytes) != bytes.size())
            throw ReportFileError(device_.errorString());
    }

    static constexpr qsizetype kChunk = 1 << 16;
    QIODevice& device_;
    QString buffer_;
};

void writeAscii(QIODevice& device, const ReportTable& table)
{
    const qsizetype rows = table.rowCount();
    const int columns = table.columnCount();
    std::vector<qsizetype> width(columns, 0);
    for (qsizetype r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            width[c] = std::max(width[c], table.cellText(r, c).size());
    Utf16Writer out(device);
    const QLatin1StringView lineEnd("\r\n");
    for (qsizetype r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString text = table.cellText(r, c);
            const qsizetype before = (width[c] - text.size() + 1) / 2;  // ceil((W - L) / 2), 0 when L >= W
            const qsizetype beforeUsed = text.size() < width[c] ? before : 0;
            const qsizetype after = width[c] + 1 - beforeUsed - text.size();
            out.blanks(beforeUsed) << text;
            out.blanks(after);
        }
        out << lineEnd;
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

    CellStyle styleOf(qsizetype row, int column, const QString& text) const
    {
        if (row == 0)
            return header_;
        return Grid1GetCellColor(row, column, text, table_.thresholds(), normal_);
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

    const std::vector<QString>& texts() const { return texts_; }

private:
    const ReportTable& table_;
    CellStyle header_;
    CellStyle normal_;
    std::vector<std::pair<CellStyle, int>> known_;
    QHash<QString, int> byText_;
    std::vector<QString> texts_;
};

bool blankText(const QString& text)
{
    for (const QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

void writeHtml(QIODevice& device, const ReportTable& table, const PlatformColors& colors)
{
    const qsizetype rows = table.rowCount();
    const int columns = table.columnCount();
    HtmlStyles styles(table, colors);
    // First pass: the styles in order of first use, so the style block can come first.
    for (qsizetype r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            styles.classOf(styles.styleOf(r, c, table.cellText(r, c)));

    Utf16Writer out(device);
    const QLatin1StringView lineEnd("\r\n");
    out << QLatin1StringView("<style>") << lineEnd;
    for (std::size_t i = 0; i < styles.texts().size(); ++i)
        out << QStringLiteral(".c%1 {%2}").arg(i).arg(styles.texts()[i]) << lineEnd;
    out << QLatin1StringView("</style>") << lineEnd;
    out << QLatin1StringView("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">") << lineEnd;
    for (qsizetype r = 0; r < rows; ++r) {
        out << QLatin1StringView("<tr>") << lineEnd;
        for (int c = 0; c < columns; ++c) {
            const QString text = table.cellText(r, c);
            const int cls = styles.classOf(styles.styleOf(r, c, text));
            out << QLatin1StringView("<td class=\"c") << QString::number(cls) << QLatin1StringView("\" nowrap=\"nowrap\">")
                << (blankText(text) ? QStringLiteral("&nbsp;") : text) << QLatin1StringView("</td>") << lineEnd;
        }
        out << QLatin1StringView("</tr>") << lineEnd;
    }
    out << QLatin1StringView("</table>") << lineEnd << lineEnd;
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
    text += QStringLiteral(";font-family: Tahoma;text-align: center;vertical-align: middle");
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
