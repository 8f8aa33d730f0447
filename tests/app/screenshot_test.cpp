// Pictures of the windows at their design size, written beside the test program into
// screenshots/ for looking at; the test checks the sizes the pictures are made at.
#include "support/main_window_fixture.h"

#include "app/about_box.h"
#include "widgets/wait_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace {

class ScreenshotTest : public MainWindowFixture {
protected:
    QString shotPath(const QString& name) const
    {
        const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
        QDir().mkpath(folder);
        return QDir(folder).filePath(name);
    }
};

TEST_F(ScreenshotTest, MainWindowAtDesignSize)
{
    startAndShow(QDateTime(QDate(2026, 3, 14), QTime(10, 8, 42)));
    MainWindow& f = form();
    EXPECT_EQ(f.size(), QSize(1016, 718));
    QApplication::processEvents();
    EXPECT_TRUE(f.grab().save(shotPath("main_window.png")));

    // After a connection check: the reading panel and the report pages.
    f.readingPanel().show();
    f.setReportActionsEnabled(true);
    f.readingPanel().setMeterNumber("00A3");
    QApplication::processEvents();
    EXPECT_TRUE(f.grab().save(shotPath("main_window_connected.png")));
    gui::named<QAction>(f, "AcTextReport")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(f.grab().save(shotPath("main_window_text_page.png")));
}

TEST_F(ScreenshotTest, AboutBoxAndWaitWindow)
{
    start();
    AboutBox& about = windows->aboutBox();
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(about.size(), QSize(289, 449 + 34));  // the designed box and the data directory's line
    EXPECT_TRUE(about.grab().save(shotPath("about_box.png")));
    WaitWindow& wait = windows->waitWindow();
    wait.setText("Подождите...");
    wait.setMaximum(10);
    wait.setPosition(6);
    wait.showWindow();
    EXPECT_TRUE(wait.grab().save(shotPath("wait_window.png")));
}

}  // namespace
