// TMainForm::AcPrintGraphExecute: the graph printout (comes with its own behaviour; the action is wired already).
#include "app/ui/main_form.h"

void TMainForm::AcPrintGraphExecute() {}
