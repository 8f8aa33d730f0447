// TMainForm: handlers that are wired to their controls and actions here and whose behaviour
// comes with another subsystem. Each moves to its subsystem's folder with its behaviour:
//   logging           Button3Click, Timer1Timer, Switch1On, Switch1Off, SpeedButton1Click
//   report            AcLoadReportExecute, BuildReport
//   views             AcSaveExecute, AcPrintReportExecute, AcPrintGraphExecute,
//                     AcSetupGraphExecute, TabSheet3Show
#include "app/ui/main_form.h"

void TMainForm::Button3Click() {}
void TMainForm::Timer1Timer() {}
void TMainForm::Switch1On() {}
void TMainForm::Switch1Off() {}
void TMainForm::SpeedButton1Click() {}

void TMainForm::AcLoadReportExecute() {}
void TMainForm::BuildReport(bool FromReading) {}

void TMainForm::AcSaveExecute() {}
void TMainForm::AcPrintReportExecute() {}
void TMainForm::AcPrintGraphExecute() {}
void TMainForm::AcSetupGraphExecute() {}
void TMainForm::TabSheet3Show() {}
