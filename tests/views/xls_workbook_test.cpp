// The spreadsheet form read back by an independent reader (FreeXL): every cell's text in its
// place, Cyrillic and long texts across the string table's continuation records, rows beyond
// one sheet's 65,536 on further sheets under the header row, and a workbook large enough to
// need the extended sector table of the container.
#include "logging/report_file_error.h"
#include "views/export_file.h"
#include "views/xls_workbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <freexl.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A workbook opened with FreeXL.
class Workbook {
public:
    explicit Workbook(const QString& path) { ok_ = freexl_open(path.toLocal8Bit().constData(), &handle_) == FREEXL_OK; }
    ~Workbook()
    {
        if (handle_)
            freexl_close(handle_);
    }
    bool ok() const { return ok_; }
    unsigned info(unsigned short what) const
    {
        unsigned value = 0;
        freexl_get_info(handle_, what, &value);
        return value;
    }
    QString sheetName(unsigned short i) const
    {
        const char* name = nullptr;
        freexl_get_worksheet_name(handle_, i, &name);
        return QString::fromUtf8(name);
    }
    // Selects a sheet; returns its rows and columns.
    std::pair<unsigned, unsigned short> select(unsigned short i) const
    {
        freexl_select_active_worksheet(handle_, i);
        unsigned rows = 0;
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle_, &rows, &columns);
        return {rows, columns};
    }
    QString text(unsigned row, unsigned short column) const
    {
        FreeXL_CellValue v;
        if (freexl_get_cell_value(handle_, row, column, &v) != FREEXL_OK)
            return QStringLiteral("<error>");
        if (v.type != FREEXL_CELL_SST_TEXT && v.type != FREEXL_CELL_TEXT)
            return QStringLiteral("<type %1>").arg(v.type);
        return QString::fromUtf8(v.value.text_value);
    }

private:
    const void* handle_ = nullptr;
    bool ok_ = false;
};

class XlsWorkbookTest : public ::testing::Test {
protected:
    QString write(qsizetype rows, const std::function<QString(qsizetype, int)>& cell)
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("t.xls"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(XlsWorkbook(rows, 4, cell));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(XlsWorkbookTest, EveryCellAsTextInItsPlace)
{
    const QStringList header{"Дата", "Время", "Tт.р., °C", "Т, °C"};
    const auto cell = [&](qsizetype r, int c) {
        if (r == 0)
            return header[c];
        if (r == 3)
            return c < 2 ? QStringLiteral("Нет\r") : QStringLiteral(" ");  // CR characters are removed
        return QStringLiteral("%1,%2").arg(r).arg(c);
    };
    Workbook book(write(4, cell));
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book.info(FREEXL_BIFF_VERSION), unsigned(FREEXL_BIFF_VER_8));
    EXPECT_EQ(book.info(FREEXL_BIFF_SHEET_COUNT), 1u);
    EXPECT_EQ(book.sheetName(0), "Лист1");
    EXPECT_EQ(book.select(0), (std::pair<unsigned, unsigned short>(4, 4)));
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned short c = 0; c < 4; ++c)
            EXPECT_EQ(book.text(r, c), QString(cell(r, c)).remove('\r')) << r << "," << c;
}

TEST_F(XlsWorkbookTest, LongTextsAcrossContinuationRecords)
{
    // 2,000 distinct texts of 61 to 140 characters: the string table runs over many records and
    // texts break across them.
    const auto cell = [](qsizetype r, int c) {
        return QStringLiteral("строка %1/%2 ").arg(r).arg(c).repeated(int(5 + (r * 4 + c) % 8));
    };
    Workbook book(write(500, cell));
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book.select(0).first, 500u);
    for (unsigned r = 0; r < 500; ++r)
        for (unsigned short c = 0; c < 4; ++c)
            ASSERT_EQ(book.text(r, c), cell(r, c)) << r << "," << c;
}

TEST_F(XlsWorkbookTest, RowsBeyondOneSheetContinueOnTheNextUnderTheHeaderAndTheContainerGrowsItsSectorTable)
{
    // 150,000 rows, the header row first: three sheets, and a file of more than 109 sectors of
    // sector table. Every sheet after the first starts with the header row again.
    constexpr qsizetype rows = 150000;
    const auto cell = [](qsizetype r, int c) { return QString::number(r * 4 + c); };
    const QString path = write(rows, cell);
    EXPECT_GT(QFile(path).size(), 109LL * 128 * 512);
    Workbook book(path);
    ASSERT_TRUE(book.ok());
    ASSERT_EQ(book.info(FREEXL_BIFF_SHEET_COUNT), 3u);
    EXPECT_EQ(book.sheetName(2), "Лист3");
    // Sheet rows, and the table row each sheet's second row holds.
    const unsigned expected[] = {65536, 65536, 1 + (rows - 65536 - 65535)};
    const qsizetype second[] = {1, 65536, 65536 + 65535};
    qsizetype dataRowsSeen = 0;
    for (unsigned short s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(book.select(s).first, expected[s]);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(book.text(0, c), cell(0, c)) << "the header row heads every sheet";
        EXPECT_EQ(book.text(1, 0), cell(second[s], 0));
        EXPECT_EQ(book.text(777, 2), cell(second[s] + 776, 2));
        EXPECT_EQ(book.text(expected[s] - 1, 3), cell(second[s] + expected[s] - 2, 3));
        dataRowsSeen += expected[s] - 1;
    }
    EXPECT_EQ(dataRowsSeen, rows - 1) << "every data row once";
    EXPECT_EQ(book.text(expected[2] - 1, 3), cell(rows - 1, 3)) << "the last row last";
}

TEST_F(XlsWorkbookTest, AFileThatCannotBeCreatedIsAnError)
{
    const ReportTable table;
    EXPECT_THROW(SaveToXLS(dir.path(), table), ReportFileError);  // a directory of that name
    const QString path = QDir(dir.path()).filePath(QStringLiteral("r.xls"));
    SaveToXLS(path, table);
    Workbook book(path);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book.select(0).first, 2u);
    EXPECT_EQ(book.text(1, 1), "данных");
    EXPECT_EQ(book.text(1, 2), " ");
}

// A table whose workbook would pass the container's 4 GB is refused before any cell is made
// (the stream's size and the sheets' places are 32 bits: the file would come out wrapped), with
// a message that says what to do instead, and the previous file of that name stays.
TEST_F(XlsWorkbookTest, AWorkbookPastFourGigabytesIsRefusedAndTheOldFileStays)
{
    qsizetype cellsMade = 0;
    const auto cell = [&cellsMade](qsizetype, int) {
        ++cellsMade;
        return QStringLiteral("x");
    };
    try {
        XlsWorkbook(80'000'000, 4, cell);
        FAIL() << "80 million rows of four cells need more than 4 GB";
    } catch (const ExportRefused& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Таблица из 80000000 строк не помещается в книгу Excel: файл был бы больше 4 ГБ. "
                                           "Сохраните отчет как текст (*.txt) или как данные CSV."));
    }
    EXPECT_EQ(cellsMade, 0);
    // A table within the limit is written as before.
    EXPECT_NO_THROW(XlsWorkbook(3, 4, cell));

    // The export file keeps its previous content and the refusal its text.
    const QString path = QDir(dir.path()).filePath(QStringLiteral("old.xls"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous export");
    }
    try {
        WriteExportFile(path, [](QIODevice& device) {
            device.write("partial");
            throw ExportRefused(QStringLiteral("слишком велик"));
        });
        FAIL();
    } catch (const ExportRefused& e) {
        EXPECT_EQ(e.text(), QStringLiteral("слишком велик"));
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("previous export"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

}  // namespace
