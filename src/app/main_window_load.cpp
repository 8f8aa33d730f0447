// MainWindow::loadStoredReport: opening a stored report — the report actions and automatic
// reading go off, the selection dialog picks and prepares a report and its interval, and on
// confirmation the report is loaded, built and its pages shown.
#include "app/main_window.h"

#include "logging/report_pool.h"
#include "logging/ui/reading_panel.h"
#include "report/comma_text.h"
#include "report/report_document.h"
#include "report/ui/report_selection_dialog.h"


void MainWindow::loadStoredReport()
{
    // The report actions, the reading panel and automatic reading go off: nothing may append
    // to a report while the dialog prepares or deletes one.
    setReportActionsEnabled(false);
    readingPanel_->hide();
    readingPanel_->stopAutomaticReading();
    // From now on the pages are the stored report's: a reading that ends later is stored in the
    // working report and leaves them alone.
    showingWorkingReport_ = false;
    rebuildPending_ = false;
    // A reading under way ends first (it may append to the very report the dialog prepares);
    // the dialog opens right after it.
    if (readingInProgress()) {
        loadAfterReading_ = true;
        return;
    }

    // The selection dialog; its questions and boxes stack above it.
    if (execOwningItsBoxes(reportSelectionDialog_) != QDialog::Accepted)
        return;
    // With no report in the pool there is nothing to load: the report actions stay off as
    // after a cancelled dialog.
    if (!reportSelectionDialog_->poolHasReports())
        return;

    // The comment as one comma text; the untouched placeholder means no comment.
    static const QString placeholder = CommaText({ReportSelectionDialog::commentPlaceholder()});
    const QString comment = CommaText(reportSelectionDialog_->commentLines());
    document_->state().ReportComment = comment == placeholder ? QString() : comment;

    // The device number from the chosen file name; the dialog prepared the file, so it is read
    // once more as it now stands.
    const QString item = reportSelectionDialog_->selectedReport();
    document_->state().DeviceNumberText = item.left(item.size() - 4);
    LoadReport(ReportFilePath(poolDirectory(), item), document_->state());

    // The report built for both pages, and its actions on again.
    BuildReport(false);
    setReportActionsEnabled(true);
}
