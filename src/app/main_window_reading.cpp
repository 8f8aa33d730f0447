// MainWindow: a reading asked for by the reading panel, and saving the working report under the
// name typed there.
#include "app/main_window.h"

#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/ui/connection_panel.h"
#include "logging/meter_reading.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/ui/reading_panel.h"
#include "logging/working_report.h"
#include "platform/clock.h"
#include "publish/ui/broker_link.h"
#include "report/date_time.h"
#include "report/report_document.h"
#include "widgets/dialogs.h"

#include <QCoreApplication>

void MainWindow::takeReading()
{
    // A reading already runs (the settling wait lets clicks and ticks through).
    if (readingPanel_->readingRunning())
        return;
    readingPanel_->setReadingRunning(true);
    if (!connection_->openChosenPort()) {
        readingPanel_->setReadingRunning(false);
        return;
    }
    // From here on every way out ends the session, enables the button and closes the port: a
    // meter pulled out mid-reading must not leave a dead port open or the button disabled, so
    // the next reading (or the next timer tick) starts clean.
    ReadingEnd end = ReadingEnd::CloseSession;
    try {
        end = readOnOpenPort();
    } catch (...) {
        readingPanel_->setReadingRunning(false);
        connection_->endSessionAndClosePort(false);
        throw;
    }
    // The button is usable again before the port closes; nothing runs in between.
    readingPanel_->setReadingRunning(false);
    if (end != ReadingEnd::KeepPortOpen)
        connection_->endSessionAndClosePort(end == ReadingEnd::CloseSession);
}

MainWindow::ReadingEnd MainWindow::readOnOpenPort()
{
    connection_->line().SetDTR();
    connection_->line().SetRTS();
    settleWait(clock(), [] { QCoreApplication::processEvents(); });
    const std::optional<MeterReading> reading = ReadMeter(connection_->protocol(), clock(), connection_->usb());
    if (!reading) {
        dialogs().message(DeviceText::CannotRead);
        return ReadingEnd::CloseSessionFailureShown;
    }
    const std::int32_t serial = reading->serialNumber;
    // A change of meter: the previous meter's readings are decided about first.
    const QString typed = readingPanel_->typedName();
    const WorkingReport::MeterChangeOutcome change = workingReport_.meterRead(serial, typed);
    switch (change.change) {
    case WorkingReport::MeterChange::SameMeter:
        break;
    case WorkingReport::MeterChange::NewReportStarted:
        if (!change.keptUnder.isEmpty())
            dialogs().message(QStringLiteral("Отчет прежнего прибора не сохранен под именем \"%1\". "
                                             "Он сохранен под именем %2")
                                  .arg(typed, ChangeFileExt(change.keptUnder, QString())));
        readingPanel_->clearTypedName();
        break;
    case WorkingReport::MeterChange::AnswerNeeded:
        switch (dialogs().warning(QStringLiteral("Изменился номер прибора. Сохранить старый отчет ?"))) {
        case Dialogs::Answer::Yes:
            // The user names and saves the old report first; the port stays open.
            dialogs().message(kEnterNewReportName);
            return ReadingEnd::KeepPortOpen;
        case Dialogs::Answer::No:
            readingPanel_->clearTypedName();
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
        broker_->follow(workingReport_.path());
        workingReport_.append(reading->record());
        broker_->readingStored(reading->serialNumber);
        appendFailing_ = false;
        readingPanel_->showReading(reading->humidity, static_cast<int16_t>(reading->temperature));
    } catch (const ReportFileError& e) {
        if (!appendFailing_)
            dialogs().error(QStringLiteral("Показания не записаны в файл %1: %2").arg(workingReport_.path(), e.text()));
        appendFailing_ = true;
    }
    // Everything logged so far, up to now. A report that cannot be read back reaches the
    // standard error box; the reading still ends properly and the button is usable again.
    document_->state().ReportComment.clear();
    document_->state().DeviceNumberText = readingPanel_->meterNumber();
    LoadReport(workingReport_.path(), document_->state());
    document_->state().IntervalStart = 0;
    document_->state().IntervalEnd = DateTimeToDays(clock().now());
    BuildReport(true);
    return ReadingEnd::CloseSession;
}

void MainWindow::saveWorkingReport()
{
    const QString typed = readingPanel_->typedName();
    if (!typed.isEmpty()) {
        const SaveTarget target = CheckSaveTarget(poolDirectory(), workingReport_.name(), typed);
        if (target.problem) {
            dialogs().error(QStringLiteral("\"%1\" не может быть именем отчета: %2").arg(typed, *target.problem));
            return;
        }
        // Another report of that name would be replaced: only when the user says so.
        if (target.replacesReport
            && dialogs().warning(QStringLiteral("Отчет \"%1\" уже существует. Заменить его ?").arg(typed))
                   != Dialogs::Answer::Yes)
            return;
    }
    const QString oldPath = workingReport_.path();
    if (workingReport_.saveUnder(typed))
        broker_->reportMoved(oldPath, workingReport_.path());
    readingPanel_->clearReading();
}
