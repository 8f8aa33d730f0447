// The working report: the report the readings go to, scratch until the user saves it under a
// name. The rules for moving it to a name the user typed: what the save button may do after
// asking, and what the saves that happen without it (closing the window, a change of meter)
// may do without asking.
#pragma once

#include "logging/report_pool.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the user is told when the readings are to be kept under a new name.
inline const QString kEnterNewReportName = QStringLiteral("Введите новое имя отчета и нажмите кнопку Сохранить");

// What saving the working report under a typed name would do.
struct SaveTarget {
    std::optional<QString> problem;  // why the typed text cannot name a report; nothing when it can
    bool sameFile = false;           // the typed name gives the working report's own file
    bool replacesReport = false;     // another report of that name exists and would be replaced
};

// Looks at the typed name (not empty) against the pool and the working report's current name.
SaveTarget CheckSaveTarget(const QString& poolDir, const QString& currentName, const QString& typedName);

// The save that nobody confirmed: the working report moves to the typed name only when the
// name passes the check and no other report of that name exists, so it never replaces a
// report and never writes outside the pool. True when the readings now live under the name.
bool SaveUnderTypedName(const QString& poolDir, const QString& currentName, const QString& typedName);

// The report the readings go to and the meter they come from.
class WorkingReport {
public:
    explicit WorkingReport(QString poolDir) : poolDir_(std::move(poolDir)) {}

    const QString& poolDirectory() const { return poolDir_; }
    // kScratchReportName until the report is saved under a name.
    const QString& name() const { return name_; }
    QString path() const { return WorkingReportPath(poolDir_, name_); }
    // The serial number of the meter the readings come from; 0 before the first reading.
    std::int32_t meter() const { return meter_; }

    // Back to a scratch report with no meter (the window's start).
    void reset();

    // Stores a reading's record (ReportFileError when it cannot).
    void append(const MeasurementRecord& record) const;

    // The save button, after CheckSaveTarget and the user's consent: the report moves to the
    // typed name, or back to the scratch report when nothing is typed. True when a file moved.
    bool saveUnder(const QString& typedName);

    // A reading came from meter `serial`. With a change of meter the previous meter's readings
    // are decided about first: under a typed name they are kept (a scratch report moves to that
    // name, or to a recovery name when the name cannot take it) and a new scratch report starts;
    // with nothing typed the user is asked, and the meter stays the old one until the answer.
    enum class MeterChange {
        SameMeter,        // the first meter, or the one read before
        NewReportStarted, // the typed name is to be cleared
        AnswerNeeded,     // "Изменился номер прибора. Сохранить старый отчет ?"
    };
    struct MeterChangeOutcome {
        MeterChange change = MeterChange::SameMeter;
        QString keptUnder;  // the recovery file name when the typed name could not take them
    };
    MeterChangeOutcome meterRead(std::int32_t serial, const QString& typedName);
    // The user's answers to that question: "Нет" drops the previous meter's scratch readings
    // and starts a new scratch report; closing the box only takes the new meter on.
    void startNewReport(std::int32_t serial);
    void takeMeter(std::int32_t serial) { meter_ = serial; }

    // Whether closing the window must ask "Сохранить отчет ?": whenever the scratch report holds
    // readings that no save has kept. Not when the readings are in a named report already, and
    // not when a name typed but never saved takes them now (with the save button's name check,
    // never over another report).
    bool mustAskBeforeClosing(const QString& typedName);
    // The scratch report holds at least one record.
    bool holdsUnsavedReadings() const;

private:
    // A name typed but never saved takes the scratch readings; false when it cannot.
    bool keepScratchUnder(const QString& typedName);

    QString poolDir_;
    QString name_ = kScratchReportName;
    std::int32_t meter_ = 0;
};
