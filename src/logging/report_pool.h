// The report pool: the directory POOL beside the executable with <name>.dat report files,
// <name>.txt comments and <name>.tmp leftovers. Every operation takes the pool directory
// (the program passes poolDirectory()) and opens and closes its files within the call.
#pragma once

#include "logging/measurement_record.h"
#include "logging/report_state.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

// Name of the working report of a fresh run, until the user names it.
inline const QString kScratchReportName = QStringLiteral("temp");

// <pool>/<fileName>; fileName is a report file name with its extension ("A.dat").
QString ReportFilePath(const QString& poolDir, const QString& fileName);
// <pool>/<the file of repName> (ReportFileName)
QString WorkingReportPath(const QString& poolDir, const QString& repName);
// The pattern (for mkostemp) of a temporary file beside target that is replaced by it when
// complete: hidden and short whatever the target's length ("<dir>/.<16 hex digits of the
// target's name>.XXXXXX"), so a target of a 255-byte name still gets one, and its leftovers
// (a run killed midway) can be told by name.
QByteArray TemporaryPatternBeside(const QString& target);
// Removes leftovers of earlier replacements of target (temporary files of its pattern). Only
// for a caller that holds the lock under which target is replaced.
void RemoveLeftoversBeside(const QString& target);

// The file of a report name: NAME.dat whatever dots the name holds ("room.north" gives
// room.north.dat); a name that ends in ".dat" is its own file name.
QString ReportFileName(const QString& repName);

// Creates the pool directory; any failure (it exists, no permission) is ignored.
void CreatePool(const QString& poolDir);

// Deletes <repName>.dat; a failure is ignored.
void DiscardWorkingReport(const QString& poolDir, const QString& repName = kScratchReportName);

// Appends one record to <repName>.dat, creating the file when missing. The file is opened in
// append mode and locked (see ReportLock) for the append, so appends of several programs never
// overwrite each other and never go into a file that a rewrite is replacing. A file whose length
// is not a whole number of records loses its partial tail first, so the new record starts on a
// record boundary. Throws ReportFileError (with the system's reason) when a step fails.
void AppendRecord(const QString& poolDir, const QString& repName, const MeasurementRecord& record);

// Which file was loaded and how it was then: a later rewrite can tell whether it changed.
struct ReportVersion {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
};

// Loads a report file into state.ReportData / ReportCount (length div 12 records; a partial
// tail is ignored). A missing file is skipped: returns false and leaves the state as it was.
// The file is opened read-only, under the shared lock. A file larger than the computer's
// memory is refused ("... too large ..."). Throws ReportFileError when a step fails.
bool LoadReport(const QString& filePath, ReportState& state, ReportVersion* version = nullptr);

// Replaces an existing report file by the first ReportCount records of state.ReportData.
// The records go to a temporary file in the same directory, with the report's owner, group
// and permissions, that is then renamed over the report, so a crash in the middle leaves the
// old report whole; the report is locked exclusively meanwhile. A report the user may not
// write is not replaced: ReportFileError (cannot open, with the system's reason). What could not be kept
// (the owner, when the user may not give files away) is added to notes. A missing file is
// skipped (returns false). Throws ReportFileError when a step fails.
bool RewriteReport(const QString& filePath, const ReportState& state, QStringList* notes = nullptr);

// The rewrite at the end of a preparation: with the report locked exclusively,
// a file that is no longer the one loaded (`loaded`; a logger appended meanwhile) is loaded
// again and prepareAgain(state) is called, whose result says whether it needs rewriting;
// otherwise `changed` says so. So the rewrite keeps every record that is in the file when it
// commits. A missing file is skipped (returns false).
// When the file is replaced, rewritten(before, after) is called while it is still locked, with
// the records as they were in the file (`loadedRecords`, the records as loaded, or the file as
// loaded again) and as they are now.
using ReportRewritten = std::function<void(std::span<const MeasurementRecord> before, std::span<const MeasurementRecord> after)>;
bool RewritePreparedReport(const QString& filePath, ReportState& state, const ReportVersion& loaded, bool changed,
                           const std::function<bool(ReportState&)>& prepareAgain, QStringList* notes = nullptr,
                           const ReportRewritten& rewritten = {}, std::span<const MeasurementRecord> loadedRecords = {});

// Whether two paths name one file: the same path, or the same file through links.
bool SameReportFile(const QString& a, const QString& b);

// Copies <oldName>.dat to <newName>.dat (replacing it) and deletes <oldName>.dat when the copy
// succeeded. Does nothing when both names give the same file. Returns whether the records now
// live under the new name.
bool SaveReportUnderName(const QString& poolDir, const QString& oldName, const QString& newName);

// File names (with extension) of the ordinary files matching "*.dat", sorted alphabetically
// ignoring case.
QStringList ListReports(const QString& poolDir);

// A file of a report that is still there after deleting it, with the system's reason.
struct DeleteFailure {
    QString path;  // absolute
    QString reason;
};

// Deletes <base>.dat, <base>.tmp and <base>.txt in that order; reportFileName is the listed
// name with its extension. Files that do not exist are skipped silently; every file that exists
// and could not be deleted is returned, and the others are deleted all the same.
QList<DeleteFailure> DeleteReport(const QString& poolDir, const QString& reportFileName);

// The report file name with its last extension replaced (".dat" -> ".txt").
QString ChangeFileExt(const QString& fileName, const QString& newExtension);
