// The settings file kelmora.ini: the sixteen keys of section "Kel", their defaults, and
// reading and writing them in their fixed order.
#pragma once

#include "platform/profile_file.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>

// A key the operating system refused to write: "Unable to write to <settings file>".
class EIniFileException : public std::runtime_error {
public:
    explicit EIniFileException(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Every value the file holds, as the program's controls and variables hold it.
struct KelSettings {
    int Ortanel = 0;                   // kept for the file only; written when above 0
    int Port = 0;                      // index in the port box, -1 when nothing is selected
    QString minh = QStringLiteral("+00,0");
    QString maxh = QStringLiteral("+99,9");
    QString mint = QStringLiteral("-40,0");
    QString maxt = QStringLiteral("+60,0");
    QString interval = QStringLiteral("60");
    std::uint8_t Indic = 0;            // display mode: the low 8 bits of the stored integer
    int modeRH = 2;
    int modeT = 2;
    QString min_RH = QStringLiteral("+00,0");
    QString max_RH = QStringLiteral("100,0");
    QString min_T = QStringLiteral("-50,0");
    QString max_T = QStringLiteral("100,0");
    bool colorChart = true;
    bool usb = false;

    friend bool operator==(const KelSettings&, const KelSettings&) = default;
};

namespace SettingsKeys {
inline const QString Section = QStringLiteral("Kel");
// The keys in the order they are read and written.
const QStringList& order();
}  // namespace SettingsKeys

// Reads every key in order; a missing file, section or key, or a value that is not an
// integer where one is expected, gives the key's default.
KelSettings ReadKelSettings(const ProfileFile& file);

// Writes every key in order ("Ortanel" only when above 0; the masked threshold and limit
// texts through BlanksToZeros). Stops at the first key the file refuses and throws
// EIniFileException; the keys before it stay written.
void WriteKelSettings(ProfileFile& file, const KelSettings& values);
