// MainWindow: the action list with its pictures, the menu bar, the toolbar and the status bar.
#include "app/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

struct ActionSpec {
    QAction* MainWindow::*member;
    const char* name;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
    int picture;
    bool enabled;
    void (MainWindow::*handler)();
};

}  // namespace

void MainWindow::CreateActions()
{
    for (int i = 0; i < 16; ++i)
        ImageList1 << QPixmap(QStringLiteral(":/kelmora/tool%1.png").arg(i, 2, 10, QLatin1Char('0')));

    const ActionSpec specs[] = {
        {&MainWindow::ActExit, "ActExit", "&Выход", "Выход", QKeySequence(Qt::Key_F10), 2, true,
         &MainWindow::ActExitExecute},
        {&MainWindow::AcAbout, "AcAbout", "&О фирме", "О фирме", {}, 3, true, &MainWindow::AcAboutExecute},
        {&MainWindow::AcConnect, "AcConnect", "&Установить связь", "Установить связь с прибором",
         QKeySequence(Qt::Key_F5), 8, true, &MainWindow::AcConnectExecute},
        {&MainWindow::AcSave, "AcSave", "&Сохранить отчёт", "Сохранить отчёт", {}, 1, false,
         &MainWindow::AcSaveExecute},
        {&MainWindow::AcOperations, "AcOperations", "&Операции", "Операции", {}, 5, true,
         &MainWindow::AcOperationsExecute},
        {&MainWindow::AcTextReport, "AcTextReport", "&Текстовый отчёт", "Текстовый отчёт", {}, 6, false,
         &MainWindow::AcTextReportExecute},
        {&MainWindow::AcGraphReport, "AcGraphReport", "&Графический отчёт", "Графический отчёт", {}, 7, false,
         &MainWindow::AcGraphReportExecute},
        {&MainWindow::AcPrintGraph, "AcPrintGraph", "Распечатать график", "Распечатать график", {}, 15, false,
         &MainWindow::AcPrintGraphExecute},
        {&MainWindow::AcPrintReport, "AcPrintReport", "Распечатать таблицу", "Распечатать таблицу", {}, 15,
         false, &MainWindow::AcPrintReportExecute},
        {&MainWindow::AcSetupGraph, "AcSetupGraph", "Настройка графика", "Настройка графика", {}, 7, false,
         &MainWindow::AcSetupGraphExecute},
        {&MainWindow::AcLoadReport, "AcLoadReport", "&Загрузить отчет", "Загрузить отчет", {}, 14, true,
         &MainWindow::AcLoadReportExecute},
    };
    for (const ActionSpec& s : specs) {
        auto* a = new QAction(QString::fromUtf8(s.caption), this);
        a->setObjectName(QString::fromLatin1(s.name));
        a->setToolTip(QString::fromUtf8(s.hint));
        a->setStatusTip(QString::fromUtf8(s.hint));
        a->setShortcut(s.shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setIcon(QIcon(ImageList1.value(s.picture)));
        a->setIconVisibleInMenu(false);
        a->setProperty("imageIndex", s.picture);
        a->setEnabled(s.enabled);
        connect(a, &QAction::triggered, this, s.handler);
        // Added to the window itself, so the shortcuts work wherever the focus is in it.
        addAction(a);
        this->*s.member = a;
    }
}

void MainWindow::CreateMenuAndToolBar()
{
    FileMenu = menuBar()->addMenu(QStringLiteral("&Файл"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    FileMenu->addAction(AcSave);
    FileMenu->addSeparator();
    FileMenu->addAction(ActExit);

    OperationsMenu = menuBar()->addMenu(QStringLiteral("&Операции"));
    OperationsMenu->setObjectName(QStringLiteral("OperationsMenu"));
    OperationsMenu->addAction(AcConnect);
    OperationsMenu->addAction(AcLoadReport);
    OperationsMenu->addSeparator();
    OperationsMenu->addAction(AcTextReport);
    OperationsMenu->addAction(AcPrintReport);
    OperationsMenu->addSeparator();
    OperationsMenu->addAction(AcGraphReport);
    OperationsMenu->addAction(AcPrintGraph);
    OperationsMenu->addAction(AcSetupGraph);

    HelpMenu = menuBar()->addMenu(QStringLiteral("&Помощь"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    HelpMenu->addAction(AcAbout);

    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->toggleViewAction()->setEnabled(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setFixedHeight(27);
    ToolBar1->setStyleSheet(QStringLiteral(
        "QToolBar { border-top: 1px solid palette(mid); border-bottom: 1px solid palette(mid);"
        " spacing: 0px; padding: 1px 2px; }"
        "QToolButton { min-width: 21px; max-width: 21px; min-height: 21px; max-height: 21px; }"));
    ToolBar1->addAction(AcSave);
    ToolBar1->addAction(ActExit);
    ToolBar1->addSeparator();
    ToolBar1->addAction(AcConnect);
    ToolBar1->addAction(AcLoadReport);
    ToolBar1->addSeparator();
    ToolBar1->addAction(AcOperations);
    ToolBar1->addAction(AcTextReport);
    ToolBar1->addAction(AcPrintReport);
    ToolBar1->addAction(AcGraphReport);
    ToolBar1->addAction(AcPrintGraph);
    ToolBar1->addAction(AcSetupGraph);
    ToolBar1->addSeparator();
    ToolBar1->addAction(AcAbout);

    // One panel that shows the hint of whatever is under the mouse pointer.
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(20);
}
