// Whether a text typed as a report name can name a report file in the pool.
#pragma once

#include <QString>

#include <optional>

// Why a name cannot name a report file: empty after blanks are trimmed, a path separator, a
// control character, "." or "..", a leading dot (a hidden file the report list never shows),
// the scratch report's file (temp.dat, deleted at every close), too long for the file system.
enum class ReportNameFault { Empty, Separator, ControlCharacter, DotName, LeadingDot, ScratchReport, TooLong };

// The fault of the name, or nothing when it can name a report file.
std::optional<ReportNameFault> ReportNameFaultOf(const QString& name);

// The window's words for the fault of the name, or nothing when it can name a report file.
std::optional<QString> ReportNameProblem(const QString& name);
