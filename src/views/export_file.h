// Writing an export file (text, HTML, workbook) so that a failure never destroys the previous
// export of that name: the bytes go to a temporary file in the target's directory, which
// replaces the target only when it is complete.
#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

// Calls write(device) on the temporary file and renames it over fileName. Throws
// ReportFileError "Cannot create file "<path>". <reason>" when the file cannot be made and
// "Cannot write file "<path>". <reason>" when writing or replacing fails (the reason is the
// system's, such as "No space left on device"); the old file is then left as it was.
void WriteExportFile(const QString& fileName, const std::function<void(QIODevice&)>& write);
