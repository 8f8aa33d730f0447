// The program's own controls: the masked number field, the radio group, the clock, the wait
// window and the on/off switch.
#include "widgets/analog_clock.h"
#include "support/gui_helpers.h"
#include "widgets/mask_edit.h"
#include "widgets/on_off_switch.h"
#include "widgets/radio_group.h"
#include "widgets/wait_window.h"
#include "support/virtual_clock.h"

#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 60);
        edit = new MaskEdit(&window);
        edit->setGeometry(10, 10, 60, 21);
        other = new QLineEdit(&window);
        other->setGeometry(80, 10, 60, 21);
        window.show();
        ASSERT_TRUE(gui::waitActive(&window));
        edit->setFocus();
    }
    void type(const QString& keys) { gui::typeText(edit, keys); }
    void key(Qt::Key k) { gui::keyClick(edit, k); }

    QWidget window;
    MaskEdit* edit = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(MaskEditTest, UntypedPositionsReadAsBlanksAndShowAsZeros)
{
    EXPECT_EQ(edit->text(), "   , ");
    EXPECT_EQ(edit->displayText(), "000,0");
    edit->setCursorPosition(0);
    type("+");
    EXPECT_EQ(edit->text(), "+  , ");
    EXPECT_EQ(edit->displayText(), "+00,0");

    edit->setText("");
    edit->setCursorPosition(0);
    type("-4");
    EXPECT_EQ(edit->text(), "-4 , ");
    EXPECT_EQ(edit->displayText(), "-40,0");
}

TEST_F(MaskEditTest, TypingOverwritesSkipsTheCommaAndRefusesWhatTheMaskDoesNot)
{
    edit->setText("+00,0");
    edit->setCursorPosition(0);
    type("-123");
    EXPECT_EQ(edit->text(), "-12,3");
    edit->setCursorPosition(1);
    type("x+");  // neither a letter nor a sign after the first position
    EXPECT_EQ(edit->text(), "-12,3");
    edit->setCursorPosition(0);
    type("9");  // a digit may stand in the sign position
    EXPECT_EQ(edit->text(), "912,3");
    edit->setCursorPosition(2);
    type(",7");  // typing the comma steps over it
    EXPECT_EQ(edit->text(), "912,7");
}

TEST_F(MaskEditTest, BackspaceAndDeleteClearPositions)
{
    edit->setText("+12,5");
    edit->setCursorPosition(5);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "+12, ");
    key(Qt::Key_Backspace);  // over the comma to the digit before it
    EXPECT_EQ(edit->text(), "+1 , ");
    edit->setCursorPosition(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), " 1 , ");
    edit->selectAll();
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "   , ");
}

TEST_F(MaskEditTest, SetTextKeepsWhatFitsEachPosition)
{
    const struct {
        const char* in;
        const char* text;
    } cases[] = {{"+00,0", "+00,0"}, {"100,0", "100,0"}, {"+12,", "+12, "}, {"+  ,", "+  , "},
                 {"abc", "   , "}, {"-99,99", "-99,9"}, {"", "   , "}, {"+1.5", "+1 , "}};
    for (const auto& c : cases) {
        edit->setText(QString::fromUtf8(c.in));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.text)) << c.in;
    }
}

TEST_F(MaskEditTest, LeavingTheFieldReportsAnExit)
{
    int exits = 0;
    QObject::connect(edit, &MaskEdit::exited, &window, [&] { ++exits; });
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(exits, 1);
    edit->setFocus(Qt::TabFocusReason);
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(exits, 2);
}

TEST(RadioGroupTest, ProgramSelectionClampsAndClicksOnlyOnChange)
{
    RadioGroup group(" Показания ", {"RH, %", "T т.р., °С", "A, г/куб.м"});
    group.resize(177, 86);
    int clicks = 0;
    QObject::connect(&group, &RadioGroup::clicked, &group, [&] { ++clicks; });
    const struct {
        int set;
        int index;
        int clicks;
    } steps[] = {{0, 0, 1}, {0, 0, 1}, {5, 2, 2}, {2, 2, 2}, {1, 1, 3}, {-4, -1, 4}, {255, 2, 5}};
    for (const auto& s : steps) {
        group.setItemIndex(s.set);
        EXPECT_EQ(group.itemIndex(), s.index) << s.set;
        EXPECT_EQ(clicks, s.clicks) << s.set;
    }
    EXPECT_TRUE(group.button(2)->isChecked());
    group.button(0)->click();
    EXPECT_EQ(group.itemIndex(), 0);
    EXPECT_EQ(clicks, 6);
}

TEST(AnalogClockTest, FollowsTheProgramClockOnItsOwnTimer)
{
    VirtualClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 8, 30)));
    AnalogClock face(clock);
    EXPECT_EQ(face.timer().interval(), 450);
    EXPECT_TRUE(face.timer().isActive());
    EXPECT_EQ(face.shownTime(), QTime(10, 8, 30));
    clock.advance(61'000);
    QMetaObject::invokeMethod(&face.timer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(face.shownTime(), QTime(10, 9, 31));
}

TEST(WaitFormTest, TextProgressAndVisibility)
{
    WaitWindow wait;
    EXPECT_EQ(wait.size(), QSize(361, 59));
    EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(wait.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(gui::named<QLabel>(wait, "Label1")->text(), "Подождите...");
    WaitProgress& progress = wait;
    progress.setText("Сортировка...");
    progress.setMaximum(3);
    progress.setPosition(0);
    progress.showWindow();
    EXPECT_TRUE(wait.isVisible());
    progress.stepIt();
    progress.stepIt();
    EXPECT_EQ(progress.position(), 2);
    progress.setPosition(10);
    EXPECT_EQ(progress.position(), 3);
    progress.hideWindow();
    EXPECT_FALSE(wait.isVisible());
    // Nothing is reset between uses.
    EXPECT_EQ(gui::named<QLabel>(wait, "Label1")->text(), "Сортировка...");
    EXPECT_EQ(gui::named<QProgressBar>(wait, "ProgressBar1")->maximum(), 3);
}

TEST(OnOffSwitchTest, ReportsOnAndOffForClicksAndProgramChanges)
{
    OnOffSwitch sw("Автоматическое считывание данных");
    QStringList events;
    QObject::connect(&sw, &OnOffSwitch::switchedOn, &sw, [&] { events << "on"; });
    QObject::connect(&sw, &OnOffSwitch::switchedOff, &sw, [&] { events << "off"; });
    sw.click();
    sw.click();
    sw.setOn(true);
    sw.setOn(true);
    EXPECT_EQ(events, (QStringList{"on", "off", "on"}));
    EXPECT_TRUE(sw.isOn());
}

}  // namespace
