// TMainForm: the action list with its pictures, the menu bar, the toolbar and the status bar.
#include "app/main_form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

struct ActionSpec {
    QAction* TMainForm::*member;
    const char* name;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
    int picture;
    bool enabled;
    void (TMainForm::*handler)();
};

}  // namespace

void TMainForm::CreateActions()
{
    for (int i = 0; i < 16; ++i)
        ImageList1 << QPixmap(QStringLiteral(":/kelmora/tool%1.png").arg(i, 2, 10, QLatin1Char('0')));

    const ActionSpec specs[] = {
        {&TMainForm::ActExit, "ActExit", "&Выход", "Выход", QKeySequence(Qt::Key_F10), 2, true,
         &TMainForm::ActExitExecute},
        {&TMainForm::AcAbout, "AcAbout", "&О фирме", "О фирме", {}, 3, true, &TMainForm::AcAboutExecute},
        {&TMainForm::AcConnect, "AcConnect", "&Установить связь", "Установить связь с прибором",
         QKeySequence(Qt::Key_F5), 8, true, &TMainForm::AcConnectExecute},
        {&TMainForm::AcSave, "AcSave", "&Сохранить отчёт", "Сохранить отчёт", {}, 1, false,
         &TMainForm::AcSaveExecute},
        {&TMainForm::AcOperations, "AcOperations", "&Операции", "Операции", {}, 5, true,
         &TMainForm::AcOperationsExecute},
        {&TMainForm::AcTextReport, "AcTextReport", "&Текстовый отчёт", "Текстовый отчёт", {}, 6, false,
         &TMainForm::AcTextReportExecute},
        {&TMainForm::AcGraphReport, "AcGraphReport", "&Графический отчёт", "Графический отчёт", {}, 7, false,
         &TMainForm::AcGraphReportExecute},
        {&TMainForm::AcPrintGraph, "AcPrintGraph", "Распечатать график", "Распечатать график", {}, 15, false,
         &TMainForm::AcPrintGraphExecute},
        {&TMainForm::AcPrintReport, "AcPrintReport", "Распечатать таблицу", "Распечатать таблицу", {}, 15,
         false, &TMainForm::AcPrintReportExecute},
        {&TMainForm::AcSetupGraph, "AcSetupGraph", "Настройка графика", "Настройка графика", {}, 7, false,
         &TMainForm::AcSetupGraphExecute},
        {&TMainForm::AcLoadReport, "AcLoadReport", "&Загрузить отчет", "Загрузить отчет", {}, 14, true,
         &TMainForm::AcLoadReportExecute},
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

void TMainForm::CreateMenuAndToolBar()
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
