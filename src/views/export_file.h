// Writing an export file (text, HTML, workbook) so that a failure never destroys the previous
// export of that name: the bytes go to a temporary file in the target's directory, which
// replaces the target only when it is complete.
#pragma once

#include "logging/report_file_error.h"

#include <QIODevice>
#include <QString>

#include <QByteArray>

#include <cstring>
#include <functional>

// An export the writer refuses for what it would have to hold (not for a failing file); its
// text reaches the user as it is.
class ExportRefused : public ReportFileError {
public:
    using ReportFileError::ReportFileError;
};

// The file name that stands for standard output (the command line's "--out -").
inline const QString kStandardOutputName = QStringLiteral("-");

// Calls write(device) on the temporary file and renames it over fileName (kStandardOutputName:
// straight to standard output). Throws
// ReportFileError "Cannot create file "<path>". <reason>" when the file cannot be made and
// "Cannot write file "<path>". <reason>" when writing or replacing fails (the reason is the
// system's, such as "No space left on device"); the old file is then left as it was. An
// ExportRefused from write passes unchanged, the old file left as well.
void WriteExportFile(const QString& fileName, const std::function<void(QIODevice&)>& write);

// Bytes on their way to an export file: collected in one buffer of a megabyte and handed to
// the device in pieces that size, so an export of a million rows makes a few hundred writes
// and never holds its file in memory. Throws ReportFileError with the device's reason when a
// write falls short. Whatever is still collected is lost unless flush() is called.
class ExportStream {
public:
    explicit ExportStream(QIODevice& device, qsizetype capacity = qsizetype(1) << 20);

    // Room for n more bytes (n at most the capacity); commit(m) keeps the first m written there.
    char* room(qsizetype n)
    {
        if (used_ + n > buffer_.size())
            flush();
        return buffer_.data() + used_;
    }
    void commit(qsizetype n) { used_ += n; }

    void write(const void* data, qsizetype n)
    {
        if (n > buffer_.size()) {
            flush();
            writeToDevice(static_cast<const char*>(data), n);
            return;
        }
        std::memcpy(room(n), data, std::size_t(n));
        used_ += n;
    }
    void zeros(qsizetype n);

    void flush();

private:
    void writeToDevice(const char* data, qsizetype n);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype used_ = 0;
};
