// TMainForm::AcSaveExecute: the table export (comes with its own behaviour; the action is wired already).
#include "app/ui/main_form.h"

void TMainForm::AcSaveExecute() {}
