#include "views/xls_workbook.h"

#include "logging/report_file_error.h"
#include "views/export_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstdint>
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
    void utf16(const QString& s)
    {
        for (const QChar c : s)
            u16(c.unicode());
    }
    void zeros(qsizetype n) { data.append(QByteArray(n, '\0')); }
    qsizetype size() const { return data.size(); }

    QByteArray data;
};

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

// The shared string table, split into CONTINUE records, with the positions its index record
// (EXTSST) needs.
struct SharedStrings {
    QStringList strings;
    QHash<QString, uint32_t> index;
    uint32_t total = 0;

    uint32_t add(const QString& s)
    {
        ++total;
        const auto it = index.constFind(s);
        if (it != index.constEnd())
            return *it;
        const auto i = static_cast<uint32_t>(strings.size());
        index.insert(s, i);
        strings << s;
        return i;
    }

    // Appends SST (and its CONTINUE records) and EXTSST to out.
    void write(Bytes& out) const
    {
        const qsizetype bucketSize = std::max<qsizetype>(8, (strings.size() + 127) / 128);
        struct Bucket {
            uint32_t streamPosition;
            uint16_t offsetInRecord;
        };
        std::vector<Bucket> buckets;

        qsizetype recordStart = out.size();
        Bytes body;
        body.u32(total);
        body.u32(static_cast<uint32_t>(strings.size()));
        uint16_t type = 0x00FC;
        const auto closeRecord = [&] {
            record(out, type, body.data);
            body.data.clear();
            type = 0x003C;  // CONTINUE
            recordStart = out.size();
        };
        for (qsizetype i = 0; i < strings.size(); ++i) {
            const QString& s = strings[i];
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
};

QByteArray workbookStream(qsizetype rowCount, int columnCount, const std::function<QString(qsizetype, int)>& cell)
{
    const qsizetype sheets = std::max<qsizetype>(1, (rowCount + kXlsRowsPerSheet - 1) / kXlsRowsPerSheet);
    SharedStrings sst;
    // Cells of each sheet as (row, column, string index), built once.
    std::vector<QByteArray> sheetStreams;
    for (qsizetype s = 0; s < sheets; ++s) {
        const qsizetype first = s * kXlsRowsPerSheet;
        const qsizetype rows = std::min<qsizetype>(kXlsRowsPerSheet, rowCount - first);
        Bytes sheet;
        record(sheet, 0x0809, bof(0x0010));
        Bytes dim;
        dim.u32(0);
        dim.u32(static_cast<uint32_t>(std::max<qsizetype>(rows, 0)));
        dim.u16(0);
        dim.u16(static_cast<uint16_t>(columnCount));
        dim.u16(0);
        record(sheet, 0x0200, dim.data);
        for (qsizetype r = 0; r < rows; ++r)
            for (int c = 0; c < columnCount; ++c) {
                QString text = cell(first + r, c);
                text.remove(QLatin1Char('\r'));
                Bytes label;
                label.u16(static_cast<uint16_t>(r));
                label.u16(static_cast<uint16_t>(c));
                label.u16(kCellXf);
                label.u32(sst.add(text));
                record(sheet, 0x00FD, label.data);
            }
        Bytes window;
        window.u16(s == 0 ? 0x06B6 : 0x04B6);  // gridlines, headers, zeros; the first sheet selected
        window.u16(0);
        window.u16(0);
        window.u16(0x0040);
        window.u16(0);
        window.u16(0);
        window.u16(0);
        window.u32(0);
        record(sheet, 0x023E, window.data);
        record(sheet, 0x000A, {});
        sheetStreams.push_back(sheet.data);
    }

    // Globals: the sheets' stream positions are filled in once the globals' length is known.
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
    for (std::size_t s = 0; s < sheetStreams.size(); ++s) {
        for (int b = 0; b < 4; ++b)
            g.data[positionFields[s] + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
        at += static_cast<uint32_t>(sheetStreams[s].size());
    }
    for (const QByteArray& s : sheetStreams)
        g.data.append(s);
    return g.data;
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

QByteArray compoundDocument(QByteArray stream)
{
    // Streams below the cut-off would live in the mini stream; the workbook is padded instead,
    // readers stop at its last EOF record.
    if (stream.size() < kMiniStreamCutoff)
        stream.append(QByteArray(kMiniStreamCutoff - stream.size(), '\0'));
    const qsizetype streamSize = stream.size();
    stream.append(QByteArray((kSector - streamSize % kSector) % kSector, '\0'));
    const qsizetype streamSectors = stream.size() / kSector;

    qsizetype fatSectors = 0, difatSectors = 0;
    for (;;) {
        const qsizetype total = streamSectors + 1 + fatSectors + difatSectors;
        const qsizetype fatNeeded = (total + 127) / 128;
        const qsizetype difatNeeded = fatNeeded > 109 ? (fatNeeded - 109 + 126) / 127 : 0;
        if (fatNeeded == fatSectors && difatNeeded == difatSectors)
            break;
        fatSectors = fatNeeded;
        difatSectors = difatNeeded;
    }
    const auto directorySector = static_cast<uint32_t>(streamSectors);
    const auto firstFat = static_cast<uint32_t>(streamSectors + 1);
    const auto firstDifat = static_cast<uint32_t>(firstFat + fatSectors);

    std::vector<uint32_t> fat(static_cast<std::size_t>(fatSectors * 128), kFreeSector);
    for (qsizetype i = 0; i < streamSectors; ++i)
        fat[i] = i + 1 < streamSectors ? static_cast<uint32_t>(i + 1) : kEndOfChain;
    fat[directorySector] = kEndOfChain;
    for (qsizetype i = 0; i < fatSectors; ++i)
        fat[firstFat + i] = kFatSector;
    for (qsizetype i = 0; i < difatSectors; ++i)
        fat[firstDifat + i] = kDifatSector;

    Bytes out;
    // Header.
    out.data.append(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    out.zeros(16);
    out.u16(0x003E);
    out.u16(0x0003);
    out.u16(0xFFFE);
    out.u16(9);   // 512-byte sectors
    out.u16(6);   // 64-byte mini sectors
    out.zeros(6);
    out.u32(0);   // directory sectors (not counted in version 3)
    out.u32(static_cast<uint32_t>(fatSectors));
    out.u32(directorySector);
    out.u32(0);
    out.u32(static_cast<uint32_t>(kMiniStreamCutoff));
    out.u32(kEndOfChain);  // no mini FAT
    out.u32(0);
    out.u32(difatSectors ? firstDifat : kEndOfChain);
    out.u32(static_cast<uint32_t>(difatSectors));
    for (qsizetype i = 0; i < 109; ++i)
        out.u32(i < fatSectors ? static_cast<uint32_t>(firstFat + i) : kFreeSector);

    out.data.append(stream);

    Bytes directory;
    directoryEntry(directory, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    directoryEntry(directory, QStringLiteral("Workbook"), 2, kNoStream, 0, static_cast<uint32_t>(streamSize));
    for (int i = 0; i < 2; ++i)
        directoryEntry(directory, QString(), 0, kNoStream, 0, 0);
    out.data.append(directory.data);

    for (uint32_t entry : fat)
        out.u32(entry);

    for (qsizetype d = 0; d < difatSectors; ++d) {
        for (qsizetype i = 0; i < 127; ++i) {
            const qsizetype fatIndex = 109 + d * 127 + i;
            out.u32(fatIndex < fatSectors ? static_cast<uint32_t>(firstFat + fatIndex) : kFreeSector);
        }
        out.u32(d + 1 < difatSectors ? static_cast<uint32_t>(firstDifat + d + 1) : kEndOfChain);
    }
    return out.data;
}

}  // namespace

QByteArray XlsWorkbook(qsizetype rowCount, int columnCount, const std::function<QString(qsizetype, int)>& cell)
{
    return compoundDocument(workbookStream(rowCount, columnCount, cell));
}

QByteArray XlsWorkbook(const ReportTable& table)
{
    return XlsWorkbook(table.rowCount(), table.columnCount(),
                       [&table](qsizetype r, int c) { return table.cellText(r, c); });
}

void SaveToXLS(const QString& fileName, const ReportTable& table)
{
    const QByteArray bytes = XlsWorkbook(table);
    WriteExportFile(fileName, [&bytes](QIODevice& device) {
        if (device.write(bytes) != bytes.size())
            throw ReportFileError(device.errorString());
    });
}
