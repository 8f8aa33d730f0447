// The report's ways out of the window: the table saved to a file the user chooses (text, HTML,
// a workbook, or the readings as CSV), the table printed in pages of 50 rows, the charts
// printed on one page, and the charts saved as pictures. One printer serves every printout of
// the run, with the user's choices on it.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

#include <functional>
#include <memory>

class Clock;
class Dialogs;
class GraphPage;
class QPrinter;
class TextReportPage;
class WaitProgress;
struct ReportState;

class ReportOutput : public QObject {
    Q_OBJECT
public:
    // report: the records the CSV form writes; prepareCharts: brings the charts to the graph
    // setup before they are printed or saved.
    ReportOutput(Dialogs& dialogs, Clock& clock, QString programDirectory, const TextReportPage& textPage,
                 GraphPage& graphPage, const ReportState& report, std::function<void()> prepareCharts,
                 QObject* parent = nullptr);
    ~ReportOutput() override;

    // The wait window of a save (may be null: none).
    void setWaitWindow(WaitProgress* wait) { wait_ = wait; }

    void saveTable();
    void printTable();
    void printGraph();
    void saveChartPictures();

    // The printer of the run (null before the first printout), or another one to use.
    QPrinter* printer() const { return printer_.get(); }
    void usePrinter(std::shared_ptr<QPrinter> printer) { printer_ = std::move(printer); }
    // The maker's logo on the graph printout.
    const QPixmap& logo() const { return logo_; }

private:
    Dialogs& dialogs_;
    Clock& clock_;
    QString programDirectory_;
    const TextReportPage& textPage_;
    GraphPage& graphPage_;
    const ReportState& report_;
    std::function<void()> prepareCharts_;
    WaitProgress* wait_ = nullptr;
    std::shared_ptr<QPrinter> printer_;
    int fromPage_ = 1;         // the table's from-page chosen last, kept also across jobs of all pages
    int lastSaveEntry_ = 1;    // the save dialog's entry chosen last
    QPixmap logo_;
};
