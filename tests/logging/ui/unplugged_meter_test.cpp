// A meter that goes away during automatic reading, on the real serial path: the virtual meter
// is stopped in the middle of a reading and a new one started on the same link; nothing stays
// stuck and logging resumes by itself.
#include "support/fake_dialogs.h"
#include "support/gui_helpers.h"
#include "app/main_window.h"
#include "device/meter_session.h"
#include "device/ui/connection_panel.h"
#include "logging/ui/reading_panel.h"
#include "widgets/on_off_switch.h"
#include "app/program.h"
#include "support/meter_sim_process.h"
#include "support/ports_line.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

class UnpluggedMeter : public ::testing::Test {
protected:
    void SetUp() override
    {
        link = QDir(dir.path()).filePath("meter-link");
        QFile ini(QDir(dir.path()).filePath("kelmora.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Ports]\nCOM1=%1\n").arg(link).toUtf8());
        ini.close();
        plugIn();
        windows = std::make_unique<KelmoraWindows>(clock, dialogs, dir.path());
        windows->showMainWindow();
        ASSERT_TRUE(gui::waitExposed(&form()));
    }
    void TearDown() override { windows.reset(); }
    void plugIn() { meter = std::make_unique<MeterSimProcess>(QStringList{"--link", link, "--serial", "0x00A3"}); }
    MainWindow& form() const { return windows->mainWindow(); }
    qint64 logged() const
    {
        const QFileInfo f(QDir(dir.path()).filePath("POOL/temp.dat"));
        return f.exists() ? f.size() / 12 : 0;
    }

    QTemporaryDir dir;
    QString link;
    VirtualClock clock;
    FakeDialogs dialogs;
    std::unique_ptr<MeterSimProcess> meter;
    std::unique_ptr<KelmoraWindows> windows;
};

}  // namespace

TEST_F(UnpluggedMeter, PulledOutThenBackLoggingResumesWithoutABox)
{
    const auto idle = [this] {
        return gui::waitUntil([this] { return !form().readingInProgress() && !form().connectionPanel().session().busy(); });
    };
    const auto tick = [&] {
        QMetaObject::invokeMethod(gui::named<QTimer>(form().readingPanel(), "Timer1"), "timeout");
        ASSERT_TRUE(idle());
    };
    auto* status = gui::named<QLabel>(form(), "ReadingStatus");
    gui::named<QAction>(form(), "AcConnect")->trigger();
    ASSERT_TRUE(idle());
    ASSERT_FALSE(form().readingPanel().isHidden()) << dialogs.texts(FakeDialogs::Kind::Message).join('|').toStdString();
    gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText("600");
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    ASSERT_TRUE(idle());
    ASSERT_EQ(logged(), 1);
    ASSERT_TRUE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());

    // Pulled out: the next ticks cannot open the port. Logging on its own is never held by a
    // box: the failure is said once in the status bar, the port stays closed, nothing is stuck.
    meter.reset();
    tick();
    EXPECT_EQ(logged(), 1);
    EXPECT_TRUE(dialogs.shown.empty());
    const QString said = status->text();
    EXPECT_TRUE(said.contains("невозможно открыть порт COM1")) << said.toStdString();
    EXPECT_FALSE(form().connectionPanel().line().Active()) << "the dead port is closed";
    clock.advance(600000);
    tick();
    EXPECT_EQ(status->text(), said) << "said once per streak";
    EXPECT_TRUE(gui::named<QPushButton>(form().readingPanel(), "Button3")->isEnabled());

    // Back on the same link: the next tick logs, and the end of the streak is said.
    plugIn();
    tick();
    EXPECT_EQ(logged(), 2);
    EXPECT_TRUE(status->text().contains("показания снова записываются")) << status->text().toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(false);

    // The connection check works again as well.
    gui::named<QAction>(form(), "AcConnect")->trigger();
    ASSERT_TRUE(idle());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(form().readingPanel().isHidden());
}
