// MainWindow: the main window — action list, menu, toolbar, status bar, the three pages and
// the program's lifecycle (creation, first showing, close query, close, destruction).
// Handlers of each topic live in their own file.
#pragma once

#include "widgets/gui_fatal_exit.h"
#include "logging/working_report.h"
#include "device/serial_line.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>

#include <cstdint>
#include <memory>

class AnalogClock;
class BrokerLink;
class BevelPanel;
class GraphPage;
class Clock;
class Dialogs;
class QDialog;
class ReadingPanel;
class TextReportPage;
class ConnectionPanel;
class SerialLine;
class AboutBox;
class ReportSelectionDialog;
class GraphSetupDialog;
class WaitWindow;
class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class ReportDocument;
class ReportOutput;
class QTabWidget;
class QToolBar;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Kelmora v1.20   -   НПК \"Ortanel\"");

    // programDirectory: the directory of the executable (POOL and kelmora.ini are formed from it).
    // port: the serial line the connection panel owns; without one the real serial port is made.
    MainWindow(Clock& clock, Dialogs& dialogs, const QString& programDirectory,
              std::unique_ptr<SerialLine> port = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows created after the main window, in start-up order (loading the settings needs
    // the graph setup dialog).
    struct Windows {
        WaitWindow* wait = nullptr;
        AboutBox* about = nullptr;
        GraphSetupDialog* graphSetup = nullptr;
        ReportSelectionDialog* reportSelection = nullptr;
    };
    void setWindows(const Windows& windows);
    WaitWindow* waitWindow() const { return WaitForm; }
    AboutBox* aboutBox() const { return FirmBox; }
    GraphSetupDialog* graphSetupDialog() const { return SelectForm; }
    ReportSelectionDialog* reportSelectionDialog() const { return RepselForm; }

    Clock& clock() const { return clock_; }
    Dialogs& dialogs() const { return dialogs_; }
    const QString& programDirectory() const { return programDirectory_; }
    QString poolDirectory() const;
    QString settingsFilePath() const;
    // The report the readings go to and the meter they come from.
    const WorkingReport& workingReport() const { return workingReport_; }
    ReadingPanel& readingPanel() const { return *readingPanel_; }
    ConnectionPanel& connectionPanel() const { return *connection_; }

    TextReportPage& textReportPage() const { return *TabSheet2; }
    GraphPage& graphPage() const { return *Panel5; }
    BrokerLink& broker() const { return *Broker; }
    // Chart points coloured by the thresholds (the settings file's colour-chart setting).
    bool colorChart() const { return ColorChartFlag; }
    void setColorChart(bool on) { ColorChartFlag = on; }
    // The sixteen 16 × 16 toolbar pictures.
    const QList<QPixmap>& toolbarPictures() const { return ImageList1; }
    // The report actions, switched together with the tabs of pages 2 and 3.
    QList<QAction*> ReportActions() const;

    void CreatePage3();
    void TabSheet3Resize();
    // Before the charts are printed or saved: page 3 applies the graph setup whenever it is
    // shown; while another page is current, the setup is applied now, so the output shows the
    // charts as the setup makes them (and a zoom on the shown page stays as drawn).
    void PrepareChartsForOutput();
    // The graph setup's "Записать графики в файл": both charts as pictures.
    void SaveChartPicturesClick();

    // --- Lifecycle ---
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& CanClose);
    void FormClose();
    void FormDestroy();

    // --- Settings file ---
    void LoadSettings();
    void SaveSettings();

    // --- Report actions group ---
    void SetReportActions(bool on);

    // --- Report building (main_window_build.cpp) ---
    // Rebuilds table, statistics and title from the report held in memory (a build asked for
    // during a build follows it; see ReportDocument).
    void BuildReport(bool FromReading);
    // The report held in memory (records, interval, titles) and its builds.
    ReportDocument& document() const { return *document_; }
    // The table saved and printed, the charts printed and saved as pictures.
    ReportOutput& reportOutput() const { return *output_; }

public slots:
    void ActExitExecute();
    void AcAboutExecute();
    void AcOperationsExecute();
    void AcTextReportExecute();
    void AcGraphReportExecute();
    void Panel1Click();

    // Handlers of the connection, reading, report and output topics (main_window_*.cpp).
    void AcConnectExecute();
    // A reading: the meter read, the record stored in the working report, the report rebuilt.
    void takeReading();
    // The reading panel's save button: the working report moves to the typed name.
    void saveWorkingReport();
    void AcSaveExecute();
    void AcPrintReportExecute();
    void AcPrintGraphExecute();
    void AcSetupGraphExecute();
    void AcLoadReportExecute();
    void TabSheet3Show();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenuAndToolBar();
    void CreatePages();
    void CreateDocument();
    void CreateOutput();
    void CreatePage1();
    void CreatePage2();

    // How a reading on the open port ends: with the closing steps, with them after a failure
    // already shown to the user, or with the port left open for the user to save first.
    enum class ReadingEnd { CloseSession, CloseSessionFailureShown, KeepPortOpen };
    ReadingEnd readOnOpenPort();
    // Runs one of the program's modal dialogs with the boxes and file dialogs it opens owned
    // by it, so they stack above it.
    int execOwningItsBoxes(QDialog* dialog);

    // The windows created after the main window.
    WaitWindow* WaitForm = nullptr;
    AboutBox* FirmBox = nullptr;
    GraphSetupDialog* SelectForm = nullptr;
    ReportSelectionDialog* RepselForm = nullptr;


    // --- State of the window and the program ---
    bool ColorChartFlag = true;        // chart points coloured by the thresholds
    std::int32_t Ortanel = 0;          // kept for the settings file only
    BrokerLink* Broker = nullptr;      // publishes the stored readings when kelmora.ini names a broker
    GuiFatalExit FatalStop;

    // --- Action list and its pictures ---
    QList<QPixmap> ImageList1;         // the sixteen 16 × 16 toolbar pictures
    QAction* ActExit;
    QAction* AcAbout;
    QAction* AcConnect;
    QAction* AcSave;
    QAction* AcOperations;
    QAction* AcTextReport;
    QAction* AcGraphReport;
    QAction* AcPrintGraph;
    QAction* AcPrintReport;
    QAction* AcSetupGraph;
    QAction* AcLoadReport;

    QMenu* FileMenu;
    QMenu* OperationsMenu;
    QMenu* HelpMenu;
    QToolBar* ToolBar1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    TextReportPage* TabSheet2;         // the text report page
    QWidget* TabSheet3;

    // --- Page 1 "&Операции" ---
    QPushButton* Button1;
    QPushButton* Button2;
    QGroupBox* GroupBox1;
    AnalogClock* RxClock1;
    BevelPanel* Panel1;

    GraphPage* Panel5;                 // the two charts; fills TabSheet3

    Clock& clock_;
    Dialogs& dialogs_;
    QString programDirectory_;
    WorkingReport workingReport_;
    ReadingPanel* readingPanel_ = nullptr;
    ConnectionPanel* connection_ = nullptr;
    std::unique_ptr<SerialLine> portToOwn_;  // handed to the connection panel when it is made
    ReportDocument* document_ = nullptr;
    ReportOutput* output_ = nullptr;
    bool appendFailing_ = false;       // a failed append was reported; quiet until one succeeds
    bool shown_ = false;
    bool closed_ = false;
};
