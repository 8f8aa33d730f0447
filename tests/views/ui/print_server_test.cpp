// Printing through a print server with a printer, as on most desktops: a print server of the
// test's own (cupsd with a PDF printer, whose filters apply the job's options as a real printer's
// do) takes the jobs; the machine's printers never see them.
#include "support/main_window_fixture.h"
#include "support/print_dialog_look.h"
#include "support/private_print_server.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

PrivatePrintServer* server = nullptr;

// The server starts before anything in this program asks for printers: the print client takes
// the server's address once, at its first use.
class PrintServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        server = new PrivatePrintServer;
        qputenv("CUPS_SERVER", server->socket().toLocal8Bit());
    }
    void TearDown() override
    {
        delete server;
        server = nullptr;
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrintServerEnvironment);

double at(int minute)
{
    return DayCountOf(QDate(2026, 3, 14), (10 * 60 + minute) * 60000);
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

class PrintServer : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server && server->ok()) << (server ? server->error().toStdString() : "no server");
        startAndShow();
        form().setReportActionsEnabled(true);
    }
    // rows readings a minute apart, as a loaded report of meter 1A2B with the comment "склад".
    void build(int rows)
    {
        std::vector<MeasurementRecord> records;
        for (int i = 0; i < rows; ++i)
            records.push_back({at(i), static_cast<int16_t>(4000 + 10 * i % 5000), 2000});
        setReport(records, QStringLiteral("1A2B"), at(24 * 60));
        form().document().state().ReportComment = QStringLiteral("склад");
        form().BuildReport(false);
    }
};

TEST_F(PrintServer, ThePrinterIsTheServersAndTheOnlyOne)
{
    EXPECT_EQ(QPrinterInfo::availablePrinterNames(), QStringList{QString::fromLatin1(PrivatePrintServer::kPrinter)});
    EXPECT_EQ(QPrinterInfo::defaultPrinterName(), QString::fromLatin1(PrivatePrintServer::kPrinter));
}

// The user prints pages 2 to 3 of the table in the real print dialog, which leaves that range
// on the shared printer (also as the print server's job option); the graph's job after it, through
// the real printer setup, must still print its page, under its own name. (Before, the server got
// page-ranges=2-3 for the graph, printed no page and nobody was told.)
TEST_F(PrintServer, TheGraphAfterARangedTablePrintoutPrintsItsPage)
{
    build(150);
    DesktopDialogs desktop;
    dialogs.realPrinting = &desktop;
    // Drives the real dialogs: the table's gets the range 2 to 3, the printer setup is confirmed.
    int dialogsSeen = 0;
    bool allPages = false;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("driven").toBool())
            return;
        dialog->setProperty("driven", true);
        ++dialogsSeen;
        // The table's dialog offers the range (the printer setup has none enabled).
        if (allPages) {
            dialog->findChild<QRadioButton*>(QStringLiteral("printAll"))->click();
        } else if (auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange")); range && range->isEnabled()) {
            range->click();
            dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(3);
            dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(2);
        }
        dialog->accept();
    });
    driver.start();
    gui::named<QAction>(form(), "AcPrintReport")->trigger();
    const std::vector<PrivatePrintServer::Job> table = server->endedJobs(1);
    ASSERT_EQ(table.size(), 1u) << server->error().toStdString();
    ASSERT_EQ(form().reportOutput().printer()->printRange(), QPrinter::PageRange) << "the range was chosen";
    EXPECT_GE(table[0].pages, 1);
    EXPECT_EQ(table[0].name, QStringLiteral("Kelmora — Термогигрометр №1A2B - склад"));

    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    const std::vector<PrivatePrintServer::Job> jobs = server->endedJobs(2);
    ASSERT_EQ(jobs.size(), 2u) << server->error().toStdString();
    EXPECT_EQ(dialogsSeen, 2);
    EXPECT_EQ(jobs[1].pages, 1);
    EXPECT_EQ(jobs[1].name, QStringLiteral("Kelmora — Термогигрометр №1A2B - склад"));
    EXPECT_TRUE(pdfText(server->lastOutput()).contains(QStringLiteral("Термогигрометр №1A2B - склад")));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());

    // All pages of the table after that: the whole table, more sheets than the range had.
    allPages = true;
    gui::named<QAction>(form(), "AcPrintReport")->trigger();
    const std::vector<PrivatePrintServer::Job> all = server->endedJobs(3);
    ASSERT_EQ(all.size(), 3u) << server->error().toStdString();
    EXPECT_GT(all[2].pages, table[0].pages);
}

// With a printer on the list Qt's print dialog is another one than without; the table's still
// offers the range of pages and no free-form list of pages, and no file.
TEST_F(PrintServer, TheTablesDialogOffersARangeButNoListOfPagesWithAPrinterToo)
{
    DesktopDialogs desktop;
    QPrinter printer(QPrinter::HighResolution);
    const Seen s = look([&] { desktop.print(printer, 1, 5, false); });
    ASSERT_TRUE(s.printDialog);
    EXPECT_TRUE(s.rangeShown);
    EXPECT_FALSE(s.listShown);
    EXPECT_TRUE(s.printers.contains(QString::fromLatin1(PrivatePrintServer::kPrinter))) << s.printers.join('|').toStdString();
    EXPECT_TRUE(s.printers.filter(QStringLiteral("PDF")).size() == 1) << "the server's printer, no file entry";
}

}  // namespace
