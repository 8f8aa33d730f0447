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
    main_->WaitForm = new WaitWindow(main_.get());
    main_->FirmBox = new AboutBox(dialogs, main_.get());
    main_->FirmBox->setDataDirectory(programDirectory);
    main_->SelectForm = new GraphSetupDialog(main_.get(), *main_->Panel5);
    QObject::connect(main_->SelectForm, &GraphSetupDialog::picturesRequested, main_.get(), &MainWindow::SaveChartPicturesClick);
    main_->RepselForm = new ReportSelectionDialog(dialogs, main_->document().state(), main_->WaitForm, main_->poolDirectory(), main_.get());
}

KelmoraWindows::~KelmoraWindows() = default;

WaitWindow& KelmoraWindows::WaitForm() const
{
    return *main_->WaitForm;
}

AboutBox& KelmoraWindows::FirmBox() const
{
    return *main_->FirmBox;
}

GraphSetupDialog& KelmoraWindows::SelectForm() const
{
    return *main_->SelectForm;
}

ReportSelectionDialog& KelmoraWindows::RepselForm() const
{
    return *main_->RepselForm;
}

void KelmoraWindows::ShowMainForm()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = main_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        main_->move(frame.topLeft());
    }
    main_->show();
}
