// Saving the text report's table through the window: the save dialog as proposed, the forced
// extension of each entry and its writer, the entry kept for the next time, a cancelled
// dialog, and a file that cannot be written.
#include "support/main_window_fixture.h"
#include "widgets/radio_group.h"
#include "widgets/wait_window.h"
#include "logging/report_file_error.h"
#include "report/date_time.h"
#include "support/file_bytes.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>

namespace {

class SaveTable : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        const double day = DayCountOf(QDate(2026, 3, 14), 10 * 3600000);
        setReport({{day, 5000, 2150}, {day + 1.0 / 1440, 12000, -525}}, QStringLiteral("00A3"), day + 1);
        form().BuildReport(false);
        form().setReportActionsEnabled(true);
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QByteArray bytes(const QString& name) const { return FileBytes(path(name)); }
    void save(int entry, const QString& typed)
    {
        dialogs.saveAnswers.push_back(SaveFileChoice{path(typed), entry});
        gui::named<QAction>(form(), "AcSave")->trigger();
    }
};

TEST_F(SaveTable, TheDialogProposesTodaysDateBesideTheProgramAndKeepsTheLastEntry)
{
    dialogs.saveAnswers.push_back(std::nullopt);
    gui::named<QAction>(form(), "AcSave")->trigger();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    const SaveFileRequest& r = dialogs.saveRequests[0];
    EXPECT_EQ(r.title, "Записать");
    EXPECT_EQ(r.directory, dir.path());
    // The entries read exactly as given; each lists its own files.
    EXPECT_EQ(r.filters, QStringList({"Отчёт (*.txt)", "Отчёт Excel", "Отчёт (*.doc)", "Отчёт (*.htm)", "Данные CSV"}));
    EXPECT_EQ(r.patterns, QStringList({"*.txt", "*.csv", "*.doc", "*.htm", "*.csv"}));
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_FALSE(r.fileName.contains('.'));
    EXPECT_FALSE(r.fileName.contains('/'));
    EXPECT_TRUE(r.fileName.contains("14")) << r.fileName.toStdString();
    // The table's date rule (digits, whatever the locale names the months), made a file name.
    EXPECT_TRUE(QRegularExpression("^\\d\\d_\\d\\d_\\d\\d$").match(r.fileName).hasMatch()) << r.fileName.toStdString();
    // Cancelled: nothing written, no wait window.
    EXPECT_FALSE(form().waitWindow()->isVisible());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QRegularExpression("\\.(txt|htm|doc|xls)$")), QStringList());

    save(4, "first");
    gui::named<QAction>(form(), "AcSave")->trigger();  // cancelled again
    EXPECT_EQ(dialogs.saveRequests.back().filterIndex, 4);
}

TEST_F(SaveTable, EachEntryForcesItsExtensionAndWriter)
{
    struct Case {
        int entry;
        const char* typed;
        const char* written;
        QByteArray starts;
    };
    const Case cases[] = {
        {1, "a.htm", "a.txt", QByteArray("\xFF\xFE", 2)},
        {4, "b.txt", "b.htm", QByteArray("\xFF\xFE<\0s\0t\0y\0l\0e\0>\0", 16)},
        {3, "c", "c.doc", QByteArray("\xFF\xFE", 2)},
        {2, "d.csv", "d.xls", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)},
        {5, "e.txt", "e.csv", QByteArray("time,relative_humidity,temperature,dew_point,absolute_humidity\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        save(c.entry, c.typed);
        EXPECT_TRUE(bytes(c.written).startsWith(c.starts));
        if (QString(c.typed) != c.written)
            EXPECT_FALSE(QFileInfo::exists(path(c.typed)));
        EXPECT_FALSE(form().waitWindow()->isVisible());
    }
    EXPECT_EQ(gui::named<QLabel>(*form().waitWindow(), "Label1")->text(), "Подождите, идет сохранение отчета...");
    // The ".doc" file is the text form byte for byte; its rows are the table's.
    EXPECT_EQ(bytes("c.doc"), bytes("a.txt"));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes("a.txt").constData() + 2),
                                            (bytes("a.txt").size() - 2) / 2);
    EXPECT_EQ(text.count("\r\n"), 3);
    EXPECT_TRUE(text.contains("---"));
    EXPECT_TRUE(text.contains("-5,3"));
}

TEST_F(SaveTable, TheExportFollowsTheDisplayMode)
{
    gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(1);
    save(1, "dew");
    const QByteArray b = bytes("dew.txt");
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + 2), (b.size() - 2) / 2);
    EXPECT_TRUE(text.section("\r\n", 0, 0).contains("Tт.р., °C"));
}

TEST_F(SaveTable, AFileThatCannotBeWrittenIsAnErrorAndTheWaitWindowGoes)
{
    QDir(dir.path()).mkdir("taken.txt");
    EXPECT_THROW(save(1, "taken.txt"), ReportFileError);
    EXPECT_FALSE(form().waitWindow()->isVisible());
}

}  // namespace
