// TMainForm::AcPrintReportExecute: the table printout (comes with its own behaviour; the action is wired already).
#include "app/ui/main_form.h"

void TMainForm::AcPrintReportExecute() {}
