// The scratch report of a run that ended without the close question (the meter stopped
// answering, a crash, a power cut) is kept under a recovery name instead of being discarded.
#pragma once

#include <QString>

// When <pool>/temp.dat holds at least one record, renames it to
// temp_YYYY-MM-DD_hh-mm.dat after its last record (a free name: _2, _3 … appended when taken)
// and returns the new file name; otherwise deletes it (ignoring errors) and returns nothing.
QString KeepOrDiscardScratchReport(const QString& poolDir);
