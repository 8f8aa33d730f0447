// TMainForm: the reading (Button3), automatic reading (Switch1, Timer1) and saving the working
// report under a name (SpeedButton1).
#include "platform/clock.h"
#include "widgets/dialogs.h"
#include "app/main_form.h"
#include "widgets/on_off_switch.h"
#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/serial_line.h"
#include "logging/meter_reading.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/working_report.h"
#include "publish/ui/broker_link.h"
#include "report/date_time.h"
#include "report/number_format.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString EnterNewName = QStringLiteral("Введите новое имя отчета и нажмите кнопку Сохранить");
}  // namespace

void TMainForm::Button3Click()
{
    // A reading already runs (the settling wait lets clicks and ticks through).
    if (!Button3->isEnabled())
        return;
    Button3->setEnabled(false);
    OpenSelectedPort();
    if (!ComPort->Active()) {
        Button3->setEnabled(true);
        return;
    }
    // From here on every way out ends the session, enables the button and closes the port: a
    // meter pulled out mid-reading must not leave a dead port open or the button disabled, so
    // the next reading (or the next timer tick) starts clean.
    ReadingEnd end = ReadingEnd::CloseSession;
    try {
        end = readOnOpenPort();
    } catch (...) {
        Button3->setEnabled(true);
        endSessionAndClosePort(false);
        throw;
    }
    // The button is usable again before the port closes; nothing runs in between.
    Button3->setEnabled(true);
    if (end != ReadingEnd::KeepPortOpen)
        endSessionAndClosePort(end == ReadingEnd::CloseSession);
}

TMainForm::ReadingEnd TMainForm::readOnOpenPort()
{
    ComPort->SetDTR();
    ComPort->SetRTS();
    settleWait(clock(), [] { QCoreApplication::processEvents(); });
    const std::optional<MeterReading> reading = ReadMeter(Protocol(), clock(), usb->isChecked());
    if (!reading) {
        dialogs().Message(DeviceText::CannotRead);
        return ReadingEnd::CloseSessionFailureShown;
    }
    const std::int32_t serial = reading->serialNumber;
    // A change of meter: the previous meter's readings are decided about first.
    const QString typed = repNameEdit->text();
    const WorkingReport::MeterChangeOutcome change = workingReport_.meterRead(serial, typed);
    switch (change.change) {
    case WorkingReport::MeterChange::SameMeter:
        break;
    case WorkingReport::MeterChange::NewReportStarted:
        if (!change.keptUnder.isEmpty())
            dialogs().Message(QStringLiteral("Отчет прежнего прибора не сохранен под именем \"%1\". "
                                             "Он сохранен под именем %2")
                                  .arg(typed, ChangeFileExt(change.keptUnder, QString())));
        repNameEdit->clear();
        break;
    case WorkingReport::MeterChange::AnswerNeeded:
        switch (dialogs().Warning(QStringLiteral("Изменился номер прибора. Сохранить старый отчет ?"))) {
        case Dialogs::Answer::Yes:
            // The user names and saves the old report first; the port stays open.
            dialogs().Message(EnterNewName);
            return ReadingEnd::KeepPortOpen;
        case Dialogs::Answer::No:
            repNameEdit->clear();
            workingReport_.startNewReport(serial);
            break;
        case Dialogs::Answer::Closed:
            workingReport_.takeMeter(serial);
            break;
        }
        break;
    }
    // The record; a reading that cannot be stored is said once per run of failures.
    try {
        Broker->follow(workingReport_.path());
        workingReport_.append(reading->record());
        Broker->readingStored(reading->serialNumber);
        appendFailing_ = false;
        Label1->setText(DisplayValueText(reading->humidity));
        Label2->setText(DisplayValueText(static_cast<int16_t>(reading->temperature)));
        readingOnShow_ = true;
    } catch (const ReportFileError& e) {
        if (!appendFailing_)
            dialogs().Error(QStringLiteral("Показания не записаны в файл %1: %2").arg(workingReport_.path(), e.text()));
        appendFailing_ = true;
    }
    // Everything logged so far, up to now. A report that cannot be read back reaches the
    // standard error box; the reading still ends properly and the button is usable again.
    Report.ReportComment.clear();
    Report.DeviceNumberText = meterNumberText_;
    LoadReport(workingReport_.path(), Report);
    Report.IntervalStart = 0;
    Report.IntervalEnd = DateTimeToDays(clock().now());
    BuildReport(true);
    return ReadingEnd::CloseSession;
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
        const SaveTarget target = CheckSaveTarget(poolDirectory(), workingReport_.name(), typed);
        if (target.problem) {
            dialogs().Error(QStringLiteral("\"%1\" не может быть именем отчета: %2").arg(typed, *target.problem));
            return;
        }
        // Another report of that name would be replaced: only when the user says so.
        if (target.replacesReport
            && dialogs().Warning(QStringLiteral("Отчет \"%1\" уже существует. Заменить его ?").arg(typed))
                   != Dialogs::Answer::Yes)
            return;
    }
    const QString oldPath = workingReport_.path();
    if (workingReport_.saveUnder(typed))
        Broker->reportMoved(oldPath, workingReport_.path());
    Label1->setText(kNoReadingText);
    Label2->setText(kNoReadingText);
    readingOnShow_ = false;
}
