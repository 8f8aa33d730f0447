// The error a report-pool operation raises when a file step fails; its text is what the
// standard error box shows.
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

class ReportFileError : public std::exception {
public:
    explicit ReportFileError(QString text) : text_(std::move(text)), utf8_(text_.toUtf8()) {}

    const QString& text() const { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    // "Cannot open file "<path>". <reason>"
    static ReportFileError cannotOpen(const QString& path, const QString& reason);
    // "Cannot create file "<path>". <reason>"
    static ReportFileError cannotCreate(const QString& path, const QString& reason);

private:
    QString text_;
    QByteArray utf8_;
};
