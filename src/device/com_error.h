// ComError: the failure of a serial-line operation, with the system's error number or 0.
#pragma once

#include <QString>

#include <stdexcept>

class ComError : public std::runtime_error {
public:
    ComError(const QString& message, int errorCode = 0)
        : std::runtime_error(message.toStdString()), message_(message), errorCode_(errorCode) {}

    const QString& message() const { return message_; }
    int ErrorCode() const { return errorCode_; }

private:
    QString message_;
    int errorCode_;
};

// The fixed texts of serial-line failures.
namespace ComErrorText {
inline const QString ClosedPort = QStringLiteral("Can't perform this operation on a closed port");
inline const QString OpenPort = QStringLiteral("Can't perform this operation on an open port");
inline const QString Timeout = QStringLiteral("Timeout");
}  // namespace ComErrorText
