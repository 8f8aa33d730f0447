// The rules for moving the working report to a name the user typed: what the save button may
// do after asking, and what the saves that happen without it (closing the window, a change of
// meter) may do without asking.
#pragma once

#include <QString>

#include <optional>

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
