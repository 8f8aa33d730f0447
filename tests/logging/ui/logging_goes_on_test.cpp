// Logging goes on whatever the user does meanwhile: dialogs opened during a reading and during
// automatic reading, a stored report opened while a reading runs, a meter pulled and back with a
// box open, a close asked for mid-reading, and a watch that nothing lets other events run inside
// a step of the reading cycle. Every case checks the records on disk.
#include "app/about_box.h"
#include "device/register_protocol.h"
#include "views/ui/graph_setup_dialog.h"
#include "logging/measurement_record.h"
#include "logging/reading_cycle.h"
#include "report/ui/report_selection_dialog.h"
#include "support/meter_window_fixture.h"
#include "platform/profile_file.h"
#include "widgets/dialogs.h"
#include "widgets/gui_fatal_exit.h"
#include "report/date_time.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

class LoggingGoesOn : public MeterWindowFixture {
protected:
    void connectMeter(MeterConfig config = {})
    {
        addMeter("COM1", config);
        gui::named<QAction>(form(), "AcConnect")->trigger();
        settle();
        ASSERT_FALSE(form().readingPanel().isHidden());
    }
    QString pool(const QString& file) const { return QDir(dir.path()).filePath("POOL/" + file); }
    qint64 records(const QString& file = QStringLiteral("temp.dat")) const
    {
        const QFileInfo f(pool(file));
        return f.exists() ? f.size() / 12 : 0;
    }
    QPushButton* readButton() const { return gui::named<QPushButton>(form().readingPanel(), "Button3"); }
    int tableRows() const { return gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->rowCount(); }
    // The records the pages were last built from.
    qint64 shownRecords() const { return form().document().state().ReportCount; }
    void startAutomaticReading(const char* seconds)
    {
        gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText(QString::fromLatin1(seconds));
        gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    }
    void stopAutomaticReading()
    {
        gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(false);
        settle();
    }
    QString readingStatus() const { return gui::named<QLabel>(form(), "ReadingStatus")->text(); }
};

}  // namespace

// The about box and the graph setup dialog, opened while a reading runs and kept open across
// several ticks of automatic reading: every tick logs on schedule, each reading is stored when
// taken, and the pages follow once the dialog is closed.
TEST_F(LoggingGoesOn, DialogsOpenedDuringAReadingDoNotStopLogging)
{
    connectMeter();
    readButton()->click();
    settle();
    struct Case {
        const char* action;
        QDialog* dialog;
    };
    for (const Case c : {Case{"AcAbout", form().aboutBox()}, Case{"AcSetupGraph", form().graphSetupDialog()}}) {
        SCOPED_TRACE(c.action);
        const qint64 before = records();
        const qint64 shownBefore = shownRecords();
        qint64 loggedWhileOpen = 0;
        qint64 shownWhileOpen = -1;
        // The dialog opens while the reading started by the switch is under way.
        startAutomaticReading("1");
        ASSERT_TRUE(form().readingInProgress());
        gui::whileModal(*c.dialog, [&] {
            EXPECT_TRUE(gui::waitUntil([&] { return records() >= before + 3; }, 10000)) << "ticks keep their schedule";
            loggedWhileOpen = records();
            shownWhileOpen = shownRecords();
        });
        gui::named<QAction>(form(), c.action)->trigger();
        stopAutomaticReading();
        EXPECT_GE(loggedWhileOpen, before + 3);
        EXPECT_EQ(shownWhileOpen, shownBefore) << "the pages wait for the user's dialog";
        EXPECT_TRUE(gui::waitUntil([&] { return shownRecords() == records(); })) << "and follow once it is closed";
    }
}

// "Загрузить отчет" while a reading runs: the reading is stored in the working report, and the
// report the user chose is what the pages show (its rows, its title), not the working report.
TEST_F(LoggingGoesOn, AStoredReportOpenedDuringAReadingIsWhatThePagesShow)
{
    const double day = DayCountOf(QDate(2026, 3, 13), 0);
    const MeasurementRecord stored[] = {{day + 0.25, 4000, 2000}, {day + 0.5, 4100, 2100}, {day + 0.75, 4200, 2200}};
    QDir().mkpath(pool(""));
    QFile f(pool("meterA.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(stored), sizeof stored);
    f.close();

    connectMeter();
    readButton()->click();
    settle();
    readButton()->click();
    ASSERT_TRUE(form().readingInProgress());
    bool chosen = false;
    gui::whileModal(*form().reportSelectionDialog(), [&] {
        auto* list = gui::named<QComboBox>(*form().reportSelectionDialog(), "ComboBox1");
        list->setCurrentIndex(list->findText("meterA.dat"));
        chosen = list->currentText() == "meterA.dat";
        gui::named<QPushButton>(*form().reportSelectionDialog(), "Button1")->click();
    });
    gui::named<QAction>(form(), "AcLoadReport")->trigger();
    ASSERT_TRUE(gui::waitUntil([&] { return chosen && !form().reportSelectionDialog()->isVisible(); }));
    settle();
    EXPECT_EQ(records(), 2) << "the reading under way was stored";
    EXPECT_EQ(tableRows(), 3);
    EXPECT_EQ(form().document().state().DeviceNumberText, "meterA");
    EXPECT_TRUE(gui::named<QLabel>(form().textReportPage(), "Label19")->text().contains("meterA"));
}

// A meter pulled out and plugged in again while automatic reading runs and a box is open:
// nothing waits for a click, the streak is said once in the status bar and its end too, and
// logging resumes on the next tick with the box still open. A meter that stops answering in the
// middle of an automatic reading is a failure of that tick, not the end of the program.
TEST_F(LoggingGoesOn, APulledMeterDuringAutomaticReadingIsNeverHeldByABox)
{
    connectMeter();
    startAutomaticReading("600");
    settle();
    ASSERT_EQ(records(), 1);
    auto tick = [&] {
        QMetaObject::invokeMethod(gui::named<QTimer>(form().readingPanel(), "Timer1"), "timeout");
        settle();
    };
    QStringList said;
    gui::whileModal(*form().aboutBox(), [&] {
        const MeterModel meter = line->meters.at("COM1");
        line->meters.erase("COM1");  // the device is gone: the port cannot be opened
        tick();
        said << readingStatus();
        tick();
        said << readingStatus();
        line->meters.emplace("COM1", MeterModel(MeterConfig{.stopAfter = 2}));  // back, then lost mid-reading
        tick();
        said << readingStatus();
        // Back for good, at a later tick: the replies the lost meter still owed are long written
        // off by then (the protocol waits for owed replies while the line has been quiet less
        // than this).
        line->meters.at("COM1") = meter;
        clock.advance(RegisterProtocol::LateReplyQuietMs);
        tick();
        said << readingStatus();
    });
    gui::named<QAction>(form(), "AcAbout")->trigger();
    stopAutomaticReading();
    EXPECT_EQ(records(), 2);
    EXPECT_TRUE(dialogs.shown.empty()) << "no box in the way of automatic reading";
    ASSERT_EQ(said.size(), 4);
    EXPECT_TRUE(said[0].contains("Автоматическое считывание: невозможно открыть порт COM1")) << said[0].toStdString();
    EXPECT_EQ(said[1], said[0]) << "said once per streak";
    EXPECT_EQ(said[2], said[0]) << "a meter lost mid-reading continues the streak";
    EXPECT_TRUE(said[3].contains("показания снова записываются")) << said[3].toStdString();
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_FALSE(line->Active());
}

// A working report that cannot be written while automatic reading runs: said once in the status
// bar, never in a box, and the first reading stored again ends the streak.
TEST_F(LoggingGoesOn, AReportThatCannotBeWrittenDuringAutomaticReadingIsSaidWithoutABox)
{
    connectMeter();
    QDir(dir.path()).rmdir("POOL");
    QFile blocker(QDir(dir.path()).filePath("POOL"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    startAutomaticReading("600");
    settle();
    const QString said = readingStatus();
    EXPECT_TRUE(said.contains("показания не записаны в файл")) << said.toStdString();
    QMetaObject::invokeMethod(gui::named<QTimer>(form().readingPanel(), "Timer1"), "timeout");
    settle();
    EXPECT_EQ(readingStatus(), said) << "once per streak";
    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("POOL"));
    QMetaObject::invokeMethod(gui::named<QTimer>(form().readingPanel(), "Timer1"), "timeout");
    settle();
    stopAutomaticReading();
    EXPECT_EQ(records(), 1);
    EXPECT_TRUE(readingStatus().contains("показания снова записываются")) << readingStatus().toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
}

// Closing while a reading runs: the reading is stored first, then the close question is asked
// about it, and the window closes with the answer.
TEST_F(LoggingGoesOn, ACloseAskedForDuringAReadingWaitsForIt)
{
    connectMeter();
    readButton()->click();
    ASSERT_TRUE(form().readingInProgress());
    dialogs.warningAnswers = {Dialogs::Answer::No};
    EXPECT_FALSE(form().close()) << "not in the middle of a reading";
    ASSERT_TRUE(gui::waitUntil([&] { return !form().isVisible(); }));
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning), QStringList{"Сохранить отчет ?"});
    EXPECT_EQ(records(), 0) << "answered No: the scratch report went with the window";
}

// A watch on the reading cycle: a timer that fires whenever events run. Were anything on the
// reading path to let events run (processEvents, a nested loop, a box), the timer would fire
// while a step of the cycle is still on the stack.
TEST_F(LoggingGoesOn, NothingRunsInsideAStepOfTheReadingCycle)
{
    connectMeter();
    const ReadingCycle& cycle = form().readingCycle();
    int firedInside = 0, fired = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ++fired;
        firedInside += cycle.insideStep();
    });
    watch.start(0);
    for (int i = 0; i < 3; ++i) {
        readButton()->click();
        settle();
    }
    // With a failure and a change of meter on the way as well.
    line->meters.at("COM1") = MeterModel(MeterConfig{.silent = true});
    readButton()->click();
    settle();
    clock.advance(RegisterProtocol::LateReplyQuietMs);  // what the silent meter owed is written off
    line->meters.at("COM1") = MeterModel(MeterConfig{.serialNumber = 7});
    dialogs.warningAnswers = {Dialogs::Answer::No};
    readButton()->click();
    settle();
    watch.stop();
    EXPECT_GT(fired, 0);
    EXPECT_EQ(firedInside, 0);
    EXPECT_EQ(records(), 1) << "the new meter's reading in a fresh scratch report";
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{"Невозможно считать данные !"});
}

// Recovered scratch readings of a run that ended without the close question are named at start.
TEST_F(LoggingGoesOn, RecoveredScratchReadingsAreNamedAtStart)
{
    connectMeter();
    readButton()->click();
    settle();
    ASSERT_EQ(records(), 1);
    windows.reset();  // ended without the close question, as by a crash
    SetUp();
    const QStringList kept = QDir(pool("")).entryList({"temp_*.dat"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(readingStatus().contains(kept[0].chopped(4))) << readingStatus().toStdString();
}

// A reading asked for by hand whose meter stops answering ends the program after its box, with
// a failure status, and what the user set in this run (an interval just typed) is kept.
TEST_F(LoggingGoesOn, AMeterLostDuringAReadingByHandEndsTheProgramWithAFailureStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The program's directory is shared with the child that runs the window and ends.
    static QTemporaryDir shared;
    if (!qEnvironmentVariableIsSet("KELMORA_TEST_DEATH_DIR"))
        qputenv("KELMORA_TEST_DEATH_DIR", shared.path().toUtf8());
    const QString where = qEnvironmentVariable("KELMORA_TEST_DEATH_DIR");
    EXPECT_EXIT(
        {
            windows.reset();
            auto port = std::make_unique<PortsLine>(&clock);
            line = port.get();
            windows = std::make_unique<KelmoraWindows>(clock, dialogs, where, std::move(port));
            windows->showMainWindow();
            connectMeter(MeterConfig{.stopAfter = 4});  // the check takes two replies, the reading two
            gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText("17");
            readButton()->click();
            gui::waitUntil([] { return false; }, 20000);
            std::fprintf(stderr, "the program went on\n");
            std::_Exit(0);
        },
        testing::ExitedWithCode(GuiFatalExit::ExitStatus), "Устройство не отвечает !");
    EXPECT_EQ(ProfileFile(QDir(where).filePath("kelmora.ini")).readString("Kel", "interval"), "17");
}

// The real boxes: automatic reading never opens one, whatever fails; a reading by hand opens
// the Part's box, and the read button stays off until the user has closed it.
TEST(LoggingGoesOnWithRealBoxes, AutomaticReadingOpensNoBoxAReadingByHandDoes)
{
    QTemporaryDir dir;
    VirtualClock clock;
    DesktopDialogs dialogs;
    auto port = std::make_unique<PortsLine>(&clock);
    PortsLine* line = port.get();
    line->meters.emplace("COM1", MeterModel(MeterConfig{}));
    KelmoraWindows windows(clock, dialogs, dir.path(), std::move(port));
    dialogs.setOwner(&windows.mainWindow());
    windows.showMainWindow();
    MainWindow& form = windows.mainWindow();
    ASSERT_TRUE(gui::waitExposed(&form));
    const auto idle = [&] {
        return gui::waitUntil([&] { return !form.readingInProgress() && !form.connectionPanel().checking() && !form.connectionPanel().session().busy(); });
    };
    gui::named<QAction>(form, "AcConnect")->trigger();
    ASSERT_TRUE(idle());
    ASSERT_FALSE(form.readingPanel().isHidden());

    line->meters.erase("COM1");
    gui::named<QLineEdit>(form.readingPanel(), "Edit5")->setText("600");
    bool boxSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { boxSeen = boxSeen || QApplication::activeModalWidget(); });
    watch.start(0);
    gui::named<OnOffSwitch>(form.readingPanel(), "Switch1")->setOn(true);
    ASSERT_TRUE(idle());
    QMetaObject::invokeMethod(gui::named<QTimer>(form.readingPanel(), "Timer1"), "timeout");
    ASSERT_TRUE(idle());
    watch.stop();
    EXPECT_FALSE(boxSeen);
    EXPECT_TRUE(gui::named<QLabel>(form, "ReadingStatus")->text().contains("невозможно открыть порт"));
    gui::named<OnOffSwitch>(form.readingPanel(), "Switch1")->setOn(false);

    auto* button = gui::named<QPushButton>(form.readingPanel(), "Button3");
    QString boxText;
    bool buttonOffMeanwhile = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        boxText = box->text();
        buttonOffMeanwhile = !button->isEnabled();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    button->click();
    ASSERT_TRUE(gui::waitUntil([&] { return !boxText.isEmpty() && button->isEnabled(); }));
    EXPECT_EQ(boxText, "Невозможно открыть порт");
    EXPECT_TRUE(buttonOffMeanwhile);
    EXPECT_FALSE(QFileInfo::exists(QDir(dir.path()).filePath("POOL/temp.dat")));
}
