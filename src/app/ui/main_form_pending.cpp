// TMainForm: handlers that are wired to their controls and actions here and whose behaviour
// comes with another subsystem. Each moves to its subsystem's folder with its behaviour:
//   views             AcSaveExecute, AcPrintReportExecute, AcPrintGraphExecute,
//                     AcSetupGraphExecute, TabSheet3Show
#include "app/ui/main_form.h"



void TMainForm::AcSaveExecute() {}
void TMainForm::AcPrintReportExecute() {}
void TMainForm::AcPrintGraphExecute() {}
void TMainForm::AcSetupGraphExecute() {}
void TMainForm::TabSheet3Show() {}
