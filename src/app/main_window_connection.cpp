// MainWindow: the connection check asked for by the action, and what its result shows.
#include "app/main_window.h"
#include "device/ui/connection_panel.h"

void MainWindow::checkConnection()
{
    connection_->checkConnection();
}
