#include "app/program.h"

#include "app/firm_box.h"
#include "app/main_form.h"
#include "report/report_document.h"
#include "views/ui/select_form.h"
#include "widgets/wait_form.h"
#include "device/serial_line.h"
#include "report/ui/repsel_form.h"

#include <QGuiApplication>
#include <QScreen>

KelmoraWindows::KelmoraWindows(Clock& clock, Dialogs& dialogs, const QString& programDirectory,
                               std::unique_ptr<SerialLine> port)
{
    main_ = std::make_unique<TMainForm>(clock, dialogs, programDirectory, std::move(port));
    // The other windows belong to the main window and end with it.
    main_->WaitForm = new TWaitForm(main_.get());
    main_->FirmBox = new TFirmBox(dialogs, main_.get());
    main_->FirmBox->setDataDirectory(programDirectory);
    main_->SelectForm = new TSelectForm(main_.get(), *main_->Panel5);
    QObject::connect(main_->SelectForm, &TSelectForm::picturesRequested, main_.get(), &TMainForm::SaveChartPicturesClick);
    main_->RepselForm = new TRepselForm(dialogs, main_->document().state(), main_->WaitForm, main_->poolDirectory(), main_.get());
}

KelmoraWindows::~KelmoraWindows() = default;

TWaitForm& KelmoraWindows::WaitForm() const
{
    return *main_->WaitForm;
}

TFirmBox& KelmoraWindows::FirmBox() const
{
    return *main_->FirmBox;
}

TSelectForm& KelmoraWindows::SelectForm() const
{
    return *main_->SelectForm;
}

TRepselForm& KelmoraWindows::RepselForm() const
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
