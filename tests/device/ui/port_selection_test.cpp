// The connection check, the detection and the choice of the port through the real window,
// with meters on a scripted line and virtual time.
#include "support/fake_dialogs.h"
#include "support/gui_helpers.h"
#include "app/main_window.h"
#include "app/program.h"
#include "device/com_error.h"
#include "meter_model.h"
#include "support/meter_window_fixture.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <map>
#include <memory>

using PortSelection = MeterWindowFixture;

TEST_F(PortSelection, SuccessfulCheckShowsTheMeterAndSwitchesTheReportFunctionsOn)
{
    addMeter("COM1", MeterConfig{.serialNumber = 0x00FF});
    gui::named<QAction>(form(), "AcConnect")->trigger();
    settle();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label8")->text(), "00FF");
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label1")->text(), "--.-");
    EXPECT_EQ(gui::named<QLabel>(form().readingPanel(), "Label2")->text(), "--.-");
    EXPECT_FALSE(form().readingPanel().isHidden());
    EXPECT_EQ(enabledReportActions(), 7);  // the six designed ones and the climate analysis
    // Lines up, about one second of settling, lines down, the filler, closed.
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_FALSE(line->Active());
    EXPECT_EQ(line->count("WriteByte"), 0);
    EXPECT_EQ(line->log().count("Write 1 nowait"), 100);
    EXPECT_EQ(line->log().back(), "Close");
}

TEST_F(PortSelection, FailedCheckHidesThePanelAndSaysSo)
{
    addMeter("COM1");
    gui::named<QAction>(form(), "AcConnect")->trigger();
    settle();
    ASSERT_FALSE(form().readingPanel().isHidden());
    line->meters.at("COM1") = MeterModel(MeterConfig{.silent = true});
    gui::named<QAction>(form(), "AcConnect")->trigger();
    settle();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{"Невозможно установить связь !"});
    EXPECT_TRUE(form().readingPanel().isHidden());
    EXPECT_EQ(enabledReportActions(), 0);
    EXPECT_FALSE(line->Active());
}

TEST_F(PortSelection, PortThatCannotBeOpenedEndsTheCheck)
{
    gui::named<QAction>(form(), "AcConnect")->trigger();
    settle();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error), QStringList{"Невозможно открыть порт"});
    EXPECT_TRUE(form().readingPanel().isHidden());
    EXPECT_EQ(clock.elapsed(), 0) << "no settling wait, no probe";
}

TEST_F(PortSelection, DetectionSkipsASilentPortAndFindsTheMeter)
{
    addMeter("COM3");
    addMeter("COM5", MeterConfig{.silent = true});
    gui::named<QPushButton>(form().connectionPanel(), "Button9")->click();
    gui::named<QPushButton>(form().connectionPanel(), "Button8")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{"Прибор найден на COM3"});
    EXPECT_EQ(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->currentText(), "COM3");
    EXPECT_FALSE(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->isEnabled());
    EXPECT_TRUE(line->Active()) << "the found port stays open";
    EXPECT_EQ(line->meters.at("COM5").requests(), 10);
    EXPECT_TRUE(form().readingPanel().isHidden()) << "detection does not touch the reading panel";
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Error).isEmpty()) << "missing candidates are skipped silently";
}

TEST_F(PortSelection, DetectionWithoutAMeterSelectsTheRememberedPortAgain)
{
    gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->setCurrentIndex(4);
    gui::named<QPushButton>(form().connectionPanel(), "Button8")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message),
              QStringList{"Невозможно автоматически обнаружить устройство !\n\r"
                          "Проверьте еще раз все соединения и повторите попытку."});
    EXPECT_EQ(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->currentText(), "COM5");
    EXPECT_EQ(line->DeviceName(), "COM5");
    EXPECT_FALSE(line->Active());
}

TEST_F(PortSelection, TypingIntoThePortBoxTriesEveryPrefix)
{
    addMeter("COM3");
    gui::named<QPushButton>(form().connectionPanel(), "Button9")->click();
    QLineEdit* edit = gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->lineEdit();
    edit->clear();
    edit->setFocus();
    for (const QChar c : QStringLiteral("COM3"))
        gui::typeText(edit, QString(c));
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error).size(), 3) << "C, CO and COM cannot be opened";
    EXPECT_TRUE(line->Active());
    EXPECT_EQ(line->DeviceName(), "COM3");
}

TEST_F(PortSelection, ATypedDevicePathIsTriedOnEnterOrWhenLeavingTheBox)
{
    addMeter("/dev/ttyUSB3");
    gui::named<QPushButton>(form().connectionPanel(), "Button9")->click();
    QLineEdit* edit = gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->lineEdit();
    ASSERT_TRUE(gui::waitActive(&form()));
    edit->clear();
    edit->setFocus();
    gui::typeText(edit, "/dev/ttyUSB3");
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Error).isEmpty()) << "no prefix is tried";
    EXPECT_FALSE(line->Active());
    gui::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Error).isEmpty());
    EXPECT_TRUE(line->Active());
    EXPECT_EQ(line->DeviceName(), "/dev/ttyUSB3");

    // Leaving the box after typing another path tries that one.
    line->Close();
    edit->setFocus();
    edit->selectAll();
    gui::typeText(edit, "/dev/ttyUSB9");
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Error).isEmpty());
    gui::named<QCheckBox>(form().connectionPanel(), "usb")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Error), QStringList{"Невозможно открыть порт"});
}
