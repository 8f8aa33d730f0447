#include "app/program.h"

#include "app/about_box.h"
#include "app/main_window.h"
#include "report/report_document.h"
#include "views/ui/graph_setup_dialog.h"
#include "widgets/wait_window.h"
#include "device/serial_line.h"
#include "report/ui/report_selection_dialog.h"

#include <QGuiApplication>
#include <QScreen>

KelmoraWindows::KelmoraWindows(Clock& clock, Dialogs& dialogs, const QString& programDirectory,
                               std::unique_ptr<SerialLine> port)
{
    main_ = std::make_unique<MainWindow>(clock, dialogs, programDirectory, std::move(port));
    // The other windows belong to the main window and end with it.
    MainWindow::Windows windows;
    windows.wait = new WaitWindow(main_.get());
    windows.about = new AboutBox(dialogs, main_.get());
    windows.about->setDataDirectory(programDirectory);
    windows.graphSetup = new GraphSetupDialog(main_.get());
    windows.reportSelection =
        new ReportSelectionDialog(dialogs, main_->document().state(), windows.wait, main_->poolDirectory(), main_.get());
    main_->setWindows(windows);
}

KelmoraWindows::~KelmoraWindows() = default;

WaitWindow& KelmoraWindows::waitWindow() const
{
    return *main_->waitWindow();
}

AboutBox& KelmoraWindows::aboutBox() const
{
    return *main_->aboutBox();
}

GraphSetupDialog& KelmoraWindows::graphSetupDialog() const
{
    return *main_->graphSetupDialog();
}

ReportSelectionDialog& KelmoraWindows::reportSelectionDialog() const
{
    return *main_->reportSelectionDialog();
}

void KelmoraWindows::showMainWindow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = main_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        main_->move(frame.topLeft());
    }
    main_->show();
}
