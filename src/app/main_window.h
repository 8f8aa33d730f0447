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
#include <functional>
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
class ClimateAnalysisDialog;
class WaitWindow;
class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class ReportDocument;
class ReportOutput;
class QTabWidget;
class QLabel;
class ReadingCycle;
struct MeterReading;
struct ReadingOutcome;
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
    WaitWindow* waitWindow() const { return waitWindow_; }
    AboutBox* aboutBox() const { return aboutBox_; }
    GraphSetupDialog* graphSetupDialog() const { return graphSetupDialog_; }
    // Made when "Анализ климата…" is first chosen.
    ClimateAnalysisDialog* climateAnalysisDialog() const { return climateAnalysisDialog_; }
    ReportSelectionDialog* reportSelectionDialog() const { return reportSelectionDialog_; }

    Clock& clock() const { return clock_; }
    Dialogs& dialogs() const { return dialogs_; }
    const QString& programDirectory() const { return programDirectory_; }
    QString poolDirectory() const;
    QString settingsFilePath() const;
    // The report the readings go to and the meter they come from.
    const WorkingReport& workingReport() const { return workingReport_; }
    ReadingPanel& readingPanel() const { return *readingPanel_; }
    ConnectionPanel& connectionPanel() const { return *connection_; }

    TextReportPage& textReportPage() const { return *textReportPage_; }
    GraphPage& graphPage() const { return *graphPage_; }
    BrokerLink& broker() const { return *broker_; }
    // Chart points coloured by the thresholds (the settings file's colour-chart setting).
    bool colorChart() const { return colorChart_; }
    void setColorChart(bool on) { colorChart_ = on; }
    // The sixteen 16 × 16 toolbar pictures.
    const QList<QPixmap>& toolbarPictures() const { return toolbarPictures_; }
    // The report actions, switched together with the tabs of pages 2 and 3.
    QList<QAction*> reportActions() const;
    void setReportActionsEnabled(bool on);

    // The settings file kelmora.ini beside the executable, read into the rooms and windows
    // that hold its values and written back from them.
    void LoadSettings();
    void SaveSettings();

    // Rebuilds table, statistics and title from the report held in memory (a build asked for
    // during a build follows it; see ReportDocument).
    void BuildReport(bool FromReading);
    // The report held in memory (records, interval, titles) and its builds.
    ReportDocument& document() const { return *document_; }
    // The table saved and printed, the charts printed and saved as pictures.
    ReportOutput& reportOutput() const { return *output_; }

    // The readings: the cycle on the meter session's thread, and whether a reading is under
    // way (taken and not yet stored, said or decided about).
    ReadingCycle& readingCycle() const { return *cycle_; }
    bool readingInProgress() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    // The actions and buttons (main_window_actions.cpp and the topic files).
    void exitProgram();
    void showAboutBox();
    void showOperationsPage();
    void showTextReportPage();
    void showGraphPage();
    void openMakersWebSite();
    void checkConnection();
    // A reading: the meter read, the record stored in the working report, the report rebuilt.
    void takeReading();
    // The reading panel's save button: the working report moves to the typed name.
    void saveWorkingReport();
    void saveTable();
    void printTable();
    void printGraph();
    void openGraphSetup();
    // "Анализ климата…": the climate of the loaded report's interval, in a dialog of its own.
    void openClimateAnalysis();
    void loadStoredReport();
    // Page 3 shown: the graph setup's axis settings applied to the charts.
    void applyGraphSetupOnShow();
    // The graph setup's "Записать графики в файл": both charts as pictures.
    void saveChartPictures();

private:
    // The window's lifecycle: made, shown for the first time, asked to close, closed, destroyed.
    void prepareOnCreation();
    void prepareOnFirstShow();
    // False when the user chose to save the readings first (the window stays open).
    bool confirmClose();
    void finishOnClose();
    void releaseOnDestruction();

    void createActions();
    void createMenuAndToolBar();
    void createPages();
    void createDocument();
    void createOutput();
    void createOperationsPage();
    void createTextReportPage();
    void createGraphPage();
    // The tab of page 3 resized: the humidity strip takes its share of the new height.
    void fitGraphPage();
    // Before the charts are printed or saved: page 3 applies the graph setup whenever it is
    // shown; while another page is current, the setup is applied now, so the output shows the
    // charts as the setup makes them (and a zoom on the shown page stays as drawn).
    void prepareChartsForOutput();

    // What becomes of a reading (main_window_reading.cpp): handled in one step without boxes;
    // boxes and questions come right after the step (afterStep).
    void readingFinished(const ReadingOutcome& outcome);
    void handleReading(const ReadingOutcome& outcome);
    void guardReading(const std::function<void()>& step);
    void readingFailed(bool automatic, const QString& reason, std::function<void()> boxes);
    void askAboutMeterChange(const MeterReading& reading);
    void storeReading(const MeterReading& reading, bool byHand);
    void readingDone();
    void afterStep(std::function<void()> what);
    // The status bar's field of automatic reading: a failure once per streak, and its end.
    void showReadingStatus(const QString& text);
    void sayAutomaticReadingBack();
    // The report pages follow the working report, unless a stored report is on show; while the
    // user's own work runs (a dialog, a printout) or a build runs, after it.
    void rebuildFromWorkingReport();
    void rebuildIfPending();
    // A handler of the user's (an action): readings that end meanwhile rebuild the pages after it.
    void runUserWork(void (MainWindow::*handler)());
    void saveSettingsBeforeFatalEnd();
    // Runs one of the program's modal dialogs with the boxes and file dialogs it opens owned
    // by it, so they stack above it.
    int execOwningItsBoxes(QDialog* dialog);

    // The windows created after the main window.
    WaitWindow* waitWindow_ = nullptr;
    AboutBox* aboutBox_ = nullptr;
    GraphSetupDialog* graphSetupDialog_ = nullptr;
    ClimateAnalysisDialog* climateAnalysisDialog_ = nullptr;  // made when first opened
    ReportSelectionDialog* reportSelectionDialog_ = nullptr;

    // --- State of the window and the program ---
    bool colorChart_ = true;            // chart points coloured by the thresholds
    std::int32_t ortanelSetting_ = 0;   // kept for the settings file only
    BrokerLink* broker_ = nullptr;      // publishes the stored readings when kelmora.ini names a broker
    GuiFatalExit fatalExit_;

    // --- Action list and its pictures ---
    QList<QPixmap> toolbarPictures_;    // the sixteen 16 × 16 toolbar pictures
    QAction* exitAction_;
    QAction* aboutAction_;
    QAction* connectAction_;
    QAction* saveAction_;
    QAction* operationsAction_;
    QAction* textReportAction_;
    QAction* graphReportAction_;
    QAction* printGraphAction_;
    QAction* printTableAction_;
    QAction* graphSetupAction_;
    QAction* loadReportAction_;
    QAction* climateAnalysisAction_;

    QMenu* fileMenu_;
    QMenu* operationsMenu_;
    QMenu* helpMenu_;
    QToolBar* toolBar_;
    QTabWidget* pages_;
    QWidget* operationsTab_;
    TextReportPage* textReportPage_;
    QWidget* graphTab_;

    // --- Page 1 "&Операции" ---
    QPushButton* connectButton_;
    QPushButton* loadReportButton_;
    QGroupBox* clockGroup_;
    AnalogClock* analogClock_;
    BevelPanel* logoPanel_;

    GraphPage* graphPage_;              // the two charts; fills graphTab_

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
    ReadingCycle* cycle_ = nullptr;
    QLabel* readingStatus_ = nullptr;  // the status bar's field of automatic reading
    bool automaticFailing_ = false;    // a streak of failed automatic readings was said
    bool showingWorkingReport_ = false; // the pages show the working report (not a stored one)
    bool rebuildPending_ = false;      // a reading's rebuild waits for the user's work or a build
    int userWork_ = 0;                 // the user's handlers under way (nested in modal loops)
    bool loadAfterReading_ = false;    // "Загрузить отчет" waits for the reading under way
    bool closeAfterReading_ = false;   // closing waits for the reading under way
    bool shown_ = false;
    bool closed_ = false;
};
