// Whether a text typed as a report name can name a report file in the pool.
#pragma once

#include <QString>

#include <optional>

// The reason the name cannot be a report file ("" never), or nothing when it can: not empty
// after blanks are trimmed, no path separator, no control character, not "." or "..", no
// leading dot (a hidden file the report list never shows), not the scratch report's file
// (temp.dat, deleted at every close), and short enough for the file system.
std::optional<QString> ReportNameProblem(const QString& name);
