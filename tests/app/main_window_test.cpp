#include "support/main_window_fixture.h"
#include "views/ui/graph_page.h"

#include "widgets/bevel_panel.h"
#include "app/about_box.h"
#include "widgets/gui_fatal_exit.h"
#include "widgets/standard_error.h"

#include "widgets/mask_edit.h"
#include "widgets/on_off_switch.h"

#include <QAction>
#include <QCheckBox>
#include <QTableView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

namespace {

using MainWindowTest = MainWindowFixture;

QStringList enabledActions(const MainWindow& f)
{
    QStringList names;
    for (QAction* a : f.findChildren<QAction*>())
        if (!a->objectName().isEmpty() && a->objectName().startsWith("Ac") && a->isEnabled())
            names << a->objectName();
    names.sort();
    return names;
}

TEST_F(MainWindowTest, StartsWithOnlyTheFiveActionsAndNoReportPages)
{
    startAndShow();
    MainWindow& f = form();
    EXPECT_EQ(f.windowTitle(), "Kelmora v1.20   -   НПК \"Ortanel\"");
    EXPECT_EQ(enabledActions(f),
              (QStringList{"AcAbout", "AcConnect", "AcLoadReport", "AcOperations", "ActExit"}));
    EXPECT_TRUE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(0));
    EXPECT_FALSE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(1));
    EXPECT_FALSE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(2));
    EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), gui::named<QWidget>(f, "TabSheet1"));
    EXPECT_TRUE(f.readingPanel().isHidden());
    EXPECT_EQ(f.readingPanel().title(), " Отчет ");
    EXPECT_FALSE(gui::named<QComboBox>(f.connectionPanel(), "ComboBoxDeviceName")->isEnabled());
    EXPECT_EQ(gui::named<QComboBox>(f.connectionPanel(), "ComboBoxDeviceName")->currentText(), "COM1");
    EXPECT_EQ(gui::named<QLabel>(f.readingPanel(), "Label8")->text(), "-----");
    EXPECT_EQ(gui::named<QLabel>(f.readingPanel(), "Label1")->text(), "--.-");
    EXPECT_EQ(f.workingReport().name(), "temp");
    EXPECT_EQ(f.workingReport().meter(), 0);
    EXPECT_FALSE(f.graphPage().partDividersEnabled());
    EXPECT_EQ(f.graphPage().partCount(), 7);
    EXPECT_FALSE(gui::named<QTimer>(f.readingPanel(), "Timer1")->isActive());
    EXPECT_EQ(gui::named<QPushButton>(*gui::named<QWidget>(f, "TabSheet1"), "Button1")->text(), "&Установить связь");
    EXPECT_EQ(gui::named<QPushButton>(*gui::named<QWidget>(f, "TabSheet1"), "Button2")->text(), "&Загрузить отчет");
    EXPECT_FALSE(f.reportOutput().logo().isNull());
    EXPECT_EQ(f.reportOutput().logo().size(), QSize(76, 37));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, PoolIsCreatedAndTheScratchReportOfAnEarlierRunDeleted)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("POOL"));
    for (const char* name : {"POOL/temp.dat", "POOL/Cellar.dat", "POOL/temp.txt"}) {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    start();
    EXPECT_FALSE(QFile::exists(dir.filePath("POOL/temp.dat")));
    EXPECT_TRUE(QFile::exists(dir.filePath("POOL/Cellar.dat")));
    EXPECT_TRUE(QFile::exists(dir.filePath("POOL/temp.txt")));
}

TEST_F(MainWindowTest, MissingPoolIsCreated)
{
    start();
    EXPECT_TRUE(QFileInfo(dir.filePath("POOL")).isDir());
}

TEST_F(MainWindowTest, LogoReadsKTideOnTheFifteenthOfJuneOnly)
{
    const struct {
        QDate date;
        const char* caption;
    } cases[] = {{QDate(2026, 6, 14), "Ortanel"}, {QDate(2026, 6, 15), "K_Tide"},
                 {QDate(2026, 6, 16), "Ortanel"}, {QDate(2027, 6, 15), "K_Tide"},
                 {QDate(2026, 7, 15), "Ortanel"}};
    for (const auto& c : cases) {
        start(QDateTime(c.date, QTime(23, 59)));
        EXPECT_EQ(gui::named<BevelPanel>(*gui::named<QWidget>(form(), "TabSheet1"), "Panel1")->caption(), c.caption) << c.date.toString().toStdString();
        windows.reset();
    }
}

TEST_F(MainWindowTest, ActionListAsDesigned)
{
    start();
    MainWindow& f = form();
    const struct {
        QAction* action;
        const char* caption;
        const char* hint;
        QKeySequence shortcut;
        int picture;
    } table[] = {
        {gui::named<QAction>(f, "ActExit"), "&Выход", "Выход", QKeySequence(Qt::Key_F10), 2},
        {gui::named<QAction>(f, "AcAbout"), "&О фирме", "О фирме", {}, 3},
        {gui::named<QAction>(f, "AcConnect"), "&Установить связь", "Установить связь с прибором", QKeySequence(Qt::Key_F5), 8},
        {gui::named<QAction>(f, "AcSave"), "&Сохранить отчёт", "Сохранить отчёт", {}, 1},
        {gui::named<QAction>(f, "AcOperations"), "&Операции", "Операции", {}, 5},
        {gui::named<QAction>(f, "AcTextReport"), "&Текстовый отчёт", "Текстовый отчёт", {}, 6},
        {gui::named<QAction>(f, "AcGraphReport"), "&Графический отчёт", "Графический отчёт", {}, 7},
        {gui::named<QAction>(f, "AcPrintGraph"), "Распечатать график", "Распечатать график", {}, 15},
        {gui::named<QAction>(f, "AcPrintReport"), "Распечатать таблицу", "Распечатать таблицу", {}, 15},
        {gui::named<QAction>(f, "AcSetupGraph"), "Настройка графика", "Настройка графика", {}, 7},
        {gui::named<QAction>(f, "AcLoadReport"), "&Загрузить отчет", "Загрузить отчет", {}, 14},
        // Added after the designed ones: the climate analysis, with a picture of its own.
        {gui::named<QAction>(f, "AcClimateAnalysis"), "&Анализ климата…", "Анализ климата", {}, 16},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.action->objectName().toStdString());
        EXPECT_EQ(row.action->text(), row.caption);
        EXPECT_EQ(row.action->toolTip(), row.hint);
        EXPECT_EQ(row.action->statusTip(), row.hint);
        EXPECT_EQ(row.action->shortcut(), row.shortcut);
        EXPECT_EQ(row.action->property("imageIndex").toInt(), row.picture);
        EXPECT_FALSE(row.action->icon().isNull());
        EXPECT_FALSE(row.action->isIconVisibleInMenu());
    }
    ASSERT_EQ(f.toolbarPictures().size(), 17);
    for (const QPixmap& p : f.toolbarPictures())
        EXPECT_EQ(p.size(), QSize(16, 16));
}

// The actions of a menu or toolbar by name, separators as "|".
QStringList layout(const QList<QAction*>& actions)
{
    QStringList names;
    for (QAction* a : actions)
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return names;
}

TEST_F(MainWindowTest, MenuBarAndToolBarInTheirOrder)
{
    start();
    MainWindow& f = form();
    QStringList menus;
    for (QAction* a : f.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&Файл", "&Операции", "&Помощь"}));
    EXPECT_EQ(layout(gui::named<QMenu>(f, "FileMenu")->actions()), (QStringList{"AcSave", "|", "ActExit"}));
    EXPECT_EQ(layout(gui::named<QMenu>(f, "OperationsMenu")->actions()),
              (QStringList{"AcConnect", "AcLoadReport", "|", "AcTextReport", "AcPrintReport", "|",
                           "AcGraphReport", "AcPrintGraph", "AcSetupGraph", "|", "AcClimateAnalysis"}));
    EXPECT_EQ(layout(gui::named<QMenu>(f, "HelpMenu")->actions()), QStringList{"AcAbout"});
    EXPECT_EQ(layout(gui::named<QToolBar>(f, "ToolBar1")->actions()),
              (QStringList{"AcSave", "ActExit", "|", "AcConnect", "AcLoadReport", "|", "AcOperations",
                           "AcTextReport", "AcPrintReport", "AcGraphReport", "AcPrintGraph", "AcSetupGraph",
                           "|", "AcAbout", "|", "AcClimateAnalysis"}));
    EXPECT_EQ(gui::named<QToolBar>(f, "ToolBar1")->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(gui::named<QToolBar>(f, "ToolBar1")->height(), 27);
}

TEST_F(MainWindowTest, OpeningTheFileMenuRunsNoAction)
{
    startAndShow();
    MainWindow& f = form();
    gui::SignalCount saved(gui::named<QAction>(f, "AcSave"), &QAction::triggered);
    gui::SignalCount exited(gui::named<QAction>(f, "ActExit"), &QAction::triggered);
    gui::named<QMenu>(f, "FileMenu")->popup(f.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(gui::waitExposed(gui::named<QMenu>(f, "FileMenu")));
    gui::named<QMenu>(f, "FileMenu")->hide();
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(exited.count(), 0);
    EXPECT_TRUE(f.isVisible());
    // Its "&Выход" item closes the window.
    gui::named<QMenu>(f, "FileMenu")->actions().last()->trigger();
    EXPECT_FALSE(f.isVisible());
}

TEST_F(MainWindowTest, F5AndF10ReachTheirActionsFromAnywhereInTheWindow)
{
    startAndShow();
    MainWindow& f = form();
    ASSERT_TRUE(gui::waitActive(&f));
    gui::SignalCount connect(gui::named<QAction>(f, "AcConnect"), &QAction::triggered);
    f.setReportActionsEnabled(true);
    gui::named<QAction>(f, "AcTextReport")->trigger();
    QWidget* places[] = {gui::named<QPushButton>(*gui::named<QWidget>(f, "TabSheet1"), "Button2"), gui::named<QCheckBox>(f.connectionPanel(), "usb"), gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7"), gui::named<QTableView>(f.textReportPage(), "Grid1")};
    int expected = 0;
    for (QWidget* w : places) {
        gui::named<QTabWidget>(f, "PageControl1")->setCurrentWidget(w->window() == &f && f.textReportPage().isAncestorOf(w) ? &f.textReportPage() : gui::named<QWidget>(f, "TabSheet1"));
        w->setFocus();
        gui::keyClick(w, Qt::Key_F5);
        EXPECT_EQ(connect.count(), ++expected) << w->objectName().toStdString();
    }
    gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7")->setFocus();
    gui::keyClick(gui::named<MaskEdit>(f.textReportPage(), "MaskEdit7"), Qt::Key_F10);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(ini().isEmpty());  // closing wrote the settings
}

TEST_F(MainWindowTest, ReportActionsSwitchTogetherAndSwitchingOffBringsPageOneForward)
{
    startAndShow();
    MainWindow& f = form();
    f.setReportActionsEnabled(true);
    for (QAction* a : f.reportActions())
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(1));
    EXPECT_TRUE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(2));
    EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), gui::named<QWidget>(f, "TabSheet1"));  // switching on keeps the page
    EXPECT_TRUE(gui::named<QPushButton>(f.textReportPage(), "Button10")->isEnabled());                     // buttons follow their actions
    EXPECT_EQ(gui::named<QPushButton>(f.textReportPage(), "Button10")->text(), "Распечатать таблицу");

    for (QWidget* page : {static_cast<QWidget*>(&f.textReportPage()), gui::named<QWidget>(f, "TabSheet3")}) {
        f.setReportActionsEnabled(true);
        gui::named<QTabWidget>(f, "PageControl1")->setCurrentWidget(page);
        f.setReportActionsEnabled(false);
        EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), gui::named<QWidget>(f, "TabSheet1"));
    }
    for (QAction* a : f.reportActions())
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(1));
    EXPECT_FALSE(gui::named<QTabWidget>(f, "PageControl1")->isTabVisible(2));
    EXPECT_FALSE(gui::named<QPushButton>(f.textReportPage(), "Button10")->isEnabled());
    EXPECT_TRUE(gui::named<QAction>(f, "AcConnect")->isEnabled());
}

TEST_F(MainWindowTest, PageActionsBringTheirPagesForward)
{
    startAndShow();
    MainWindow& f = form();
    f.setReportActionsEnabled(true);
    gui::named<QAction>(f, "AcGraphReport")->trigger();
    EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), gui::named<QWidget>(f, "TabSheet3"));
    gui::named<QAction>(f, "AcTextReport")->trigger();
    EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), &f.textReportPage());
    gui::named<QAction>(f, "AcOperations")->trigger();
    EXPECT_EQ(gui::named<QTabWidget>(f, "PageControl1")->currentWidget(), gui::named<QWidget>(f, "TabSheet1"));
}

TEST_F(MainWindowTest, StatusBarShowsTheHintUnderThePointer)
{
    startAndShow();
    MainWindow& f = form();
    const struct {
        QWidget* widget;
        const char* hint;
    } places[] = {
        {gui::named<QToolBar>(f, "ToolBar1")->widgetForAction(gui::named<QAction>(f, "AcConnect")), "Установить связь с прибором"},
        {gui::named<QToolBar>(f, "ToolBar1")->widgetForAction(gui::named<QAction>(f, "AcAbout")), "О фирме"},
        {gui::named<QPushButton>(*gui::named<QWidget>(f, "TabSheet1"), "Button2"), "Загрузить отчет"},
        {gui::named<QToolButton>(f.readingPanel(), "SpeedButton1"), "Сохранить"},
        {gui::named<OnOffSwitch>(f.readingPanel(), "Switch1"), "Вкл./Выкл. автоматическое считывание данных"},
    };
    for (const auto& p : places) {
        ASSERT_NE(p.widget, nullptr);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(p.widget, &enter);
        EXPECT_EQ(f.statusBar()->currentMessage(), p.hint);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(p.widget, &leave);
        EXPECT_EQ(f.statusBar()->currentMessage(), "");
    }
}

TEST_F(MainWindowTest, LogoPanelAndAboutBoxOpenTheMakersAddresses)
{
    startAndShow();
    MainWindow& f = form();
    EXPECT_EQ(gui::named<BevelPanel>(*gui::named<QWidget>(f, "TabSheet1"), "Panel1")->cursor().shape(), Qt::PointingHandCursor);
    gui::mouseClick(gui::named<BevelPanel>(*gui::named<QWidget>(f, "TabSheet1"), "Panel1"));
    gui::named<QPushButton>(windows->aboutBox(), "Button1")->click();
    gui::named<QPushButton>(windows->aboutBox(), "Button2")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::OpenAddress),
              (QStringList{Maker::WebSite, "mailto:" + Maker::EMail, Maker::WebSite}));
    EXPECT_TRUE(gui::named<QPushButton>(windows->aboutBox(), "Button2")->text().contains(Maker::WebSiteShown));
}

TEST_F(MainWindowTest, AboutActionShowsTheAboutBoxModally)
{
    startAndShow();
    QTimer::singleShot(0, [this] {
        EXPECT_TRUE(windows->aboutBox().isVisible());
        EXPECT_TRUE(windows->aboutBox().isModal());
        gui::named<QPushButton>(windows->aboutBox(), "OKButton")->click();
    });
    gui::named<QAction>(form(), "AcAbout")->trigger();
    EXPECT_FALSE(windows->aboutBox().isVisible());
    // The designed box, with one line below it naming the data directory.
    EXPECT_EQ(windows->aboutBox().size(), QSize(289, 449 + 34));
    EXPECT_EQ(gui::named<QPushButton>(windows->aboutBox(), "OKButton")->geometry(), QRect(206, 388, 75, 53));
    EXPECT_EQ(gui::named<QLabel>(windows->aboutBox(), "DataDirectoryLabel")->text(), "Отчеты и настройки: " + dir.path());
}

TEST_F(MainWindowTest, DestroyingTheWindowClosesThePort)
{
    start();
    const std::shared_ptr<QStringList> calls = line->log;
    line->Open();
    calls->clear();
    windows.reset();
    EXPECT_EQ(*calls, QStringList{"Close"});
}

class Thrower : public QWidget {
public:
    QString message;
protected:
    void mousePressEvent(QMouseEvent*) override { throw std::runtime_error(message.toStdString()); }
};

TEST_F(MainWindowTest, AnErrorEscapingAHandlerEndsTheEventAndShowsTheStandardErrorBox)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {{"Axis Maximum Value must be >= Minimum", "Axis Maximum Value must be >= Minimum."},
                 {"Готово.", "Готово."}, {"blank at the end ", "blank at the end "},
                 {"Невозможно!", "Невозможно!"}};
    Thrower widget;
    for (const auto& c : cases) {
        widget.message = QString::fromUtf8(c.message);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        EXPECT_FALSE(DeliverGuarded(*qApp, &widget, &press, dialogs));
    }
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::StandardError),
              (QStringList{"Axis Maximum Value must be >= Minimum.", "Готово.", "blank at the end ", "Невозможно!"}));
    // Events without errors pass through untouched.
    QEvent harmless(QEvent::User);
    DeliverGuarded(*qApp, &widget, &harmless, dialogs);
    EXPECT_EQ(dialogs.shown.size(), 4u);
}

[[noreturn]] void throwingTerminate(int status)
{
    throw status;
}

// The end is a failure (a script or a desktop session sees it), after the box, and after what
// the caller must still do (the window writes its settings there).
TEST_F(MainWindowTest, DeviceNotRespondingShowsItsMessageAndEndsWithAFailureStatus)
{
    startAndShow();
    GuiFatalExit fatal(dialogs, &throwingTerminate);
    QStringList order;
    fatal.setBeforeEnd([&] { order << dialogs.texts(FakeDialogs::Kind::Message); });
    try {
        fatal.deviceNotResponding();
        FAIL() << "the program went on";
    } catch (int status) {
        EXPECT_NE(status, 0);
    }
    EXPECT_EQ(order, QStringList{"Устройство не отвечает !"}) << "the box came before the end's own work";
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::Warning).isEmpty());
}

}  // namespace
