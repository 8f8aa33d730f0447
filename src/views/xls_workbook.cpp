#include "views/xls_workbook.h"

#include "logging/report_file_error.h"
#include "views/export_file.h"

#include "report/report_row_texts.h"

#include <QBuffer>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---- Little-endian byte output -------------------------------------------------------------

class Bytes {
public:
    void u8(uint8_t v) { data.append(static_cast<char>(v)); }
    void u16(uint16_t v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void utf16(QStringView s)
    {
        for (const QChar c : s)
            u16(c.unicode());
    }
    void zeros(qsizetype n) { data.append(QByteArray(n, '\0')); }
    qsizetype size() const { return data.size(); }

    QByteArray data;
};

// A view the compiler compares inline (QStringView's == calls into the library).
std::u16string_view view(QStringView s)
{
    return {s.utf16(), std::size_t(s.size())};
}

// ---- BIFF8 records -------------------------------------------------------------------------

constexpr qsizetype kMaxRecordData = 8224;

void record(Bytes& out, uint16_t type, const QByteArray& body)
{
    out.u16(type);
    out.u16(static_cast<uint16_t>(body.size()));
    out.data.append(body);
}

QByteArray bof(uint16_t kind)
{
    Bytes b;
    b.u16(0x0600);  // BIFF8
    b.u16(kind);    // 0x0005 workbook globals, 0x0010 worksheet
    b.u16(0x0DBB);  // build
    b.u16(0x07CC);  // year
    b.u32(0x00000000);
    b.u32(0x00000006);  // lowest version that can read it: BIFF8
    return b.data;
}

// A short string (one-byte length) as font and sheet names use it, always in UTF-16.
void shortString(Bytes& b, const QString& s)
{
    b.u8(static_cast<uint8_t>(s.size()));
    b.u8(0x01);
    b.utf16(s);
}

QByteArray font()
{
    Bytes b;
    b.u16(200);     // 10 pt in twips
    b.u16(0x0000);  // no attributes
    b.u16(0x7FFF);  // automatic colour
    b.u16(400);     // normal weight
    b.u16(0);       // no super/subscript
    b.u8(0);        // no underline
    b.u8(0);        // family
    b.u8(204);      // Cyrillic character set
    b.u8(0);
    shortString(b, QStringLiteral("Arial"));
    return b.data;
}

QByteArray xf(bool style)
{
    Bytes b;
    b.u16(0);                          // font 0
    b.u16(0);                          // format "General"
    b.u16(style ? 0xFFF5 : 0x0001);    // locked; style XF or cell XF with the Normal style as parent
    b.u8(0x20);                        // aligned to the bottom
    b.u8(0);
    b.u8(0);
    b.u8(style ? 0x00 : 0xF8);         // the cell XF carries its own attributes
    b.u32(0);                          // no borders
    b.u32(0);
    b.u16(0x20C0);                     // default pattern colours
    return b.data;
}

constexpr uint16_t kCellXf = 15;  // the first cell XF after the fifteen style XFs

// The shared string table: every distinct cell text once, in order of first use, kept in one
// character arena with an open-addressing index (no allocation per string), split into
// CONTINUE records when written, with the positions its index record (EXTSST) needs.
class SharedStrings {
public:
    SharedStrings() : slots_(1024, 0) { starts_.push_back(0); }

    // The index of a text, adding it when new.
    uint32_t add(QStringView s)
    {
        uint32_t& slot = slotOf(s);
        if (slot == 0) {
            chars_.insert(chars_.end(), s.utf16(), s.utf16() + s.size());
            starts_.push_back(chars_.size());
            const auto index = static_cast<uint32_t>(count() - 1);
            slot = index + 1;
            if (std::size_t(2 * count()) > slots_.size())
                grow();  // slot is not used after this
            return index;
        }
        return slot - 1;
    }
    // The number of cells, each counted once whatever its text.
    void setTotal(uint32_t cells) { total_ = cells; }
    // The index of a text that add() has seen.
    uint32_t find(QStringView s) { return slotOf(s) - 1; }

    qsizetype count() const { return qsizetype(starts_.size()) - 1; }
    QStringView string(qsizetype i) const
    {
        return {chars_.data() + starts_[std::size_t(i)], qsizetype(starts_[std::size_t(i) + 1] - starts_[std::size_t(i)])};
    }

    // Appends SST (and its CONTINUE records) and EXTSST to out.
    void write(Bytes& out) const
    {
        const qsizetype bucketSize = std::max<qsizetype>(8, (count() + 127) / 128);
        struct Bucket {
            uint32_t streamPosition;
            uint16_t offsetInRecord;
        };
        std::vector<Bucket> buckets;

        qsizetype recordStart = out.size();
        Bytes body;
        body.u32(total_);
        body.u32(static_cast<uint32_t>(count()));
        uint16_t type = 0x00FC;
        const auto closeRecord = [&] {
            record(out, type, body.data);
            body.data.clear();
            type = 0x003C;  // CONTINUE
            recordStart = out.size();
        };
        for (qsizetype i = 0; i < count(); ++i) {
            const QStringView s = string(i);
            // A string's length and flags never part from its first character.
            if (kMaxRecordData - body.size() < 5)
                closeRecord();
            if (i % bucketSize == 0)
                buckets.push_back({static_cast<uint32_t>(recordStart + 4 + body.size()),
                                   static_cast<uint16_t>(4 + body.size())});
            body.u16(static_cast<uint16_t>(s.size()));
            body.u8(0x01);
            qsizetype done = 0;
            while (done < s.size()) {
                qsizetype room = (kMaxRecordData - body.size()) / 2;
                if (room == 0) {
                    closeRecord();
                    body.u8(0x01);  // a continued string repeats its flags
                    room = (kMaxRecordData - body.size()) / 2;
                }
                const qsizetype n = std::min(room, s.size() - done);
                body.utf16(s.mid(done, n));
                done += n;
            }
        }
        closeRecord();

        Bytes ext;
        ext.u16(static_cast<uint16_t>(bucketSize));
        for (const Bucket& b : buckets) {
            ext.u32(b.streamPosition);
            ext.u16(b.offsetInRecord);
            ext.u16(0);
        }
        record(out, 0x00FF, ext.data);
    }

private:
    static uint64_t hash(QStringView s)
    {
        uint64_t h = 14695981039346656037ull;  // FNV-1a over the UTF-16 code units
        for (const QChar c : s)
            h = (h ^ c.unicode()) * 1099511628211ull;
        return h ^ (h >> 29);
    }
    // The slot of a text: its index + 1, or 0 where it would go when it is not there.
    uint32_t& slotOf(QStringView s)
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash(s) & mask;; i = (i + 1) & mask) {
            uint32_t& slot = slots_[i];
            if (slot == 0 || view(string(slot - 1)) == view(s))
                return slot;
        }
    }
    void grow()
    {
        std::vector<uint32_t> old(slots_.size() * 2, 0);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const uint32_t slot : old) {
            if (slot == 0)
                continue;
            std::size_t i = hash(string(slot - 1)) & mask;
            while (slots_[i] != 0)
                i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }

    std::vector<char16_t> chars_;
    std::vector<std::size_t> starts_;
    std::vector<uint32_t> slots_;
    uint32_t total_ = 0;
};

// The cells of the workbook, one row at a time.
class CellRows {
public:
    virtual ~CellRows() = default;
    virtual void make(qsizetype row) = 0;
    virtual QStringView text(int column) const = 0;
};

class ReportTableRows : public CellRows {
public:
    explicit ReportTableRows(const ReportTable& table) : texts_(table) {}
    void make(qsizetype row) override { texts_.make(row); }
    QStringView text(int column) const override { return texts_.text(column); }

private:
    ReportRowTexts texts_;
};

class FunctionRows : public CellRows {
public:
    FunctionRows(int columnCount, const std::function<QString(qsizetype, int)>& cell) : cell_(cell), texts_(columnCount) {}
    void make(qsizetype row) override
    {
        for (int c = 0; c < int(texts_.size()); ++c)
            texts_[std::size_t(c)] = cell_(row, c);
    }
    QStringView text(int column) const override { return texts_[std::size_t(column)]; }

private:
    const std::function<QString(qsizetype, int)>& cell_;
    std::vector<QString> texts_;
};

// The texts of a row as the workbook stores them: CR characters removed. Remembers each
// column's text of the row before and its string index, since consecutive rows often repeat
// a text (the date).
class WorkbookRow {
public:
    WorkbookRow(CellRows& rows, int columnCount) : rows_(rows), scratch_(std::size_t(columnCount)), previous_(std::size_t(columnCount)) {}

    void make(qsizetype row) { rows_.make(row); }
    QStringView text(int column)
    {
        const QStringView t = rows_.text(column);
        if (std::find(t.utf16(), t.utf16() + t.size(), u'\r') == t.utf16() + t.size())
            return t;
        std::u16string& s = scratch_[std::size_t(column)];
        s.clear();
        for (const QChar c : t)
            if (c != QLatin1Char('\r'))
                s.push_back(c.unicode());
        return QStringView(s.data(), qsizetype(s.size()));
    }
    // The string index of a cell: lookup(text) unless it is the column's text of the row before.
    template <typename Lookup>
    uint32_t index(int column, Lookup lookup)
    {
        const QStringView t = text(column);
        Previous& p = previous_[std::size_t(column)];
        if (p.valid && std::u16string_view(p.text) == view(t))
            return p.index;
        p.text.assign(t.utf16(), t.utf16() + t.size());
        p.index = lookup(t);
        p.valid = true;
        return p.index;
    }

private:
    struct Previous {
        std::u16string text;
        uint32_t index = 0;
        bool valid = false;
    };
    CellRows& rows_;
    std::vector<std::u16string> scratch_;
    std::vector<Previous> previous_;
};

constexpr qsizetype kLabelRecord = 4 + 10;
// BOF, DIMENSIONS, the cells, WINDOW2 and EOF of a sheet.
qsizetype sheetSize(qsizetype rows, int columnCount)
{
    return (4 + 16) + (4 + 14) + rows * columnCount * kLabelRecord + (4 + 18) + 4;
}

// The first sheet takes the table's rows from its header row on; every later sheet starts
// with the header row again, followed by the next data rows.
constexpr qsizetype kDataRowsOfLaterSheets = kXlsRowsPerSheet - 1;

qsizetype sheetCount(qsizetype rowCount)
{
    if (rowCount <= kXlsRowsPerSheet)
        return 1;
    return 1 + (rowCount - kXlsRowsPerSheet + kDataRowsOfLaterSheets - 1) / kDataRowsOfLaterSheets;
}

// The table row the sheet's rows after its header start at (the first sheet: row 0, the header).
qsizetype firstRowOfSheet(qsizetype sheet)
{
    return sheet == 0 ? 0 : kXlsRowsPerSheet + (sheet - 1) * kDataRowsOfLaterSheets;
}

// The rows a sheet holds, its repeated header row included.
qsizetype rowsOfSheet(qsizetype sheet, qsizetype rowCount)
{
    if (sheet == 0)
        return std::min<qsizetype>(kXlsRowsPerSheet, rowCount);
    const qsizetype data = std::min<qsizetype>(kDataRowsOfLaterSheets, rowCount - firstRowOfSheet(sheet));
    return data > 0 ? 1 + data : 0;
}

// The workbook globals: everything before the first sheet, the shared strings included, with
// the sheets' stream positions worked out from their sizes.
QByteArray workbookGlobals(qsizetype rowCount, int columnCount, const SharedStrings& sst)
{
    const qsizetype sheets = sheetCount(rowCount);
    Bytes g;
    std::vector<qsizetype> positionFields;
    record(g, 0x0809, bof(0x0005));
    Bytes codepage;
    codepage.u16(1200);  // UTF-16
    record(g, 0x0042, codepage.data);
    Bytes window1;
    window1.u16(0);
    window1.u16(0);
    window1.u16(0x3000);
    window1.u16(0x2000);
    window1.u16(0x0038);
    window1.u16(0);
    window1.u16(0);
    window1.u16(1);
    window1.u16(0x0258);
    record(g, 0x003D, window1.data);
    // Font 4 is never referred to by index; five records fill 0 to 3 and 5.
    for (int i = 0; i < 5; ++i)
        record(g, 0x0031, font());
    for (int i = 0; i < 15; ++i)
        record(g, 0x00E0, xf(true));
    record(g, 0x00E0, xf(false));
    record(g, 0x0293, QByteArray("\x00\x80\x00\xFF", 4));  // the built-in style Normal
    for (qsizetype s = 0; s < sheets; ++s) {
        Bytes sheet;
        positionFields.push_back(g.size() + 4);  // after the record header
        sheet.u32(0);
        sheet.u8(0);  // visible
        sheet.u8(0);  // worksheet
        shortString(sheet, QStringLiteral("Лист%1").arg(s + 1));
        record(g, 0x0085, sheet.data);
    }
    sst.write(g);
    record(g, 0x000A, {});
    auto at = static_cast<uint32_t>(g.size());
    for (qsizetype s = 0; s < sheets; ++s) {
        for (int b = 0; b < 4; ++b)
            g.data[positionFields[std::size_t(s)] + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
        at += static_cast<uint32_t>(sheetSize(rowsOfSheet(s, rowCount), columnCount));
    }
    return g.data;
}

template <typename T>
char* putLe(char* at, T v)
{
    for (std::size_t b = 0; b < sizeof(T); ++b)
        *at++ = static_cast<char>((v >> (8 * b)) & 0xFF);
    return at;
}

// The sheets, streamed: each cell a LABELSST record pointing into the shared strings.
void writeSheets(ExportStream& out, qsizetype rowCount, int columnCount, WorkbookRow& row, SharedStrings& sst)
{
    const qsizetype sheets = sheetCount(rowCount);
    const auto find = [&sst](QStringView t) { return sst.find(t); };
    for (qsizetype s = 0; s < sheets; ++s) {
        const qsizetype first = firstRowOfSheet(s);
        const qsizetype rows = rowsOfSheet(s, rowCount);
        const bool repeatsHeader = s > 0;
        Bytes head;
        record(head, 0x0809, bof(0x0010));
        Bytes dim;
        dim.u32(0);
        dim.u32(static_cast<uint32_t>(rows));
        dim.u16(0);
        dim.u16(static_cast<uint16_t>(columnCount));
        dim.u16(0);
        record(head, 0x0200, dim.data);
        out.write(head.data.constData(), head.size());
        for (qsizetype r = 0; r < rows; ++r) {
            row.make(!repeatsHeader ? first + r : r == 0 ? 0 : first + r - 1);
            char* at = out.room(columnCount * kLabelRecord);
            for (int c = 0; c < columnCount; ++c) {
                at = putLe<uint16_t>(at, 0x00FD);
                at = putLe<uint16_t>(at, 10);
                at = putLe<uint16_t>(at, static_cast<uint16_t>(r));
                at = putLe<uint16_t>(at, static_cast<uint16_t>(c));
                at = putLe<uint16_t>(at, kCellXf);
                at = putLe<uint32_t>(at, row.index(c, find));
            }
            out.commit(columnCount * kLabelRecord);
        }
        Bytes tail;
        Bytes window;
        window.u16(s == 0 ? 0x06B6 : 0x04B6);  // gridlines, headers, zeros; the first sheet selected
        window.u16(0);
        window.u16(0);
        window.u16(0x0040);
        window.u16(0);
        window.u16(0);
        window.u16(0);
        window.u32(0);
        record(tail, 0x023E, window.data);
        record(tail, 0x000A, {});
        out.write(tail.data.constData(), tail.size());
    }
}

// ---- Compound document holding the one stream "Workbook" -----------------------------------

constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr qsizetype kSector = 512;
constexpr qsizetype kMiniStreamCutoff = 4096;

void directoryEntry(Bytes& b, const QString& name, uint8_t type, uint32_t child, uint32_t start, uint32_t size)
{
    const qsizetype begin = b.size();
    b.utf16(name);
    b.zeros(64 - name.size() * 2);
    b.u16(name.isEmpty() ? 0 : static_cast<uint16_t>((name.size() + 1) * 2));
    b.u8(type);
    b.u8(1);  // black
    b.u32(kNoStream);
    b.u32(kNoStream);
    b.u32(child);
    b.zeros(16 + 4 + 8 + 8);
    b.u32(start);
    b.u32(size);
    b.u32(0);
    Q_ASSERT(b.size() - begin == 128);
}

// Where everything of the container goes, worked out from the workbook stream's length alone,
// so that the header can be written before the stream and the stream need not be held.
struct ContainerPlan {
    explicit ContainerPlan(qsizetype workbookBytes)
    {
        // Streams below the cut-off would live in the mini stream; the workbook is padded
        // instead, readers stop at its last EOF record.
        streamSize = std::max(workbookBytes, kMiniStreamCutoff);
        streamSectors = (streamSize + kSector - 1) / kSector;
        for (;;) {
            const qsizetype total = streamSectors + 1 + fatSectors + difatSectors;
            const qsizetype fatNeeded = (total + 127) / 128;
            const qsizetype difatNeeded = fatNeeded > 109 ? (fatNeeded - 109 + 126) / 127 : 0;
            if (fatNeeded == fatSectors && difatNeeded == difatSectors)
                break;
            fatSectors = fatNeeded;
            difatSectors = difatNeeded;
        }
        directorySector = static_cast<uint32_t>(streamSectors);
        firstFat = static_cast<uint32_t>(streamSectors + 1);
        firstDifat = static_cast<uint32_t>(firstFat + fatSectors);
    }

    // The sector table's entry for sector i.
    uint32_t fatEntry(qsizetype i) const
    {
        if (i < streamSectors)
            return i + 1 < streamSectors ? static_cast<uint32_t>(i + 1) : kEndOfChain;
        if (i == directorySector)
            return kEndOfChain;
        if (i >= firstFat && i < firstFat + fatSectors)
            return kFatSector;
        if (i >= firstDifat && i < firstDifat + difatSectors)
            return kDifatSector;
        return kFreeSector;
    }

    qsizetype streamSize = 0;  // with the padding up to the cut-off: the Workbook entry's size
    qsizetype streamSectors = 0;
    qsizetype fatSectors = 0;
    qsizetype difatSectors = 0;
    uint32_t directorySector = 0;
    uint32_t firstFat = 0;
    uint32_t firstDifat = 0;
};

void writeContainerHeader(ExportStream& stream, const ContainerPlan& plan)
{
    Bytes out;
    out.data.append(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    out.zeros(16);
    out.u16(0x003E);
    out.u16(0x0003);
    out.u16(0xFFFE);
    out.u16(9);   // 512-byte sectors
    out.u16(6);   // 64-byte mini sectors
    out.zeros(6);
    out.u32(0);   // directory sectors (not counted in version 3)
    out.u32(static_cast<uint32_t>(plan.fatSectors));
    out.u32(plan.directorySector);
    out.u32(0);
    out.u32(static_cast<uint32_t>(kMiniStreamCutoff));
    out.u32(kEndOfChain);  // no mini FAT
    out.u32(0);
    out.u32(plan.difatSectors ? plan.firstDifat : kEndOfChain);
    out.u32(static_cast<uint32_t>(plan.difatSectors));
    for (qsizetype i = 0; i < 109; ++i)
        out.u32(i < plan.fatSectors ? static_cast<uint32_t>(plan.firstFat + i) : kFreeSector);
    stream.write(out.data.constData(), out.size());
}

// What follows the workbook stream of workbookBytes: its padding to whole sectors, the
// directory, the sector table and its extension.
void writeContainerTail(ExportStream& stream, const ContainerPlan& plan, qsizetype workbookBytes)
{
    stream.zeros(plan.streamSectors * kSector - workbookBytes);

    Bytes directory;
    directoryEntry(directory, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    directoryEntry(directory, QStringLiteral("Workbook"), 2, kNoStream, 0, static_cast<uint32_t>(plan.streamSize));
    for (int i = 0; i < 2; ++i)
        directoryEntry(directory, QString(), 0, kNoStream, 0, 0);
    stream.write(directory.data.constData(), directory.size());

    for (qsizetype i = 0; i < plan.fatSectors * 128; ++i) {
        putLe<uint32_t>(stream.room(4), plan.fatEntry(i));
        stream.commit(4);
    }

    for (qsizetype d = 0; d < plan.difatSectors; ++d) {
        Bytes sector;
        for (qsizetype i = 0; i < 127; ++i) {
            const qsizetype fatIndex = 109 + d * 127 + i;
            sector.u32(fatIndex < plan.fatSectors ? static_cast<uint32_t>(plan.firstFat + fatIndex) : kFreeSector);
        }
        sector.u32(d + 1 < plan.difatSectors ? static_cast<uint32_t>(plan.firstDifat + d + 1) : kEndOfChain);
        stream.write(sector.data.constData(), sector.size());
    }
}

// The container's directory gives the workbook stream's size in 32 bits, and the sheets' places
// are 32-bit stream positions: a longer stream would be written wrapped, a file no reader opens.
constexpr qsizetype kMaxWorkbookBytes = 0xFFFFFFFFLL;

void refuseWorkbookOf(qsizetype rowCount, qsizetype workbookBytes)
{
    if (workbookBytes > kMaxWorkbookBytes)
        throw ExportRefused(QStringLiteral("Таблица из %1 строк не помещается в книгу Excel: файл был бы больше 4 ГБ. "
                                           "Сохраните отчет как текст (*.txt) или как данные CSV.")
                                .arg(rowCount));
}

qsizetype sheetsBytes(qsizetype rowCount, int columnCount)
{
    qsizetype bytes = 0;
    for (qsizetype s = 0; s < sheetCount(rowCount); ++s)
        bytes += sheetSize(rowsOfSheet(s, rowCount), columnCount);
    return bytes;
}

// The whole file in two passes over the cells: the first collects the shared strings (they
// come before the sheets), the second streams the sheets. Besides the stream's buffer only the
// distinct texts are held, so the memory does not grow with the row count.
void writeWorkbook(QIODevice& device, qsizetype rowCount, int columnCount, CellRows& cells)
{
    // The sheets alone tell most of the size before any cell is made.
    refuseWorkbookOf(rowCount, sheetsBytes(rowCount, columnCount));
    SharedStrings sst;
    {
        WorkbookRow row(cells, columnCount);
        const auto add = [&sst](QStringView t) { return sst.add(t); };
        for (qsizetype r = 0; r < rowCount; ++r) {
            row.make(r);
            for (int c = 0; c < columnCount; ++c)
                row.index(c, add);
        }
    }
    // Every cell of every sheet refers to a string, the repeated header rows included.
    sst.setTotal(static_cast<uint32_t>((rowCount + sheetCount(rowCount) - 1) * columnCount));
    const QByteArray globals = workbookGlobals(rowCount, columnCount, sst);
    const qsizetype workbookBytes = globals.size() + sheetsBytes(rowCount, columnCount);
    refuseWorkbookOf(rowCount, workbookBytes);
    const ContainerPlan plan(workbookBytes);

    ExportStream out(device);
    writeContainerHeader(out, plan);
    out.write(globals.constData(), globals.size());
    WorkbookRow row(cells, columnCount);
    writeSheets(out, rowCount, columnCount, row, sst);
    writeContainerTail(out, plan, workbookBytes);
    out.flush();
}

QByteArray workbookBytes(qsizetype rowCount, int columnCount, CellRows& cells)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeWorkbook(buffer, rowCount, columnCount, cells);
    return buffer.data();
}

}  // namespace

QByteArray XlsWorkbook(qsizetype rowCount, int columnCount, const std::function<QString(qsizetype, int)>& cell)
{
    FunctionRows cells(columnCount, cell);
    return workbookBytes(rowCount, columnCount, cells);
}

QByteArray XlsWorkbook(const ReportTable& table)
{
    ReportTableRows cells(table);
    return workbookBytes(table.rowCount(), table.columnCount(), cells);
}

void SaveToXLS(const QString& fileName, const ReportTable& table)
{
    WriteExportFile(fileName, [&table](QIODevice& device) {
        ReportTableRows cells(table);
        writeWorkbook(device, table.rowCount(), table.columnCount(), cells);
    });
}
