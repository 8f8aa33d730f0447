// MainWindow: readings asked for by the reading panel, what becomes of each (stored, shown, or
// said), and saving the working report under the name typed there. A reading never waits in
// this thread: the meter is read on the meter session's thread, and its outcome is handled
// here in one step without boxes; what must be asked or said in a box comes after that step.
#include "app/main_window.h"

#include "device/device_texts.h"
#include "device/ui/connection_panel.h"
#include "logging/reading_cycle.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/ui/reading_panel.h"
#include "logging/working_report.h"
#include "platform/clock.h"
#include "publish/ui/broker_link.h"
#include "report/date_time.h"
#include "report/report_document.h"
#include "widgets/dialogs.h"
#include "widgets/standard_error.h"

#include <QLabel>
#include <QTimer>

void MainWindow::takeReading()
{
    // A reading already runs, or its question is open: the click (or the tick) is dropped.
    if (readingPanel_->readingRunning())
        return;
    readingPanel_->setReadingRunning(true);
    // The reading panel is on show again: the working report's readings are what the pages show.
    showingWorkingReport_ = true;
    cycle_->start(connection_->chosenPort(), connection_->usb());
}

bool MainWindow::readingInProgress() const
{
    return cycle_->running() || readingPanel_->readingRunning();
}

void MainWindow::afterStep(std::function<void()> what)
{
    QTimer::singleShot(0, this, [what = std::move(what)] { what(); });
}

void MainWindow::readingFinished(const ReadingOutcome& outcome)
{
    guardReading([&] { handleReading(outcome); });
}

void MainWindow::guardReading(const std::function<void()>& step)
{
    // Whatever fails while a reading is handled, the reading ends: the read button (and with it
    // automatic reading) must never stay off. The error is shown once the step is over.
    try {
        step();
    } catch (const std::exception& e) {
        readingDone();
        afterStep([this, text = QString::fromUtf8(e.what())] { ShowStandardError(dialogs_, text); });
    }
}

void MainWindow::handleReading(const ReadingOutcome& outcome)
{
    const bool automatic = readingPanel_->automaticReadingOn();
    const QString port = connection_->chosenPort();
    switch (outcome.kind) {
    case ReadingOutcome::Kind::Taken:
        break;
    case ReadingOutcome::Kind::CannotOpen:
        readingFailed(automatic, QStringLiteral("невозможно открыть порт %1 (%2)").arg(port, outcome.detail),
                      [this] { dialogs_.error(DeviceText::CannotOpenPort); });
        return;
    case ReadingOutcome::Kind::NoAnswer:
        readingFailed(automatic, QStringLiteral("прибор на порту %1 не отвечает").arg(port),
                      [this] { dialogs_.message(DeviceText::CannotRead); });
        return;
    case ReadingOutcome::Kind::OutOfStep:
        readingFailed(automatic, QStringLiteral("ответы прибора на порту %1 пришли не по порядку, показания отброшены").arg(port),
                      [this] { dialogs_.message(DeviceText::CannotRead); });
        return;
    case ReadingOutcome::Kind::StoppedAnswering:
        // Logging on its own goes on at the next tick; a reading asked for by hand ends the
        // program, as when the meter stops answering a connection check.
        readingFailed(automatic, QStringLiteral("прибор на порту %1 перестал отвечать").arg(port),
                      [this] { fatalExit_.deviceNotResponding(); });
        return;
    }
    const MeterReading& reading = outcome.reading;
    const QString typed = readingPanel_->typedName();
    const WorkingReport::MeterChangeOutcome change = workingReport_.meterRead(reading.serialNumber, typed);
    switch (change.change) {
    case WorkingReport::MeterChange::SameMeter:
        break;
    case WorkingReport::MeterChange::NewReportStarted:
        readingPanel_->clearTypedName();
        if (!change.keptUnder.isEmpty())
            afterStep([this, typed, kept = change.keptUnder] {
                dialogs_.message(QStringLiteral("Отчет прежнего прибора не сохранен под именем \"%1\". "
                                                "Он сохранен под именем %2")
                                     .arg(typed, ChangeFileExt(kept, QString())));
            });
        break;
    case WorkingReport::MeterChange::AnswerNeeded:
        // The reading waits for the user's answer; the read button stays off meanwhile.
        afterStep([this, reading] { guardReading([&] { askAboutMeterChange(reading); }); });
        return;
    }
    storeReading(reading, !automatic);
    readingDone();
}

void MainWindow::askAboutMeterChange(const MeterReading& reading)
{
    switch (dialogs_.warning(QStringLiteral("Изменился номер прибора. Сохранить старый отчет ?"))) {
    case Dialogs::Answer::Yes:
        // The user names and saves the old report first; this reading is not stored.
        dialogs_.message(kEnterNewReportName);
        break;
    case Dialogs::Answer::No:
        readingPanel_->clearTypedName();
        workingReport_.startNewReport(reading.serialNumber);
        storeReading(reading, !readingPanel_->automaticReadingOn());
        break;
    case Dialogs::Answer::Closed:
        workingReport_.takeMeter(reading.serialNumber);
        storeReading(reading, !readingPanel_->automaticReadingOn());
        break;
    }
    readingDone();
}

void MainWindow::readingFailed(bool automatic, const QString& reason, std::function<void()> boxes)
{
    if (automatic) {
        // Logging on its own is never held by a box: said once per streak, the next tick tries again.
        if (!automaticFailing_)
            showReadingStatus(QStringLiteral("Автоматическое считывание: %1; следующая попытка по таймеру").arg(reason));
        automaticFailing_ = true;
        readingDone();
        return;
    }
    // The read button stays off while the box is open, as during the reading itself.
    afterStep([this, boxes = std::move(boxes)] {
        boxes();
        readingDone();
    });
}

void MainWindow::sayAutomaticReadingBack()
{
    if (!automaticFailing_)
        return;
    automaticFailing_ = false;
    showReadingStatus(QStringLiteral("Автоматическое считывание: показания снова записываются"));
}

void MainWindow::showReadingStatus(const QString& text)
{
    readingStatus_->setText(QStringLiteral("%1 %2").arg(clock_.now().toString(QStringLiteral("hh:mm:ss")), text));
    readingStatus_->setToolTip(readingStatus_->text());
}

void MainWindow::storeReading(const MeterReading& reading, bool byHand)
{
    // The record; a reading that cannot be stored is said once per run of failures (in a box
    // for a reading by hand, in the status bar while automatic reading is on).
    try {
        broker_->follow(workingReport_.path());
        workingReport_.append(reading.record());
        broker_->readingStored(reading);
        appendFailing_ = false;
        sayAutomaticReadingBack();
        readingPanel_->showReading(static_cast<int16_t>(reading.humidity), static_cast<int16_t>(reading.temperature));
    } catch (const ReportFileError& e) {
        if (byHand) {
            if (!appendFailing_)
                afterStep([this, text = QStringLiteral("Показания не записаны в файл %1: %2").arg(workingReport_.path(), e.text())] {
                    dialogs_.error(text);
                });
        } else {
            if (!automaticFailing_)
                showReadingStatus(QStringLiteral("Автоматическое считывание: показания не записаны в файл %1 (%2)")
                                      .arg(workingReport_.path(), e.text()));
            automaticFailing_ = true;
        }
        appendFailing_ = true;
    }
    rebuildFromWorkingReport();
}

void MainWindow::rebuildFromWorkingReport()
{
    // A stored report the user opened stays on show; the reading is in its file all the same.
    if (!showingWorkingReport_)
        return;
    // The user's own work (a dialog, a printout, a build) finishes first with what it has.
    if (userWork_ > 0 || document_->building()) {
        rebuildPending_ = true;
        return;
    }
    rebuildPending_ = false;
    // Everything logged so far, up to now. A report that cannot be read back is said in the
    // standard error box once the step is over.
    try {
        document_->state().ReportComment.clear();
        document_->state().DeviceNumberText = readingPanel_->meterNumber();
        LoadReport(workingReport_.path(), document_->state());
        document_->state().IntervalStart = 0;
        document_->state().IntervalEnd = DateTimeToDays(clock_.now());
        BuildReport(true);
    } catch (const std::exception& e) {
        afterStep([this, text = QString::fromUtf8(e.what())] { ShowStandardError(dialogs_, text); });
    }
}

void MainWindow::rebuildIfPending()
{
    if (rebuildPending_ && userWork_ == 0 && !document_->building())
        rebuildFromWorkingReport();
}

void MainWindow::readingDone()
{
    readingPanel_->setReadingRunning(false);
    // What the user asked for meanwhile that had to wait for the reading.
    if (loadAfterReading_) {
        loadAfterReading_ = false;
        afterStep([this] { runUserWork(&MainWindow::loadStoredReport); });
    }
    if (closeAfterReading_) {
        closeAfterReading_ = false;
        afterStep([this] { close(); });
    }
}

void MainWindow::runUserWork(void (MainWindow::*handler)())
{
    struct Work {
        MainWindow& w;
        explicit Work(MainWindow& window) : w(window) { ++w.userWork_; }
        ~Work()
        {
            if (--w.userWork_ == 0 && w.rebuildPending_)
                w.afterStep([&window = w] { window.rebuildIfPending(); });
        }
    } work(*this);
    (this->*handler)();
}

void MainWindow::saveSettingsBeforeFatalEnd()
{
    // What the user set in this run (an interval just typed) is not lost with the meter.
    try {
        SaveSettings();
    } catch (const std::exception&) {
    }
}

void MainWindow::saveWorkingReport()
{
    const QString typed = readingPanel_->typedName();
    // An empty name is no name: the readings never go back to the scratch report by this button.
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
    const QString oldPath = workingReport_.path();
    if (workingReport_.saveUnder(typed))
        broker_->reportMoved(oldPath, workingReport_.path());
    readingPanel_->clearReading();
}
