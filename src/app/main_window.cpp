#include "app/main_window.h"

#include "app/about_box.h"
#include "device/serial_port.h"
#include "device/ui/connection_panel.h"
#include "logging/report_pool.h"
#include "logging/reading_cycle.h"
#include "logging/scratch_recovery.h"
#include "logging/ui/reading_panel.h"
#include "logging/working_report.h"
#include "platform/clock.h"
#include "publish/ui/broker_link.h"
#include "report/report_document.h"
#include "views/ui/graph_page.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/report_output.h"
#include "views/ui/text_report_page.h"
#include "widgets/bevel_panel.h"
#include "widgets/design_font.h"
#include "widgets/dialogs.h"
#include "widgets/standard_error.h"
#include "widgets/wait_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>

// Resources live in the widget library; the executable and the tests pull them in from here.
static void initKelmoraResources()
{
    Q_INIT_RESOURCE(kelmora);
}

MainWindow::MainWindow(Clock& clock, Dialogs& dialogs, const QString& programDirectory,
                     std::unique_ptr<SerialLine> port, QWidget* parent)
    : QMainWindow(parent),
      fatalExit_(dialogs),
      clock_(clock),
      dialogs_(dialogs),
      programDirectory_(programDirectory),
      workingReport_(QDir(programDirectory).filePath(QStringLiteral("POOL")))
{
    initKelmoraResources();
    setObjectName(QStringLiteral("MainForm"));
    portToOwn_ = port ? std::move(port)
                      : std::make_unique<SerialPort>(std::function<PortNameMap()>(
                            [ini = settingsFilePath()] { return PortNameMap::fromSettingsFile(ini); }));

    setWindowTitle(Caption);
    setWindowIcon(QIcon(QStringLiteral(":/kelmora/kelmora.png")));
    setFont(DesignFont());
    // Client area as designed; the window with its frame may not become smaller than 800 × 600.
    resize(1016, 718);
    setMinimumSize(792, 573);

    createActions();
    createMenuAndToolBar();
    createPages();
    createDocument();
    createOutput();
    broker_ = new BrokerLink(statusBar(), this);
    readingStatus_ = new QLabel(statusBar());
    readingStatus_->setObjectName(QStringLiteral("ReadingStatus"));
    // A long reason never widens the window: the field gives way and its tip holds the whole text.
    readingStatus_->setMinimumWidth(1);
    statusBar()->addPermanentWidget(readingStatus_);
    cycle_ = new ReadingCycle(connection_->session(), this);
    connect(cycle_, &ReadingCycle::finished, this, &MainWindow::readingFinished);
    // A reading's rebuild that waited for a build follows it.
    connect(document_, &ReportDocument::built, this, &MainWindow::rebuildIfPending, Qt::QueuedConnection);
    fatalExit_.setBeforeEnd([this] { saveSettingsBeforeFatalEnd(); });
    prepareOnCreation();
}

MainWindow::~MainWindow()
{
    releaseOnDestruction();
    // The child widgets outlive the members: a focus change while they are torn down must not
    // reach a handler (the port box would try to open the port that is already gone).
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children)
        disconnect(child, nullptr, this, nullptr);
}

void MainWindow::setWindows(const Windows& windows)
{
    waitWindow_ = windows.wait;
    // Builds that are not a reading's and saves of the table show their progress in it.
    document_->setProgress(waitWindow_);
    output_->setWaitWindow(waitWindow_);
    aboutBox_ = windows.about;
    graphSetupDialog_ = windows.graphSetup;
    // The graph setup hands its choices to the graph page, which says which manual limits
    // take part; its picture button saves the charts.
    connect(graphSetupDialog_, &GraphSetupDialog::axisSettingsChosen, graphPage_, &GraphPage::applyAxisSettings);
    connect(graphSetupDialog_, &GraphSetupDialog::setupChosen, graphPage_, &GraphPage::applySetup);
    connect(graphPage_, &GraphPage::manualLimitsEnabled, graphSetupDialog_, &GraphSetupDialog::enableManualLimits);
    connect(graphSetupDialog_, &GraphSetupDialog::picturesRequested, this, &MainWindow::saveChartPictures);
    reportSelectionDialog_ = windows.reportSelection;
}

QString MainWindow::poolDirectory() const
{
    return workingReport_.poolDirectory();
}

QString MainWindow::settingsFilePath() const
{
    return QDir(programDirectory_).filePath(QStringLiteral("kelmora.ini"));
}

void MainWindow::prepareOnCreation()
{
    graphPage_->setPartDividers(false, 7);
    // The decimal comma: every number of the program is written and read by its own number
    // functions (report/number_format), which use "," whatever the regional settings say;
    // date and time separators stay the system's.
    readingPanel_->clearTypedName();
    workingReport_.reset();
    pages_->setTabVisible(pages_->indexOf(textReportPage_), false);
    pages_->setTabVisible(pages_->indexOf(graphTab_), false);

    const QDate today = clock_.now().date();
    if (today.month() == 6 && today.day() == 15)
        logoPanel_->setCaption(QStringLiteral("K_Tide"));

    // Housekeeping of the pool is silent: an existing directory, a missing scratch report or
    // a read-only place are all fine.
    QDir(programDirectory_).mkdir(QStringLiteral("POOL"));
    // A scratch report left with readings by a run that never reached the close question is
    // kept under a recovery name, and the user is told where; an empty one goes.
    const QString recovered = KeepOrDiscardScratchReport(poolDirectory());
    if (!recovered.isEmpty())
        showReadingStatus(QStringLiteral("Несохраненные показания прошлого сеанса сохранены в отчете %1")
                              .arg(ChangeFileExt(recovered, QString())));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        prepareOnFirstShow();
    }
}

void MainWindow::prepareOnFirstShow()
{
    LoadSettings();
    broker_->start(settingsFilePath());
    textReportPage_->chooseDisplayMode(textReportPage_->displayMode());
    textReportPage_->fitColumns();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    // A reading under way is stored (or decided about) first; the window closes right after it.
    if (readingInProgress()) {
        closeAfterReading_ = true;
        event->ignore();
        return;
    }
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    closed_ = true;
    finishOnClose();
    // A normal close takes the scratch report with it; what a crash leaves is recovered at start.
    DiscardWorkingReport(poolDirectory());
    event->accept();
}

bool MainWindow::confirmClose()
{
    // Whatever the pages show: readings that no save has kept are never dropped unasked.
    if (!workingReport_.mustAskBeforeClosing(readingPanel_->typedName()))
        return true;
    switch (dialogs_.warning(QStringLiteral("Сохранить отчет ?"))) {
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Yes:
        dialogs_.message(kEnterNewReportName);
        return false;
    case Dialogs::Answer::Closed:
        // Esc or the box's own close: the question has no third answer, so nothing is dropped.
        return false;
    }
    return false;
}

int MainWindow::execOwningItsBoxes(QDialog* dialog)
{
    const Dialogs::OwnerScope owned(dialogs_, dialog);
    return dialog->exec();
}

void MainWindow::finishOnClose()
{
    // A settings file that cannot be written is reported in the standard error box; the window
    // closes all the same, so that a read-only file never keeps the program from ending.
    try {
        SaveSettings();
    } catch (const std::exception& e) {
        ShowStandardError(dialogs_, QString::fromUtf8(e.what()));
    }
    broker_->stop();
}

void MainWindow::releaseOnDestruction()
{
    // The port is closed while the window's members are all still there.
    delete connection_;
    connection_ = nullptr;
}

QList<QAction*> MainWindow::reportActions() const
{
    return {saveAction_, textReportAction_, graphReportAction_, printGraphAction_, graphSetupAction_, printTableAction_,
            climateAnalysisAction_};
}

void MainWindow::setReportActionsEnabled(bool on)
{
    // Switching off while a report page is in front brings the operations page forward.
    if (!on && (pages_->currentWidget() == textReportPage_ || pages_->currentWidget() == graphTab_))
        pages_->setCurrentWidget(operationsTab_);
    pages_->setTabVisible(pages_->indexOf(textReportPage_), on);
    pages_->setTabVisible(pages_->indexOf(graphTab_), on);
    for (QAction* action : reportActions())
        action->setEnabled(on);
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::showAboutBox()
{
    if (aboutBox_)
        aboutBox_->exec();
}

void MainWindow::showOperationsPage()
{
    pages_->setCurrentWidget(operationsTab_);
}

void MainWindow::showTextReportPage()
{
    pages_->setCurrentWidget(textReportPage_);
}

void MainWindow::showGraphPage()
{
    pages_->setCurrentWidget(graphTab_);
}

void MainWindow::openMakersWebSite()
{
    dialogs_.openAddress(Maker::WebSite);
}

