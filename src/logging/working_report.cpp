#include "logging/working_report.h"

#include "logging/report_name.h"
#include "logging/report_pool.h"

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
