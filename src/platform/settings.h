// The settings file kelmora.ini: the sixteen keys of section "Kel", their defaults, and
// reading and writing them in their fixed order.
#pragma once

#include "platform/profile_file.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>

// A key the operating system refused to write: "Unable to write to <settings file>".
class SettingsFileError : public std::runtime_error {
public:
    explicit SettingsFileError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Every value the file holds, as the program's controls and variables hold it; the initial
// values are the defaults of a missing key. The file's key of each is in settings.cpp's table.
struct KelSettings {
    int ortanel = 0;                   // "Ortanel": kept for the file only; written when above 0
    int portIndex = 0;                 // "Port": index in the port box, -1 when nothing is selected
    QString minHumidity = QStringLiteral("+00,0");     // "minh": the table's thresholds, as typed
    QString maxHumidity = QStringLiteral("+99,9");     // "maxh"
    QString minTemperature = QStringLiteral("-40,0");  // "mint"
    QString maxTemperature = QStringLiteral("+60,0");  // "maxt"
    QString interval = QStringLiteral("60");           // "interval": seconds between automatic readings
    std::uint8_t displayMode = 0;      // "Indic": the low 8 bits of the stored integer
    int humidityAxisMode = 2;          // "modeRH": the graph setup's axis modes and limits
    int temperatureAxisMode = 2;       // "modeT"
    QString humidityAxisMin = QStringLiteral("+00,0");     // "min_RH"
    QString humidityAxisMax = QStringLiteral("100,0");     // "max_RH"
    QString temperatureAxisMin = QStringLiteral("-50,0");  // "min_T"
    QString temperatureAxisMax = QStringLiteral("100,0");  // "max_T"
    bool colorChart = true;            // "colorChart"
    bool usb = false;                  // "usb"

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
// SettingsFileError; the keys before it stay written.
void WriteKelSettings(ProfileFile& file, const KelSettings& values);
