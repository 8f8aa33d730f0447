// TMainForm: the reading (Button3), automatic reading (Switch1, Timer1) and saving the working
// report under a name (SpeedButton1).
#include "app/clock.h"
#include "app/ui/dialogs.h"
#include "app/ui/main_form.h"
#include "app/ui/on_off_switch.h"
#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/serial_line.h"
#include "logging/meter_reading.h"
#include "logging/report_file_error.h"
#include "logging/report_name.h"
#include "logging/report_pool.h"
#include "report/date_time.h"
#include "report/number_format.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString NoValue = QStringLiteral("--.-");
const QString EnterNewName = QStringLiteral("Введите новое имя отчета и нажмите кнопку Сохранить");
}  // namespace

void TMainForm::Button3Click()
{
    // 1. A reading already runs (the settling wait lets clicks and ticks through).
    if (!Button3->isEnabled())
        return;
    Button3->setEnabled(false);
    // 2-4.
    OpenSelectedPort();
    if (!ComPort->Active()) {
        Button3->setEnabled(true);
        return;
    }
    ComPort->SetDTR();
    ComPort->SetRTS();
    settleWait(clock(), [] { QCoreApplication::processEvents(); });
    // 5-7.
    const std::optional<MeterReading> reading = ReadMeter(Protocol(), clock(), usb->isChecked());
    if (!reading) {
        dialogs().Message(DeviceText::CannotRead);
    } else {
        const std::int32_t serial = reading->serialNumber;
        // 8-9. A change of meter.
        if (lastDev == 0)
            lastDev = serial;
        if (lastDev != serial) {
            if (!repNameEdit->text().isEmpty()) {
                if (repName == QLatin1String("temp")) {
                    // A name typed but never saved: the old meter's readings are kept under
                    // it before the new meter starts a scratch report of its own.
                    SaveReportUnderName(poolDirectory(), repName, repNameEdit->text());
                }
                repNameEdit->clear();
                repName = QStringLiteral("temp");
                DiscardWorkingReport(poolDirectory());
            } else {
                switch (dialogs().Warning(QStringLiteral("Изменился номер прибора. Сохранить старый отчет ?"))) {
                case Dialogs::Answer::Yes:
                    // The user names and saves the old report first; the port stays open.
                    dialogs().Message(EnterNewName);
                    Button3->setEnabled(true);
                    return;
                case Dialogs::Answer::No:
                    repNameEdit->clear();
                    repName = QStringLiteral("temp");
                    DiscardWorkingReport(poolDirectory());
                    break;
                case Dialogs::Answer::Closed:
                    break;
                }
            }
            lastDev = serial;
        }
        // 10-11. The record; a reading that cannot be stored is said once per run of failures.
        try {
            AppendRecord(poolDirectory(), repName, reading->record());
            appendFailing_ = false;
            Label1->setText(DisplayValueText(reading->humidity));
            Label2->setText(DisplayValueText(static_cast<int16_t>(reading->temperature)));
        } catch (const ReportFileError& e) {
            if (!appendFailing_)
                dialogs().Error(QStringLiteral("Показания не записаны в файл %1: %2")
                                    .arg(WorkingReportPath(poolDirectory(), repName), e.text()));
            appendFailing_ = true;
        }
        // 12. Everything logged so far, up to now.
        try {
            Report.ReportComment.clear();
            Report.DeviceNumberText = Label8->text();
            LoadReport(WorkingReportPath(poolDirectory(), repName), Report);
            Report.IntervalStart = 0;
            Report.IntervalEnd = DateTimeToDays(clock().now());
            BuildReport(true);
        } catch (...) {
            // A report that cannot be read back is shown in the error box; the reading still
            // ends properly and the button is usable again.
            endSession(*ComPort);
            Button3->setEnabled(true);
            ClosePort();
            throw;
        }
    }
    // 13-14.
    endSession(*ComPort);
    Button3->setEnabled(true);
    ClosePort();
}

void TMainForm::Timer1Timer()
{
    Button3->click();
}

void TMainForm::Switch1On()
{
    Button3->click();
    bool isNumber = false;
    int seconds = Edit5->text().toInt(&isNumber);
    if (!isNumber || seconds < 0)
        seconds = 60;  // a negative interval counts as the default minute
    // Interval 0: the timer is on but never ticks (a Qt timer of 0 would fire continuously).
    Timer1.stop();
    if (seconds > 0)
        Timer1.start(seconds * 1000);
}

void TMainForm::Switch1Off()
{
    Timer1.stop();
}

void TMainForm::SpeedButton1Click()
{
    const QString typed = repNameEdit->text();
    if (!typed.isEmpty()) {
        if (const auto problem = ReportNameProblem(typed)) {
            dialogs().Error(QStringLiteral("\"%1\" не может быть именем отчета: %2").arg(typed, *problem));
            return;
        }
    }
    const QString oldName = repName;
    repName = typed.isEmpty() ? QStringLiteral("temp") : typed;
    SaveReportUnderName(poolDirectory(), oldName, repName);
    Label1->setText(NoValue);
    Label2->setText(NoValue);
}
