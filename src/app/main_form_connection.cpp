// TMainForm: the connection check asked for by the action, and what its result shows.
#include "app/main_form.h"
#include "device/ui/connection_panel.h"

void TMainForm::AcConnectExecute()
{
    connection_->checkConnection();
}
