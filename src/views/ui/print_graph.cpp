// TMainForm::AcPrintGraphExecute: both charts on one printed page, humidity above temperature,
// with the maker's logo over the top-left corner.
#include "app/main_form.h"

#include "widgets/dialogs.h"
#include "views/ui/print_job.h"
#include "views/ui/graph_charts.h"

#include <QPrinter>

void TMainForm::AcPrintGraphExecute()
{
    // The same printer the table's print dialog uses, for the whole run.
    QPrinter& printer = ProgramPrinter(PrintDialog1);
    if (dialogs().PrintersInstalled()) {
        // Confirmed or cancelled, printing goes on with the printer as the dialog leaves it.
        dialogs().PrinterSetup(printer);
    } else {
        // Without a printer only a PDF file can take the page: the dialog offers one, and
        // cancelling it leaves nothing to print on.
        dialogs().Message(NoPrinterText());
        if (!dialogs().Print(printer, 0, 0, true))
            return;
    }
    printer.setDocName(QString());
    PrepareChartsForOutput();

    PrintCharts(printer, *Chart1, *Chart2, Image1);
}
