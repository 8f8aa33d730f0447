#include "logging/working_report.h"

#include "logging/report_name.h"
#include "logging/report_pool.h"
#include "logging/scratch_recovery.h"

#include <QFileInfo>

SaveTarget CheckSaveTarget(const QString& poolDir, const QString& currentName, const QString& typedName)
{
    SaveTarget target;
    target.problem = ReportNameProblem(typedName);
    if (target.problem)
        return target;
    const QString typed = WorkingReportPath(poolDir, typedName);
    target.sameFile = SameReportFile(WorkingReportPath(poolDir, currentName), typed);
    target.replacesReport = !target.sameFile && QFileInfo::exists(typed);
    return target;
}

bool SaveUnderTypedName(const QString& poolDir, const QString& currentName, const QString& typedName)
{
    const SaveTarget target = CheckSaveTarget(poolDir, currentName, typedName);
    if (target.problem || target.replacesReport)
        return false;
    return SaveReportUnderName(poolDir, currentName, typedName);
}

void WorkingReport::reset()
{
    name_ = kScratchReportName;
    meter_ = 0;
}

void WorkingReport::append(const MeasurementRecord& record) const
{
    AppendRecord(poolDir_, name_, record);
}

bool WorkingReport::saveUnder(const QString& typedName)
{
    const QString oldName = name_;
    name_ = typedName.isEmpty() ? kScratchReportName : typedName;
    return SaveReportUnderName(poolDir_, oldName, name_);
}

bool WorkingReport::keepScratchUnder(const QString& typedName)
{
    return SaveUnderTypedName(poolDir_, name_, typedName);
}

WorkingReport::MeterChangeOutcome WorkingReport::meterRead(std::int32_t serial, const QString& typedName)
{
    MeterChangeOutcome outcome;
    if (meter_ == 0)
        meter_ = serial;
    if (meter_ == serial)
        return outcome;
    if (typedName.isEmpty()) {
        outcome.change = MeterChange::AnswerNeeded;
        return outcome;
    }
    // The old meter's readings are never thrown away: a scratch report the typed name cannot
    // take (not a usable name, or another report has it) is kept under a recovery name.
    if (name_ == kScratchReportName && !keepScratchUnder(typedName))
        outcome.keptUnder = KeepOrDiscardScratchReport(poolDir_);
    startNewReport(serial);
    outcome.change = MeterChange::NewReportStarted;
    return outcome;
}

void WorkingReport::startNewReport(std::int32_t serial)
{
    name_ = kScratchReportName;
    DiscardWorkingReport(poolDir_);
    meter_ = serial;
}

bool WorkingReport::holdsUnsavedReadings() const
{
    return name_ == kScratchReportName && QFileInfo(path()).size() >= kRecordSize;
}

bool WorkingReport::mustAskBeforeClosing(const QString& typedName)
{
    if (!holdsUnsavedReadings())
        return false;
    return typedName.isEmpty() || !keepScratchUnder(typedName);
}
