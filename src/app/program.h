// The program's windows in their start-up order: the main window (its creation handler runs
// at once), then the wait window, the about box, the graph setup dialog and the report
// selection dialog. All live until the main window is destroyed.
#pragma once

#include "device/serial_line.h"

#include <QString>

#include <memory>

class Clock;
class Dialogs;
class SerialLine;
class AboutBox;
class MainWindow;
class ReportSelectionDialog;
class GraphSetupDialog;
class WaitWindow;

class KelmoraWindows {
public:
    // programDirectory: the data directory that holds POOL and kelmora.ini (dataDirectory()).
    KelmoraWindows(Clock& clock, Dialogs& dialogs, const QString& programDirectory,
                   std::unique_ptr<SerialLine> port = nullptr);
    ~KelmoraWindows();

    MainWindow& mainWindow() const { return *main_; }
    WaitWindow& waitWindow() const;
    AboutBox& aboutBox() const;
    GraphSetupDialog& graphSetupDialog() const;
    ReportSelectionDialog& reportSelectionDialog() const;

    // Shows the main window centred on the screen; its show handler loads the settings.
    void showMainWindow();

private:
    std::unique_ptr<MainWindow> main_;
};
