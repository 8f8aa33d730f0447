// The report selection dialog over a temporary pool: the list and the preparation on opening and
// on the user's choice, comments, deleting (and a deletion that fails), the interval from the
// pickers, an empty pool, the editor's displayed lines, a preparation that fails, and the dialog
// as the program creates it.
#include "support/fake_dialogs.h"
#include "support/gui_helpers.h"
#include "support/main_window_fixture.h"
#include "widgets/standard_error.h"
#include "widgets/wait_window.h"
#include "logging/report_comment.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/comma_text.h"
#include "report/date_time.h"
#include "report/ui/report_selection_dialog.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

// Readable strings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// The day count of a wall-clock time, as the program composes one.
double at(QDate date, int h, int mi, double seconds = 0)
{
    return DayCountOf(date, static_cast<int>(std::llround((h * 3600 + mi * 60 + seconds) * 1000)));
}

const QDate kDay(2024, 3, 5);

// The real wait window, with a count of how often it was shown (one showing per preparation).
class CountingWait : public WaitProgress {
public:
    void setText(const QString& text) override { window.setText(text); }
    void setMaximum(int maximum) override { window.setMaximum(maximum); }
    void setPosition(int position) override { window.setPosition(position); }
    int position() const override { return window.position(); }
    void stepIt() override { window.stepIt(); }
    void showWindow() override
    {
        ++shows;
        window.showWindow();
    }
    void processMessages() override { window.processMessages(); }
    void hideWindow() override { window.hideWindow(); }

    WaitWindow window;
    int shows = 0;
};

class ReportSelectionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pool = QDir(dir.path()).filePath(QStringLiteral("POOL"));
        ASSERT_TRUE(QDir().mkpath(pool));
        form = std::make_unique<ReportSelectionDialog>(dialogs, report, &wait, pool);
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(startDirectory);
    }

    QString path(const QString& name) const { return QDir(pool).filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) const { WriteFileBytes(path(name), bytes); }
    QByteArray fileBytes(const QString& name) const { return FileBytes(path(name)); }
    static QByteArray recordBytes(const QList<MeasurementRecord>& records)
    {
        return QByteArray(reinterpret_cast<const char*>(records.constData()), records.size() * 12);
    }
    void writeReport(const QString& name, const QList<MeasurementRecord>& records) const
    {
        writeFile(name, recordBytes(records));
    }

    void open()
    {
        form->show();
        ASSERT_TRUE(gui::waitExposed(form.get()));
    }
    // The user picks an item with the keyboard in the closed list, as the arrow keys do.
    void userPicksNext()
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(gui::named<QComboBox>(*form, "ComboBox1"), &press);
    }

    QStringList comboItems() const
    {
        QStringList items;
        for (int i = 0; i < gui::named<QComboBox>(*form, "ComboBox1")->count(); ++i)
            items << gui::named<QComboBox>(*form, "ComboBox1")->itemText(i);
        return items;
    }
    QStringList listItems() const
    {
        QStringList items;
        for (int i = 0; i < gui::named<QListWidget>(*form, "FileListBox1")->count(); ++i)
            items << gui::named<QListWidget>(*form, "FileListBox1")->item(i)->text();
        return items;
    }
    // The four pickers as one start and one end day count, seconds included.
    std::pair<double, double> pickers() const
    {
        const auto value = [](QDateEdit* d, QTimeEdit* t) {
            return DayCountOf(d->date(), t->time().msecsSinceStartOfDay());
        };
        return {value(gui::named<QDateEdit>(*form, "DateTimePicker1"), gui::named<QTimeEdit>(*form, "DateTimePicker2")), value(gui::named<QDateEdit>(*form, "DateTimePicker3"), gui::named<QTimeEdit>(*form, "DateTimePicker4"))};
    }
    void setPickers(double start, double end) const
    {
        const auto set = [](QDateEdit* d, QTimeEdit* t, double v) {
            d->setDate(DateOfDayCount(v));
            t->setTime(QTime::fromMSecsSinceStartOfDay(SplitDayCount(v)->msOfDay));
        };
        set(gui::named<QDateEdit>(*form, "DateTimePicker1"), gui::named<QTimeEdit>(*form, "DateTimePicker2"), start);
        set(gui::named<QDateEdit>(*form, "DateTimePicker3"), gui::named<QTimeEdit>(*form, "DateTimePicker4"), end);
    }

    // A: logged out of order with a repeat; b: already clean.
    void twoReports()
    {
        writeReport(QStringLiteral("b.dat"), bRecords);
        writeReport(QStringLiteral("A.dat"), {{at(kDay, 12, 0, 30), 4000, 2000},
                                              {at(kDay, 11, 0, 5), 4525, 2150},
                                              {at(kDay, 11, 0, 40), 4525, 2150},
                                              {at(kDay, 11, 30), 4100, 2100}});
    }
    const QList<MeasurementRecord> aPrepared{{at(kDay, 11, 0, 5), 4525, 2150},
                                        {at(kDay, 11, 30), 4100, 2100},
                                        {at(kDay, 12, 0, 30), 4000, 2000}};
    const QList<MeasurementRecord> bRecords{{at(QDate(1999, 12, 31), 23, 58, 59), 5000, -525},
                                       {at(QDate(1999, 12, 31), 23, 59, 30), 5010, -500}};

    const QString startDirectory = QDir::currentPath();
    QTemporaryDir dir;
    QString pool;
    FakeDialogs dialogs;
    ReportState report;
    CountingWait wait;
    std::unique_ptr<ReportSelectionDialog> form;
};

TEST_F(ReportSelectionDialogTest, OpeningListsTheReportsAndPreparesTheFirst)
{
    twoReports();
    writeFile(QStringLiteral("notes.txt"), "x");
    writeFile(QStringLiteral("A.tmp"), "x");
    open();

    EXPECT_EQ(comboItems(), (QStringList{QStringLiteral("A.dat"), QStringLiteral("b.dat")}));
    EXPECT_EQ(listItems(), comboItems());
    EXPECT_FALSE(gui::named<QListWidget>(*form, "FileListBox1")->isVisible());
    EXPECT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->currentText(), QStringLiteral("A.dat"));
    EXPECT_EQ(QDir::currentPath(), QDir(pool).canonicalPath()) << "the pool becomes the current directory";

    // A.dat alone was prepared, once: sorted, its repeat gone, written back.
    EXPECT_EQ(wait.shows, 1);
    EXPECT_FALSE(wait.window.isVisible());
    EXPECT_EQ(fileBytes(QStringLiteral("A.dat")), recordBytes(aPrepared));
    EXPECT_EQ(fileBytes(QStringLiteral("b.dat")), recordBytes(bRecords));
    EXPECT_EQ(report.ReportCount, 3);
    EXPECT_EQ(report.DeviceNumberText, QStringLiteral("A"));
    EXPECT_EQ(report.IntervalStart, at(QDate(2020, 1, 1), 0, 0)) << "the fixed starting earliest stays";
    EXPECT_EQ(report.IntervalEnd, at(kDay, 12, 0));
    EXPECT_EQ(pickers(), std::make_pair(at(QDate(2020, 1, 1), 0, 0), at(kDay, 12, 0)));
    EXPECT_EQ(gui::named<QPlainTextEdit>(*form, "Memo1")->toPlainText(), QStringLiteral("Введите комментарий"));
}

TEST_F(ReportSelectionDialogTest, EveryOpeningStartsAgainFromTheFirstReport)
{
    twoReports();
    open();
    userPicksNext();
    ASSERT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->currentText(), QStringLiteral("b.dat"));
    form->reject();
    open();
    EXPECT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->currentText(), QStringLiteral("A.dat"));
    EXPECT_EQ(report.DeviceNumberText, QStringLiteral("A"));
    EXPECT_EQ(wait.shows, 3);
}

TEST_F(ReportSelectionDialogTest, TheUsersChoicePreparesTheNewReportAndTheProgramsDoesNot)
{
    twoReports();
    writeFile(QStringLiteral("b.txt"), QByteArray("\xD1\xEA\xEB\xE0\xE4\r\n\xEF\xEE\xEB\xEA\xE0 3"));  // cp1251
    QList<MeasurementRecord> bUnsorted{bRecords[1], bRecords[0], bRecords[1]};
    writeReport(QStringLiteral("b.dat"), bUnsorted);
    open();
    ASSERT_EQ(wait.shows, 1);

    // The program moving the selection prepares nothing.
    gui::named<QComboBox>(*form, "ComboBox1")->setCurrentIndex(1);
    gui::named<QComboBox>(*form, "ComboBox1")->setCurrentIndex(0);
    EXPECT_EQ(wait.shows, 1);
    EXPECT_EQ(fileBytes(QStringLiteral("b.dat")), recordBytes(bUnsorted));

    userPicksNext();
    EXPECT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->currentText(), QStringLiteral("b.dat"));
    EXPECT_EQ(wait.shows, 2);
    EXPECT_EQ(fileBytes(QStringLiteral("b.dat")), recordBytes(bRecords));
    EXPECT_EQ(report.DeviceNumberText, QStringLiteral("b"));
    EXPECT_EQ(report.ReportCount, 2);
    EXPECT_EQ(gui::named<QPlainTextEdit>(*form, "Memo1")->toPlainText(), QStringLiteral("Склад\nполка 3"));
    EXPECT_EQ(CommaText(form->commentLines()), QStringLiteral("Склад,\"полка 3\""));
    // Readings before 2000 move the earliest minute but leave the latest at its starting value.
    EXPECT_EQ(pickers(), std::make_pair(at(QDate(1999, 12, 31), 23, 58), at(QDate(2000, 1, 1), 0, 0)));
}

TEST_F(ReportSelectionDialogTest, CommentShownAsLoadedOrThePlaceholder)
{
    struct Case {
        const char* name;
        std::function<void()> comment;
        QString shown;
    };
    const QString placeholder = QStringLiteral("Введите комментарий");
    const Case cases[] = {
        {"no comment file", [] {}, placeholder},
        {"a comment", [this] { writeFile(QStringLiteral("A.txt"), "Hall 2\r\nshelf \"B\""); },
         QStringLiteral("Hall 2\nshelf \"B\"")},
        {"a UTF-8 comment", [this] { writeFile(QStringLiteral("A.txt"), "\xEF\xBB\xBF\xE2\x84\x96 5"); },
         QStringLiteral("№ 5")},
        {"an empty comment file", [this] { writeFile(QStringLiteral("A.txt"), {}); }, QString()},
        {"an unreadable comment", [this] { QDir(pool).mkdir(QStringLiteral("A.txt")); }, placeholder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path(QStringLiteral("A.txt"))).removeRecursively();
        QFile::remove(path(QStringLiteral("A.txt")));
        writeReport(QStringLiteral("A.dat"), aPrepared);
        c.comment();
        gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(QStringLiteral("left from before"));
        open();
        EXPECT_EQ(gui::named<QPlainTextEdit>(*form, "Memo1")->toPlainText(), c.shown);
        form->reject();
    }
}

TEST_F(ReportSelectionDialogTest, LeavingTheEditorSavesItsTextEvenUntouched)
{
    writeReport(QStringLiteral("A.dat"), aPrepared);
    open();
    ASSERT_TRUE(gui::waitActive(form.get()));
    gui::named<QPlainTextEdit>(*form, "Memo1")->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(gui::named<QPlainTextEdit>(*form, "Memo1")->hasFocus());

    // Another window becoming active is no leaving of the editor.
    QWidget other;
    other.show();
    ASSERT_TRUE(gui::waitActive(&other));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("A.txt"))));
    ASSERT_TRUE(gui::waitActive(form.get()));
    ASSERT_TRUE(gui::named<QPlainTextEdit>(*form, "Memo1")->hasFocus());

    // Passing through: the placeholder is written as the comment.
    gui::named<QDateEdit>(*form, "DateTimePicker1")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(fileBytes(QStringLiteral("A.txt")), QByteArray("\xC2\xE2\xE5\xE4\xE8\xF2\xE5 "
                                                              "\xEA\xEE\xEC\xEC\xE5\xED\xF2\xE0\xF0\xE8\xE9"));

    // An edited comment: its lines separated by CR LF, read back as they were typed.
    gui::named<QPlainTextEdit>(*form, "Memo1")->setFocus(Qt::MouseFocusReason);
    gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(QStringLiteral("Склад\nполка 3"));
    gui::named<QPushButton>(*form, "Button2")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(fileBytes(QStringLiteral("A.txt")), QByteArray("\xD1\xEA\xEB\xE0\xE4\r\n\xEF\xEE\xEB\xEA\xE0 3"));
    EXPECT_EQ(LoadComment(path(QStringLiteral("A.txt"))).value_or(QString()), QStringLiteral("Склад\nполка 3"));
}

TEST_F(ReportSelectionDialogTest, ACommentThatCannotBeSavedIsAnError)
{
    writeReport(QStringLiteral("A.dat"), aPrepared);
    open();
    ASSERT_TRUE(QDir(pool).mkdir(QStringLiteral("A.txt")));
    try {
        form->commentLeft();
        FAIL() << "no error";
    } catch (const ReportFileError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("A.txt"))) << e.what();
    }
}

struct DeleteCase {
    const char* name;
    std::vector<Dialogs::Answer> answers;
    int questions;
    bool deletes;
};

void PrintTo(const DeleteCase& c, std::ostream* os)
{
    *os << c.name;
}

class DeleteTest : public ReportSelectionDialogTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteTest, AsksTwiceAndDeletesOnlyOnYesThenNo)
{
    twoReports();
    writeFile(QStringLiteral("A.txt"), "c");
    writeFile(QStringLiteral("A.tmp"), "t");
    open();
    for (Dialogs::Answer a : GetParam().answers)
        dialogs.warningAnswers.push_back(a);
    const int showsBefore = wait.shows;

    gui::named<QPushButton>(*form, "BitBtn2")->click();

    const QStringList questions = dialogs.texts(FakeDialogs::Kind::Warning);
    const QStringList expectedQuestions{QStringLiteral("Удалить отчет A.dat ?"), QStringLiteral("Отменить операцию ?")};
    EXPECT_EQ(questions, expectedQuestions.mid(0, GetParam().questions));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Error).isEmpty());
    const QStringList left = QDir(pool).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (GetParam().deletes) {
        EXPECT_EQ(left, QStringList{QStringLiteral("b.dat")});
        EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{QStringLiteral("Отчет удален !")});
        // The list is read again: b.dat is now first, selected and prepared.
        EXPECT_EQ(comboItems(), QStringList{QStringLiteral("b.dat")});
        EXPECT_EQ(wait.shows, showsBefore + 1);
        EXPECT_EQ(report.DeviceNumberText, QStringLiteral("b"));
    } else {
        EXPECT_EQ(left, (QStringList{QStringLiteral("A.dat"), QStringLiteral("A.tmp"), QStringLiteral("A.txt"),
                                     QStringLiteral("b.dat")}));
        EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Message).isEmpty());
        EXPECT_EQ(comboItems(), (QStringList{QStringLiteral("A.dat"), QStringLiteral("b.dat")}));
        EXPECT_EQ(wait.shows, showsBefore);
    }
}

using Answer = Dialogs::Answer;
INSTANTIATE_TEST_SUITE_P(
    Answers, DeleteTest,
    ::testing::Values(DeleteCase{"YesThenNo", {Answer::Yes, Answer::No}, 2, true},
                      DeleteCase{"YesThenYes", {Answer::Yes, Answer::Yes}, 2, false},
                      DeleteCase{"YesThenClosed", {Answer::Yes, Answer::Closed}, 2, false},
                      DeleteCase{"No", {Answer::No}, 1, false},
                      DeleteCase{"Closed", {Answer::Closed}, 1, false}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(ReportSelectionDialogTest, ADeletionThatFailsNamesTheFileInsteadOfReportingSuccess)
{
    struct Case {
        const char* name;
        bool needsPermissions;  // root deletes regardless of them
        std::function<void()> obstruct;
        std::function<void()> clear;
        QStringList stuck;
        QString firstAfter;  // the report selected after the list was read again
    };
    const auto chmodPool = [this](mode_t mode) { chmod(QFile::encodeName(pool).constData(), mode); };
    const Case cases[] = {
        {"a directory in the way of A.tmp", false,
         [this] { QDir(pool).mkdir(QStringLiteral("A.tmp")); },
         [this] { QDir(path(QStringLiteral("A.tmp"))).removeRecursively(); },
         {QStringLiteral("A.tmp")}, QStringLiteral("b.dat")},
        {"a read-only pool", true, [&] { chmodPool(0555); },
         [&] { chmodPool(0755); }, {QStringLiteral("A.dat"), QStringLiteral("A.txt")},
         QStringLiteral("A.dat")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsPermissions && geteuid() == 0)
            continue;  // skipped for root, which ignores permissions
        dialogs.shown.clear();
        twoReports();
        writeFile(QStringLiteral("A.txt"), "c");
        open();
        c.obstruct();
        dialogs.warningAnswers = {Answer::Yes, Answer::No};
        gui::named<QPushButton>(*form, "BitBtn2")->click();
        c.clear();

        EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Message).isEmpty()) << "no success reported";
        const QStringList errors = dialogs.texts(FakeDialogs::Kind::Error);
        ASSERT_EQ(errors.size(), 1);
        for (const QString& name : c.stuck)
            EXPECT_TRUE(errors[0].contains(QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path(name)))))
                << errors[0].toStdString();
        EXPECT_EQ(errors[0].count(QStringLiteral("Невозможно удалить файл")), c.stuck.size());
        EXPECT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->currentText(), c.firstAfter) << "the list is read again";
        form->reject();
        QFile::remove(path(QStringLiteral("A.dat")));
        QFile::remove(path(QStringLiteral("A.txt")));
    }
}

TEST_F(ReportSelectionDialogTest, ConfirmTakesHourAndMinuteOfThePickers)
{
    writeReport(QStringLiteral("A.dat"), aPrepared);
    open();
    struct Case {
        const char* name;
        double start, end;          // shown in the pickers, seconds included
        double intervalStart, intervalEnd;
    };
    const Case cases[] = {
        {"seconds dropped", at(kDay, 10, 15, 42), at(kDay, 18, 59, 59.999), at(kDay, 10, 15), at(kDay, 18, 59)},
        {"start after end accepted", at(QDate(2024, 3, 6), 9, 0), at(kDay, 8, 30, 1), at(QDate(2024, 3, 6), 9, 0),
         at(kDay, 8, 30)},
        {"before day zero", at(QDate(1899, 12, 29), 6, 0, 30), at(QDate(1899, 12, 30), 0, 0, 5), -1.25, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!form->isVisible())
            open();
        setPickers(c.start, c.end);
        gui::named<QPushButton>(*form, "Button1")->click();
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_FALSE(form->isVisible());
        EXPECT_DOUBLE_EQ(report.IntervalStart, c.intervalStart);
        EXPECT_DOUBLE_EQ(report.IntervalEnd, c.intervalEnd);
    }
    // The time pickers show the seconds that are dropped.
    open();
    gui::named<QTimeEdit>(*form, "DateTimePicker2")->setTime(QTime(10, 15, 42));
    EXPECT_TRUE(gui::named<QTimeEdit>(*form, "DateTimePicker2")->text().contains(QStringLiteral("42"))) << gui::named<QTimeEdit>(*form, "DateTimePicker2")->text().toStdString();

    // Cancel leaves the interval as it was.
    setPickers(at(kDay, 1, 1), at(kDay, 2, 2));
    const double start = report.IntervalStart, end = report.IntervalEnd;
    gui::named<QPushButton>(*form, "Button2")->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(report.IntervalStart, start);
    EXPECT_EQ(report.IntervalEnd, end);
}

TEST_F(ReportSelectionDialogTest, AnEmptyPoolPreparesNothingAndKeepsWhatWasShown)
{
    report.ReportData = aPrepared;
    report.ReportCount = 3;
    report.DeviceNumberText = QStringLiteral("00A3");
    report.IntervalStart = 1.0;
    report.IntervalEnd = 2.0;
    const auto shown = std::make_pair(at(kDay, 9, 1, 2), at(kDay, 17, 3, 4));
    setPickers(shown.first, shown.second);
    gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(QStringLiteral("earlier comment"));
    writeFile(QStringLiteral("x.txt"), "not a report");
    QDir(pool).mkdir(QStringLiteral("dir.dat"));

    open();
    EXPECT_EQ(gui::named<QComboBox>(*form, "ComboBox1")->count(), 0);
    EXPECT_EQ(gui::named<QListWidget>(*form, "FileListBox1")->count(), 0);
    EXPECT_EQ(wait.shows, 0);
    EXPECT_EQ(gui::named<QPlainTextEdit>(*form, "Memo1")->toPlainText(), QStringLiteral("earlier comment"));
    EXPECT_EQ(pickers(), shown);
    EXPECT_EQ(report.ReportCount, 3);
    EXPECT_EQ(report.DeviceNumberText, QStringLiteral("00A3"));
    EXPECT_EQ(report.IntervalStart, 1.0);
    EXPECT_EQ(report.IntervalEnd, 2.0);

    // Nothing to delete, nothing to comment.
    gui::named<QPushButton>(*form, "BitBtn2")->click();
    form->commentLeft();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(QDir(pool).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("dir.dat"), QStringLiteral("x.txt")}));
}

TEST_F(ReportSelectionDialogTest, EditorLinesAreTheLinesAsDisplayed)
{
    writeReport(QStringLiteral("A.dat"), aPrepared);
    // Lines asked for before the dialog was ever shown are the lines it then shows.
    const QString longLine = QStringLiteral("Склад номер два, полка три, ящик с образцами").repeated(3);
    gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(longLine);
    const QStringList beforeShown = form->commentLines();
    open();
    gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(longLine);
    EXPECT_EQ(beforeShown, form->commentLines());
    EXPECT_GT(beforeShown.size(), 1);
    struct Case {
        const char* name;
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"empty editor", QString(), {}},
        {"one empty line", QStringLiteral("\n"), {QString()}},
        {"two lines", QStringLiteral("Склад\nполка 3"), {QStringLiteral("Склад"), QStringLiteral("полка 3")}},
        {"empty last line dropped", QStringLiteral("a\n"), {QStringLiteral("a")}},
        {"only the last empty line dropped", QStringLiteral("a\n\n"), {QStringLiteral("a"), QString()}},
        {"empty line inside kept", QStringLiteral("a\n\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {"placeholder fits one line", QStringLiteral("Введите комментарий"), {QStringLiteral("Введите комментарий")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(c.text);
        EXPECT_EQ(form->commentLines(), c.lines);
    }
    EXPECT_EQ(CommaText(form->commentLines()), QStringLiteral("\"Введите комментарий\""));

    // Long lines wrap in the editor's width, at blanks or, for one long word, anywhere.
    const QString words = QStringLiteral("Склад номер два, полка три, ящик с образцами").repeated(2);
    const QString word = QString(120, QLatin1Char('x'));
    const int width = gui::named<QPlainTextEdit>(*form, "Memo1")->viewport()->width();
    const QFontMetrics metrics(gui::named<QPlainTextEdit>(*form, "Memo1")->font());
    for (const QString& text : {words, word}) {
        gui::named<QPlainTextEdit>(*form, "Memo1")->setPlainText(text + QStringLiteral("\nend"));
        const QStringList lines = form->commentLines();
        ASSERT_GT(lines.size(), 2) << text.toStdString();
        EXPECT_EQ(lines.back(), QStringLiteral("end"));
        EXPECT_EQ(lines.mid(0, lines.size() - 1).join(QString()), text) << "nothing lost or added at the breaks";
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), width) << line.toStdString();
    }
}

TEST_F(ReportSelectionDialogTest, APreparationThatFailsIsAnErrorWithTheWaitWindowHidden)
{
    twoReports();
    open();
    // b.dat turns into something that cannot be opened as a file after it was listed.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("b.dat"))));
    ASSERT_TRUE(QDir(pool).mkdir(QStringLiteral("b.dat")));
    gui::named<QComboBox>(*form, "ComboBox1")->setCurrentIndex(1);
    EXPECT_THROW(form->reportChosen(), ReportFileError);
    EXPECT_FALSE(wait.window.isVisible());

    // Through the event delivery the error ends the event in the standard error box.
    gui::named<QComboBox>(*form, "ComboBox1")->setCurrentIndex(0);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    auto* app = static_cast<QApplication*>(QCoreApplication::instance());
    DeliverGuarded(*app, gui::named<QComboBox>(*form, "ComboBox1"), &press, dialogs);
    const QStringList errors = dialogs.texts(FakeDialogs::Kind::StandardError);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("b.dat"))) << errors[0].toStdString();
    EXPECT_FALSE(wait.window.isVisible());
    EXPECT_TRUE(form->isVisible()) << "the dialog stays open";
}

TEST_F(ReportSelectionDialogTest, DialogAtDesignSize)
{
    twoReports();
    writeFile(QStringLiteral("A.txt"), "\xD1\xEA\xEB\xE0\xE4 1\r\n\xEF\xEE\xEB\xEA\xE0 3");
    open();
    EXPECT_EQ(form->size(), QSize(352, 334));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Выбор параметров отчета"));
    EXPECT_EQ(gui::named<QPlainTextEdit>(*form, "Memo1")->verticalScrollBar()->isVisible(), true);
    EXPECT_EQ(gui::named<QPushButton>(*form, "BitBtn2")->toolTip(), QStringLiteral("Удалить"));
    EXPECT_FALSE(gui::named<QPushButton>(*form, "BitBtn2")->icon().isNull());

    // Every control lies inside its parent and no two siblings overlap.
    for (QWidget* parent : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(gui::named<QGroupBox>(*form, "GroupBox1")),
                            static_cast<QWidget*>(gui::named<QGroupBox>(*form, "GroupBox2"))}) {
        QList<QWidget*> children;
        for (QObject* o : parent->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible())
                children << w;
        for (QWidget* w : children) {
            EXPECT_TRUE(parent->rect().contains(w->geometry())) << w->objectName().toStdString();
            if (auto* label = qobject_cast<QLabel*>(w)) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << "clipped: " << label->text().toStdString();
            }
            for (QWidget* other : children) {
                if (other != w) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << w->objectName().toStdString() << " / " << other->objectName().toStdString();
                }
            }
        }
    }
    // Over its owner the dialog opens centred.
    QWidget owner;
    owner.setGeometry(120, 90, 900, 640);
    owner.show();
    ASSERT_TRUE(gui::waitExposed(&owner));
    ReportSelectionDialog owned(dialogs, report, &wait, pool, &owner);
    owned.show();
    ASSERT_TRUE(gui::waitExposed(&owned));
    EXPECT_LE((owned.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
    owned.reject();

    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(folder);
    EXPECT_TRUE(form->grab().save(QDir(folder).filePath(QStringLiteral("repsel_form.png"))));
}

class RepselWiring : public MainWindowFixture {
protected:
    void TearDown() override { QDir::setCurrent(startDirectory); }
    const QString startDirectory = QDir::currentPath();
};

TEST_F(RepselWiring, TheProgramsDialogPreparesIntoTheMainWindowsReport)
{
    start();
    MainWindow& main = form();
    ReportSelectionDialog& dialog = windows->reportSelectionDialog();
    EXPECT_EQ(dialog.parentWidget(), &main);
    EXPECT_EQ(dialog.poolDirectory(), main.poolDirectory());

    const QList<MeasurementRecord> records{{at(kDay, 9, 5, 10), 4500, 2100}, {at(kDay, 8, 0), 4400, 2000}};
    QFile file(QDir(main.poolDirectory()).filePath(QStringLiteral("hall.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(records.constData()), records.size() * 12);
    file.close();

    dialog.show();
    ASSERT_TRUE(gui::waitExposed(&dialog));
    EXPECT_EQ(dialog.selectedReport(), QStringLiteral("hall.dat"));
    EXPECT_EQ(main.document().state().DeviceNumberText, QStringLiteral("hall"));
    EXPECT_EQ(main.document().state().ReportCount, 2);
    EXPECT_EQ(double(main.document().state().ReportData[0].dt), double(records[1].dt)) << "sorted";
    EXPECT_EQ(main.document().state().IntervalEnd, at(kDay, 9, 5));
    EXPECT_FALSE(windows->waitWindow().isVisible());
    dialog.reject();
}

}  // namespace
