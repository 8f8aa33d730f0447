// The settings file as the main window loads it at its first showing and saves it at close.
#include "support/main_window_fixture.h"

#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "views/ui/graph_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

class SettingsWindowTest : public MainWindowFixture {
protected:
    // Shows the window over the given file and closes it again; returns the file afterwards.
    QByteArray roundTrip(const QByteArray& file)
    {
        writeIni(file);
        startAndShow();
        form().close();
        return ini();
    }
    GraphSetupDialog& select() const { return windows->graphSetupDialog(); }
};

TEST_F(SettingsWindowTest, NoFileGivesTheDefaultsAndCloseWritesEveryKeyButOrtanel)
{
    startAndShow();
    MainWindow& f = form();
    EXPECT_EQ(gui::named<QComboBox>(f.connectionPanel(), "ComboBoxDeviceName")->currentIndex(), 0);
    EXPECT_EQ(gui::named<QComboBox>(f.connectionPanel(), "ComboBoxDeviceName")->currentText(), "COM1");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7")->text(), "+00,0");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit8")->text(), "+99,9");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit9")->text(), "-40,0");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit10")->text(), "+60,0");
    EXPECT_EQ(gui::named<QLineEdit>(f.readingPanel(), "Edit5")->text(), "60");
    EXPECT_EQ(f.textReportPage().displayMode(), 0);
    EXPECT_EQ(gui::named<RadioGroup>(f.textReportPage(), "RadioGroup1")->itemIndex(), 0);
    EXPECT_EQ(gui::named<QComboBox>(select(), "ComboBox1")->currentIndex(), 2);
    EXPECT_EQ(gui::named<QComboBox>(select(), "ComboBox2")->currentIndex(), 2);
    EXPECT_EQ(gui::named<MaskEdit>(select(), "MaskEdit1")->text(), "+00,0");
    EXPECT_EQ(gui::named<MaskEdit>(select(), "MaskEdit2")->text(), "100,0");
    EXPECT_EQ(gui::named<MaskEdit>(select(), "MaskEdit3")->text(), "-50,0");
    EXPECT_EQ(gui::named<MaskEdit>(select(), "MaskEdit4")->text(), "100,0");
    EXPECT_TRUE(f.colorChart());
    EXPECT_FALSE(gui::named<QCheckBox>(f.connectionPanel(), "usb")->isChecked());

    f.close();
    EXPECT_EQ(ini(), "[Kel]\nPort=0\nminh=+00,0\nmaxh=+99,9\nmint=-40,0\nmaxt=+60,0\ninterval=60\nIndic=0\n"
                     "modeRH=2\nmodeT=2\nmin_RH=+00,0\nmax_RH=100,0\nmin_T=-50,0\nmax_T=100,0\n"
                     "colorChart=1\nusb=0\n");
}

TEST_F(SettingsWindowTest, StoredValuesReachTheirControlsAndComeBackUnchanged)
{
    const QByteArray file = "[Kel]\r\nPort=12\r\nminh=+12,5\r\nmaxh=+80,0\r\nmint=-10,0\r\nmaxt=+35,5\r\n"
                            "interval=abc\r\nIndic=1\r\nmodeRH=3\r\nmodeT=0\r\nmin_RH=+10,0\r\nmax_RH=+90,0\r\n"
                            "min_T=-20,0\r\nmax_T=+40,0\r\ncolorChart=0\r\nusb=1\r\n";
    writeIni(file);
    startAndShow();
    MainWindow& f = form();
    EXPECT_EQ(gui::named<QComboBox>(f.connectionPanel(), "ComboBoxDeviceName")->currentText(), "\\\\.\\COM13");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7")->text(), "+12,5");
    EXPECT_EQ(gui::named<QLineEdit>(f.readingPanel(), "Edit5")->text(), "abc");
    EXPECT_EQ(f.textReportPage().displayMode(), 1);
    EXPECT_EQ(gui::named<RadioGroup>(f.textReportPage(), "RadioGroup1")->itemIndex(), 1);
    EXPECT_EQ(gui::named<QLabel>(f.textReportPage(), "Label9")->text(), "точки росы - T, °C:");
    EXPECT_EQ(gui::named<QComboBox>(select(), "ComboBox1")->currentText(), "Ручной ввод");
    EXPECT_EQ(gui::named<QComboBox>(select(), "ComboBox2")->currentText(), "Выключена");
    EXPECT_EQ(gui::named<MaskEdit>(select(), "MaskEdit4")->text(), "+40,0");
    EXPECT_FALSE(f.colorChart());
    EXPECT_TRUE(gui::named<QCheckBox>(f.connectionPanel(), "usb")->isChecked());
    f.close();
    EXPECT_EQ(ini(), file);
}

TEST_F(SettingsWindowTest, ValueRulesOfTheFile)
{
    // Ortanel given in hexadecimal is written back in decimal.
    EXPECT_TRUE(roundTrip("[Kel]\nOrtanel=0x1F\n").startsWith("[Kel]\nOrtanel=31\nPort=0\n"));
    windows.reset();
    // Zero, negative or not a number: never written, the line stays as it was.
    for (const QByteArray value : {"0", "-4", "abc"}) {
        const QByteArray after = roundTrip("[Kel]\nOrtanel=" + value + "\n");
        EXPECT_TRUE(after.startsWith("[Kel]\nOrtanel=" + value + "\nPort=0\n")) << after.constData();
        windows.reset();
    }
    // Indic 258 is display mode 2.
    writeIni("[Kel]\nIndic=258\n");
    startAndShow();
    EXPECT_EQ(form().textReportPage().displayMode(), 2);
    EXPECT_EQ(gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->itemIndex(), 2);
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label9")->text(), "влажность - A, г/куб.м");
    form().close();
    EXPECT_TRUE(ini().contains("\nIndic=2\n"));
    windows.reset();
    // colorChart: 2 true, 0 false, "yes" the default true.
    for (const auto& [value, expected] : {std::pair{"2", true}, std::pair{"0", false}, std::pair{"yes", true}}) {
        writeIni(QByteArray("[Kel]\ncolorChart=") + value + "\n");
        startAndShow();
        EXPECT_EQ(form().colorChart(), expected) << value;
        form().close();
        EXPECT_TRUE(ini().contains(expected ? "\ncolorChart=1\n" : "\ncolorChart=0\n"));
        windows.reset();
    }
}

TEST_F(SettingsWindowTest, IndicFiveIsClampedByTheSelectorAndSavedAsTwo)
{
    writeIni("[Kel]\nIndic=5\n");
    start();
    form().LoadSettings();
    EXPECT_EQ(form().textReportPage().displayMode(), 5);  // held as read until the show handler
    windows.reset();

    startAndShow();
    EXPECT_EQ(gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->itemIndex(), 2);
    EXPECT_EQ(form().textReportPage().displayMode(), 2);
    form().close();
    EXPECT_TRUE(ini().contains("\nIndic=2\n"));
}

TEST_F(SettingsWindowTest, PortOutsideTheListSelectsNothingAndIsWrittenAsMinusOne)
{
    for (const QByteArray value : {"20", "-1", "-7", "0x100"}) {
        writeIni("[Kel]\nPort=" + value + "\n");
        startAndShow();
        EXPECT_EQ(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->currentIndex(), -1) << value.constData();
        form().close();
        EXPECT_TRUE(ini().contains("\nPort=-1\n")) << value.constData();
        windows.reset();
    }
    // A port typed by hand is not kept either.
    writeIni("[Kel]\nPort=3\n");
    startAndShow();
    gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->setEditText("/dev/pts/7");
    form().close();
    EXPECT_TRUE(ini().contains("\nPort=-1\n"));
    windows.reset();
    // The last entry is still a port.
    EXPECT_TRUE(roundTrip("[Kel]\nPort=19\n").contains("\nPort=19\n"));
}

TEST_F(SettingsWindowTest, LoadingRunsNoHandler)
{
    writeIni("[Kel]\nPort=4\nmodeRH=3\nmodeT=1\nusb=1\n");
    start();
    int portChanges = 0;
    int modeChanges = 0;
    QObject context;
    QObject::connect(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName"), &QComboBox::currentIndexChanged, &context, [&] { ++portChanges; });
    QObject::connect(gui::named<QComboBox>(select(), "ComboBox1"), &QComboBox::currentIndexChanged, &context, [&] { ++modeChanges; });
    QObject::connect(gui::named<QComboBox>(select(), "ComboBox2"), &QComboBox::currentIndexChanged, &context, [&] { ++modeChanges; });
    windows->showMainWindow();
    ASSERT_TRUE(gui::waitExposed(&form()));
    EXPECT_EQ(gui::named<QComboBox>(form().connectionPanel(), "ComboBoxDeviceName")->currentText(), "COM5");
    EXPECT_EQ(portChanges, 0);
    EXPECT_EQ(modeChanges, 0);
    EXPECT_TRUE(line->calls.isEmpty());  // the port was not opened
}

TEST_F(SettingsWindowTest, ClearedMaskPositionsAreSavedAsZeros)
{
    startAndShow();
    MainWindow& f = form();
    gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7")->setText("+12, ");
    gui::named<MaskEdit>(f.textReportPage(), "MaskEdit8")->setText("");
    gui::named<MaskEdit>(select(), "MaskEdit1")->setText("-4 , ");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7")->text(), "+12, ");
    EXPECT_EQ(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit8")->text(), "   , ");
    f.close();
    EXPECT_TRUE(ini().contains("\nminh=+12,0\nmaxh=000,0\n"));
    EXPECT_TRUE(ini().contains("\nmin_RH=-40,0\n"));
}

TEST_F(SettingsWindowTest, ForeignSectionsKeysAndCommentsAreKept)
{
    const QByteArray before = "; Kelmora settings\n[Ports]\nCOM3=/dev/pts/4\n\n[Kel]\n; thresholds below\n"
                              "minh=+10,0\nmyKey=kept\n\n[Other]\nPort=99\n";
    const QByteArray after = roundTrip(before);
    EXPECT_TRUE(after.startsWith("; Kelmora settings\n[Ports]\nCOM3=/dev/pts/4\n\n[Kel]\n; thresholds below\n"
                                 "minh=+10,0\nmyKey=kept\nPort=0\n"))
        << after.constData();
    EXPECT_TRUE(after.endsWith("usb=0\n\n[Other]\nPort=99\n")) << after.constData();
}

TEST_F(SettingsWindowTest, OnlyTheFileBesideTheProgramCounts)
{
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    {
        QFile f(QDir(elsewhere.path()).filePath("kelmora.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Kel]\ninterval=5\n");
    }
    writeIni("[Kel]\ninterval=30\n");
    startAndShow();
    EXPECT_EQ(gui::named<QLineEdit>(form().readingPanel(), "Edit5")->text(), "30");
    form().close();
    QDir::setCurrent(previous);
    QFile f(QDir(elsewhere.path()).filePath("kelmora.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[Kel]\ninterval=5\n");
}

TEST_F(SettingsWindowTest, AReadOnlyFileIsReportedAndTheWindowStillCloses)
{
    writeIni("[Kel]\nPort=2\n");
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::ReadGroup);
    startAndShow();
    form().close();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::StandardError),
              QStringList{"Unable to write to " + iniPath() + "."});
    EXPECT_EQ(ini(), "[Kel]\nPort=2\n");
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

// The interval's three-character limit is for typing: a longer stored value passes unchanged,
// and typing into it can shorten it but not make it longer.
TEST_F(SettingsWindowTest, ALongIntervalPassesUnchangedAndTypingIsLimited)
{
    writeIni("[Kel]\ninterval=12345\n");
    startAndShow();
    QLineEdit* edit = gui::named<QLineEdit>(form().readingPanel(), "Edit5");
    EXPECT_EQ(edit->text(), "12345");
    ASSERT_TRUE(gui::waitActive(&form()));
    edit->setFocus();
    edit->end(false);
    gui::typeText(edit, "6");
    EXPECT_EQ(edit->text(), "12345");
    gui::keyClick(edit, Qt::Key_Backspace);
    gui::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "123");
    gui::typeText(edit, "4");
    EXPECT_EQ(edit->text(), "123");
    edit->clear();
    gui::typeText(edit, "9000");
    EXPECT_EQ(edit->text(), "900");
    edit->setText("12345");
    form().close();
    EXPECT_TRUE(ini().contains("interval=12345\n")) << ini().toStdString();
}
