// Readings through the real window: one record per reading, the guard against a second
// click, the change of meter, saving under a name, automatic reading.
#include "widgets/on_off_switch.h"
#include "widgets/wait_window.h"
#include "logging/measurement_record.h"
#include "support/meter_window_fixture.h"
#include "report/ui/report_selection_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <limits>

namespace {

class Reading : public MeterWindowFixture {
protected:
    void connectMeter(MeterConfig config = {})
    {
        line->meters.emplace("COM1", MeterModel(config));
        gui::named<QAction>(form(), "AcConnect")->trigger();
        settle();
        ASSERT_FALSE(form().readingPanel().isHidden());
    }
    void replaceMeter(MeterConfig config) { line->meters.at("COM1") = MeterModel(config); }
    QString pool(const QString& file) const { return QDir(dir.path()).filePath("POOL/" + file); }
    qint64 size(const QString& file) const { return QFileInfo(pool(file)).exists() ? QFileInfo(pool(file)).size() : -1; }
    QList<MeasurementRecord> records(const QString& file) const
    {
        QFile f(pool(file));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray b = f.readAll();
        QList<MeasurementRecord> r(b.size() / 12);
        memcpy(r.data(), b.constData(), static_cast<size_t>(r.size()) * 12);
        return r;
    }
    void read()
    {
        gui::named<QPushButton>(form().readingPanel(), "Button3")->click();
        settle();
    }
    void check()
    {
        gui::named<QAction>(form(), "AcConnect")->trigger();
        settle();
    }
};

}  // namespace

TEST_F(Reading, OneReadingAppendsOneRecordAndShowsIt)
{
    connectMeter(MeterConfig{.humidity = 4525, .temperature = -525});
    read();
    EXPECT_EQ(size("temp.dat"), 12);
    const auto r = records("temp.dat");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].RH, 4525);
    EXPECT_EQ(r[0].T, -525);
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), "45,2");
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label2")->text(), "-5,2");
    EXPECT_EQ(form().document().state().ReportCount, 1);
    EXPECT_TRUE(gui::named<QPushButton>(form().readingPanel(), "Button3")->isEnabled());
    EXPECT_FALSE(line->Active());

    // The report pages show everything logged so far, without the wait window.
    const QAbstractItemModel* table = gui::named<QTableView>(form().textReportPage(), "Grid1")->model();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->data(table->index(0, 2)).toString(), "45,3");  // the table rounds halves away
    EXPECT_EQ(table->data(table->index(0, 3)).toString(), "-5,3");
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label19")->text(), "Термогигрометр №" + gui::named<QLabel>(form().readingPanel(), "Label8")->text() + " - ");
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit1")->text(), "45,25");
    EXPECT_FALSE(form().waitWindow()->isVisible());
    read();
    EXPECT_EQ(table->rowCount(), 2);
}

TEST_F(Reading, ASecondClickDuringTheReadingTakesNoSecondReading)
{
    connectMeter();
    auto* button = gui::named<QPushButton>(form().readingPanel(), "Button3");
    button->click();
    EXPECT_FALSE(button->isEnabled()) << "off while the reading runs";
    button->click();
    settle();
    EXPECT_EQ(size("temp.dat"), 12);
}

TEST_F(Reading, FailedProbeWritesNothing)
{
    connectMeter();
    replaceMeter(MeterConfig{.silent = true});
    read();
    EXPECT_EQ(size("temp.dat"), -1);
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{"Невозможно считать данные !"});
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), "--.-");
    EXPECT_TRUE(gui::named<QPushButton>(form().readingPanel(), "Button3")->isEnabled());
}

TEST_F(Reading, ChangeOfMeterWithEachAnswer)
{
    struct Case {
        Dialogs::Answer answer;
        qint64 tempSize;  // after the reading of the second meter
    };
    connectMeter();
    for (const Case c : {Case{Dialogs::Answer::Yes, 12}, Case{Dialogs::Answer::No, 12},
                         Case{Dialogs::Answer::Closed, 24}}) {
        // Meter 1 is the working report's meter, with a fresh scratch report of one reading.
        replaceMeter(MeterConfig{.serialNumber = 1});
        dialogs.warningAnswers = {Dialogs::Answer::No};
        read();
        QFile::remove(pool("temp.dat"));
        read();
        replaceMeter(MeterConfig{.serialNumber = 2});
        dialogs.shown.clear();
        dialogs.warningAnswers = {c.answer};
        read();
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning),
                  QStringList{"Изменился номер прибора. Сохранить старый отчет ?"});
        EXPECT_EQ(size("temp.dat"), c.tempSize) << int(c.answer);
        if (c.answer == Dialogs::Answer::Yes) {
            EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message),
                      QStringList{"Введите новое имя отчета и нажмите кнопку Сохранить"});
            EXPECT_EQ(form().workingReport().meter(), 1);
        } else {
            EXPECT_EQ(form().workingReport().meter(), 2);
        }
    }
}

TEST_F(Reading, SaveUnderANameMovesTheReportAndLaterReadingsFollow)
{
    connectMeter();
    read();
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_EQ(size("temp.dat"), -1);
    EXPECT_EQ(size("Cellar.dat"), 24);
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), "--.-");
    read();
    EXPECT_EQ(size("Cellar.dat"), 36);

    // A name that cannot be a file is refused; the report keeps its name and file.
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("../elsewhere");
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error).size(), 1);
    EXPECT_EQ(form().workingReport().name(), "Cellar");
    read();
    EXPECT_EQ(size("Cellar.dat"), 48);

    // "may.old" names the file may.old.dat: every name a file of its own.
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("may.old");
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_EQ(size("may.old.dat"), 48);
}

TEST_F(Reading, TypedButUnsavedNameKeepsTheOldMetersReadingsAtAMeterChange)
{
    connectMeter(MeterConfig{.serialNumber = 1});
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Hall");
    replaceMeter(MeterConfig{.serialNumber = 2});
    read();
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Warning).isEmpty());
    EXPECT_EQ(size("Hall.dat"), 12) << "the first meter's reading, kept under the typed name";
    EXPECT_EQ(size("temp.dat"), 12) << "the new meter's scratch report";
    EXPECT_TRUE(gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->text().isEmpty());
    EXPECT_EQ(form().workingReport().name(), "temp");
}

TEST_F(Reading, AReadingThatCannotBeStoredIsReportedOncePerRunOfFailures)
{
    connectMeter();
    QDir(dir.path()).rmdir("POOL");
    QFile blocker(QDir(dir.path()).filePath("POOL"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    read();
    read();
    const QStringList errors = dialogs.texts(FakeDialogs::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("temp.dat"));
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), "--.-");
    EXPECT_TRUE(gui::named<QPushButton>(form().readingPanel(), "Button3")->isEnabled());
}

TEST_F(Reading, AutomaticReadingWithIntervalZeroTakesExactlyOneReading)
{
    connectMeter();
    gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText("0");
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    settle();
    EXPECT_EQ(size("temp.dat"), 12);
    EXPECT_FALSE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(size("temp.dat"), 12);

    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(false);
    gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText("abc");
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    EXPECT_EQ(gui::named<QTimer>(form().readingPanel(), "Timer1")->interval(), 60000);
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(false);
    EXPECT_FALSE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());
    settle();
}

// An interval in the settings file past the timer's range: the timer takes its longest interval
// (not the wrapped-around 1.4 s), and the settings file keeps what it held.
TEST_F(Reading, AnIntervalPastTheTimersRangeIsClampedAndKept)
{
    QFile ini(QDir(dir.path()).filePath("kelmora.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Kel]\r\ninterval=4294968\r\n");
    ini.close();
    windows.reset();
    SetUp();
    connectMeter();
    EXPECT_EQ(gui::named<QLineEdit>(form().readingPanel(), "Edit5")->text(), "4294968");
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    settle();
    EXPECT_EQ(gui::named<QTimer>(form().readingPanel(), "Timer1")->interval(), std::numeric_limits<int>::max());
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(false);
    dialogs.warningAnswers = {Dialogs::Answer::No};
    ASSERT_TRUE(form().close());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("interval=4294968"));
}

// The interval in milliseconds for what Edit5 (or the settings file) holds: more than the
// timer can count is its longest interval, never a wrapped-around short one.
TEST(ReadingInterval, TextToTimerInterval)
{
    struct Case {
        const char* text;
        int ms;
    };
    for (const Case c : {Case{"60", 60000}, Case{"0", 0}, Case{"", 60000}, Case{"abc", 60000}, Case{"-5", 60000},
                         Case{"2147483", 2147483000}, Case{"2147484", 2147483647}, Case{"4294968", 2147483647},
                         Case{"99999999999999999999", 60000}})
        EXPECT_EQ(ReadingPanel::intervalMs(QString::fromLatin1(c.text)), c.ms) << c.text;
}

TEST_F(Reading, ClosingWithATypedButUnsavedNameKeepsTheReadings)
{
    connectMeter();
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Store");
    EXPECT_TRUE(form().close());
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Warning).isEmpty());
    EXPECT_EQ(size("Store.dat"), 12);
    EXPECT_EQ(size("temp.dat"), -1);
}

TEST_F(Reading, ANormalCloseDeletesTheScratchReport)
{
    connectMeter();
    read();
    dialogs.warningAnswers = {Dialogs::Answer::No};
    EXPECT_TRUE(form().close());
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning), QStringList{"Сохранить отчет ?"});
    EXPECT_EQ(size("temp.dat"), -1);
}

// The implicit save at close goes through the save button's name check: it never replaces
// another report and never writes outside the pool; when it cannot save, the close question
// protects the readings as for an unnamed report.
TEST_F(Reading, ClosingWithATypedNameThatCannotTakeTheReadingsAsksFirst)
{
    struct Case {
        const char* typed;
        const char* why;
    };
    for (const Case c : {Case{"Cellar", "a report of that name exists"}, Case{"../outside", "not a name in the pool"},
                         Case{".hidden", "a hidden file"}, Case{"temp", "the scratch report"}}) {
        SCOPED_TRACE(c.why);
        windows.reset();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(QDir(dir.path()).filePath("POOL"));
        QFile existing(pool("Cellar.dat"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write(QByteArray(5 * 12, '\x01'));
        existing.close();
        dialogs.shown.clear();
        SetUp();
        connectMeter();
        read();
        gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText(c.typed);
        dialogs.warningAnswers = {Dialogs::Answer::Yes};
        EXPECT_FALSE(form().close()) << "Yes keeps the window open to save by hand";
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning), QStringList{"Сохранить отчет ?"});
        EXPECT_EQ(size("Cellar.dat"), 5 * 12) << "the other report is untouched";
        EXPECT_FALSE(QFileInfo::exists(QDir(dir.path()).filePath("outside.dat")));
        EXPECT_EQ(size("temp.dat"), 12) << "the readings are still in the scratch report";
        gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->clear();
        dialogs.warningAnswers = {Dialogs::Answer::No};
        EXPECT_TRUE(form().close());
    }
}

// The save button asks before it replaces another report; No changes nothing.
TEST_F(Reading, SavingOntoAnExistingReportAsksFirst)
{
    QFile existing(pool("Cellar.dat"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(5 * 12, '\x01'));
    existing.close();
    connectMeter();
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
    const QString shown = gui::named<QLabel>(form().readingPanel(), "Label1")->text();
    for (const Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Closed}) {
        dialogs.shown.clear();
        dialogs.warningAnswers = {answer};
        gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning),
                  QStringList{"Отчет \"Cellar\" уже существует. Заменить его ?"});
        EXPECT_EQ(size("Cellar.dat"), 5 * 12);
        EXPECT_EQ(size("temp.dat"), 12);
        EXPECT_EQ(form().workingReport().name(), "temp");
        EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), shown) << "the displays keep their values";
    }
    dialogs.shown.clear();
    dialogs.warningAnswers = {Dialogs::Answer::Yes};
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_EQ(size("Cellar.dat"), 12);
    EXPECT_EQ(size("temp.dat"), -1);
    EXPECT_EQ(form().workingReport().name(), "Cellar");

    // The report's own name again: no question, nothing moves.
    dialogs.shown.clear();
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Warning).isEmpty());
    EXPECT_EQ(size("Cellar.dat"), 12);
}

// Names the report list would never show, or that the next close would delete, are refused.
TEST_F(Reading, SaveRefusesHiddenAndScratchNames)
{
    connectMeter();
    read();
    for (const char* typed : {".hidden", "temp", "TEMP.dat"}) {
        dialogs.shown.clear();
        gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText(typed);
        gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error).size(), 1) << typed;
        EXPECT_EQ(form().workingReport().name(), "temp") << typed;
        EXPECT_EQ(size("temp.dat"), 12) << typed;
    }
    EXPECT_EQ(QDir(pool("")).entryList(QDir::Files | QDir::Hidden), QStringList{"temp.dat"});
}

// A typed name that cannot take the old meter's readings at a change of meter: they are kept
// under a recovery name, and the new meter starts a scratch report of its own.
TEST_F(Reading, MeterChangeWithATypedNameThatCannotBeUsedKeepsTheOldReadings)
{
    QFile existing(pool("Hall.dat"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(3 * 12, '\x01'));
    existing.close();
    connectMeter(MeterConfig{.serialNumber = 1});
    read();
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Hall");
    replaceMeter(MeterConfig{.serialNumber = 2});
    read();
    EXPECT_EQ(size("Hall.dat"), 3 * 12) << "the other report is untouched";
    EXPECT_EQ(size("temp.dat"), 12) << "the new meter's scratch report";
    const QStringList kept = QDir(pool("")).entryList({"temp_*.dat"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(size(kept[0]), 24) << "the old meter's two readings";
    const QStringList messages = dialogs.texts(FakeDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(kept[0].chopped(4))) << messages[0].toStdString();
    EXPECT_TRUE(gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->text().isEmpty());
    EXPECT_EQ(form().workingReport().name(), "temp");
    EXPECT_EQ(form().workingReport().meter(), 2);
}

// A line that fails while a session ends (lines down, filler) costs nothing: the reading is
// stored, the button usable again and the port closed, so the next reading and the next check
// start clean.
TEST_F(Reading, ALineFailingAtTheEndOfASessionLeavesNothingStuck)
{
    connectMeter();
    line->setLinesDownFail(true);
    read();
    EXPECT_EQ(size("temp.dat"), 12) << "the reading itself was taken";
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(gui::named<QPushButton>(form().readingPanel(), "Button3")->isEnabled());
    EXPECT_FALSE(line->Active());

    line->setLinesDownFail(false);
    read();
    EXPECT_EQ(size("temp.dat"), 24);

    // The same for the connection check.
    line->setLinesDownFail(true);
    check();
    EXPECT_FALSE(form().readingPanel().isHidden());
    EXPECT_FALSE(line->Active());
    line->setLinesDownFail(false);
}

// Closing asks "Сохранить отчет ?" whenever the scratch report holds readings that no save has
// kept, whatever the panel shows; "Да" keeps the window for the name, Esc or the box's close
// cancel the close, "Нет" closes and the scratch report goes.
TEST_F(Reading, ClosingAsksWheneverReadingsWouldBeLost)
{
    const std::function<void()> situations[] = {
        [] {},                              // a reading on show
        [this] { check(); },                // a new connection check cleared the values
        [this] {                            // a name typed, refused, then F5
            QFile existing(pool("Cellar.dat"));
            ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
            existing.write(QByteArray(12, '\x01'));
            existing.close();
            gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
            dialogs.warningAnswers = {Dialogs::Answer::No};
            gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
            gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->clear();
            check();
        },
        [this] {                            // a stored report opened: the panel is hidden
            gui::whileModal(*form().reportSelectionDialog(), [] {});
            gui::named<QAction>(form(), "AcLoadReport")->trigger();
            ASSERT_TRUE(form().readingPanel().isHidden());
        },
    };
    int n = 0;
    for (const auto& situation : situations) {
        SCOPED_TRACE(n++);
        windows.reset();
        QDir(pool("")).removeRecursively();
        dialogs.shown.clear();
        SetUp();
        connectMeter();
        read();
        situation();
        dialogs.shown.clear();
        for (const Dialogs::Answer cancel : {Dialogs::Answer::Yes, Dialogs::Answer::Closed}) {
            dialogs.warningAnswers = {cancel};
            EXPECT_FALSE(form().close());
            EXPECT_TRUE(form().isVisible());
        }
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Warning), QStringList({"Сохранить отчет ?", "Сохранить отчет ?"}));
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message),
                  QStringList{"Введите новое имя отчета и нажмите кнопку Сохранить"}) << "only after Yes";
        EXPECT_EQ(size("temp.dat"), 12) << "nothing decided while the window stays";
        dialogs.warningAnswers = {Dialogs::Answer::No};
        EXPECT_TRUE(form().close());
        EXPECT_FALSE(form().isVisible());
        EXPECT_EQ(size("temp.dat"), -1) << "the scratch report goes with the window";
    }
}

TEST_F(Reading, ClosingAsksNothingWhenNoReadingWouldBeLost)
{
    const std::function<void()> situations[] = {
        [] {},                       // never connected
        [this] { connectMeter(); },  // right after a check
        [this] {                     // a reading saved under a name
            connectMeter();
            read();
            gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
            gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
        },
        [this] {                     // a name typed, never saved
            connectMeter();
            read();
            gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Hall");
        },
    };
    int n = 0;
    for (const auto& situation : situations) {
        SCOPED_TRACE(n++);
        windows.reset();
        SetUp();
        situation();
        form().close();
        EXPECT_FALSE(form().isVisible());
    }
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Warning).isEmpty());
    EXPECT_EQ(size("Hall.dat"), 12) << "the typed name took the reading";
    EXPECT_EQ(size("Cellar.dat"), 12);
}

// The small save button with nothing typed refuses as for any name that cannot be used: a
// named report never goes back to the scratch report, which the next close would delete.
TEST_F(Reading, SavingWithAnEmptyNameIsRefused)
{
    connectMeter();
    read();
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    ASSERT_EQ(size("Cellar.dat"), 12);
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->clear();
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error), QStringList{"\"\" не может быть именем отчета: имя пустое"});
    EXPECT_EQ(form().workingReport().name(), "Cellar");
    EXPECT_EQ(size("Cellar.dat"), 12);
    EXPECT_EQ(size("temp.dat"), -1);
    read();
    EXPECT_EQ(size("Cellar.dat"), 24);
    EXPECT_TRUE(form().close()) << "nothing unsaved";
}
