// TMainForm: the graph setup action and the showing of the graph page.
#include "app/ui/main_form.h"

void TMainForm::AcSetupGraphExecute() {}
void TMainForm::TabSheet3Show() {}
