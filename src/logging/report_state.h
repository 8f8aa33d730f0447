// The report held in memory: the records of the report loaded last, the interval and the two
// variable parts of the report title. The main window owns exactly one and passes it around.
#pragma once

#include "logging/measurement_record.h"

#include <QList>
#include <QString>

#include <span>

struct ReportState {
    // Records of the file loaded last. Implicitly shared: a build that lets window messages run
    // keeps its own snapshot, so a reading that reloads the report meanwhile cannot pull the
    // records from under it.
    QList<MeasurementRecord> ReportData;
    // Records in use at the start of ReportData (de-duplication lowers it, the list keeps its length).
    qsizetype ReportCount = 0;
    // First and last minute of the report, both included, as day counts.
    double IntervalStart = 0;
    double IntervalEnd = 0;
    QString DeviceNumberText;
    QString ReportComment;

    std::span<const MeasurementRecord> records() const
    {
        return {ReportData.constData(), static_cast<size_t>(ReportCount)};
    }
};
