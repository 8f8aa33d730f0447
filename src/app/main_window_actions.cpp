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

void MainWindow::createActions()
{
    for (int i = 0; i < 17; ++i)
        toolbarPictures_ << QPixmap(QStringLiteral(":/kelmora/tool%1.png").arg(i, 2, 10, QLatin1Char('0')));

    const ActionSpec specs[] = {
        {&MainWindow::exitAction_, "ActExit", "&Выход", "Выход", QKeySequence(Qt::Key_F10), 2, true,
         &MainWindow::exitProgram},
        {&MainWindow::aboutAction_, "AcAbout", "&О фирме", "О фирме", {}, 3, true, &MainWindow::showAboutBox},
        {&MainWindow::connectAction_, "AcConnect", "&Установить связь", "Установить связь с прибором",
         QKeySequence(Qt::Key_F5), 8, true, &MainWindow::checkConnection},
        {&MainWindow::saveAction_, "AcSave", "&Сохранить отчёт", "Сохранить отчёт", {}, 1, false,
         &MainWindow::saveTable},
        {&MainWindow::operationsAction_, "AcOperations", "&Операции", "Операции", {}, 5, true,
         &MainWindow::showOperationsPage},
        {&MainWindow::textReportAction_, "AcTextReport", "&Текстовый отчёт", "Текстовый отчёт", {}, 6, false,
         &MainWindow::showTextReportPage},
        {&MainWindow::graphReportAction_, "AcGraphReport", "&Графический отчёт", "Графический отчёт", {}, 7, false,
         &MainWindow::showGraphPage},
        {&MainWindow::printGraphAction_, "AcPrintGraph", "Распечатать график", "Распечатать график", {}, 15, false,
         &MainWindow::printGraph},
        {&MainWindow::printTableAction_, "AcPrintReport", "Распечатать таблицу", "Распечатать таблицу", {}, 15,
         false, &MainWindow::printTable},
        {&MainWindow::graphSetupAction_, "AcSetupGraph", "Настройка графика", "Настройка графика", {}, 7, false,
         &MainWindow::openGraphSetup},
        {&MainWindow::loadReportAction_, "AcLoadReport", "&Загрузить отчет", "Загрузить отчет", {}, 14, true,
         &MainWindow::loadStoredReport},
        {&MainWindow::climateAnalysisAction_, "AcClimateAnalysis", "&Анализ климата…", "Анализ климата", {}, 16, false,
         &MainWindow::openClimateAnalysis},
    };
    for (const ActionSpec& s : specs) {
        auto* a = new QAction(QString::fromUtf8(s.caption), this);
        a->setObjectName(QString::fromLatin1(s.name));
        a->setToolTip(QString::fromUtf8(s.hint));
        a->setStatusTip(QString::fromUtf8(s.hint));
        a->setShortcut(s.shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setIcon(QIcon(toolbarPictures_.value(s.picture)));
        a->setIconVisibleInMenu(false);
        a->setProperty("imageIndex", s.picture);
        a->setEnabled(s.enabled);
        connect(a, &QAction::triggered, this, [this, handler = s.handler] { runUserWork(handler); });
        // Added to the window itself, so the shortcuts work wherever the focus is in it.
        addAction(a);
        this->*s.member = a;
    }
}

void MainWindow::createMenuAndToolBar()
{
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&Файл"));
    fileMenu_->setObjectName(QStringLiteral("FileMenu"));
    fileMenu_->addAction(saveAction_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(exitAction_);

    operationsMenu_ = menuBar()->addMenu(QStringLiteral("&Операции"));
    operationsMenu_->setObjectName(QStringLiteral("OperationsMenu"));
    operationsMenu_->addAction(connectAction_);
    operationsMenu_->addAction(loadReportAction_);
    operationsMenu_->addSeparator();
    operationsMenu_->addAction(textReportAction_);
    operationsMenu_->addAction(printTableAction_);
    operationsMenu_->addSeparator();
    operationsMenu_->addAction(graphReportAction_);
    operationsMenu_->addAction(printGraphAction_);
    operationsMenu_->addAction(graphSetupAction_);
    operationsMenu_->addSeparator();
    operationsMenu_->addAction(climateAnalysisAction_);

    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Помощь"));
    helpMenu_->setObjectName(QStringLiteral("HelpMenu"));
    helpMenu_->addAction(aboutAction_);

    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->toggleViewAction()->setEnabled(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setFixedHeight(27);
    toolBar_->setStyleSheet(QStringLiteral(
        "QToolBar { border-top: 1px solid palette(mid); border-bottom: 1px solid palette(mid);"
        " spacing: 0px; padding: 1px 2px; }"
        "QToolButton { min-width: 21px; max-width: 21px; min-height: 21px; max-height: 21px; }"));
    toolBar_->addAction(saveAction_);
    toolBar_->addAction(exitAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(connectAction_);
    toolBar_->addAction(loadReportAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(operationsAction_);
    toolBar_->addAction(textReportAction_);
    toolBar_->addAction(printTableAction_);
    toolBar_->addAction(graphReportAction_);
    toolBar_->addAction(printGraphAction_);
    toolBar_->addAction(graphSetupAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(aboutAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(climateAnalysisAction_);

    // One panel that shows the hint of whatever is under the mouse pointer.
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(20);
}
