// What the device link tells the user, word for word, and the device-number text.
#pragma once

#include <QString>

#include <cstdint>

namespace DeviceText {
inline const QString CannotOpenPort = QStringLiteral("Невозможно открыть порт");
inline const QString NoConnection = QStringLiteral("Невозможно установить связь !");
inline const QString CannotRead = QStringLiteral("Невозможно считать данные !");
inline const QString NotResponding = QStringLiteral("Устройство не отвечает !");
inline const QString FoundOn = QStringLiteral("Прибор найден на ");
// Two lines separated by line feed and carriage return, in that order.
inline const QString DetectionFailed = QStringLiteral(
    "Невозможно автоматически обнаружить устройство !\n\r"
    "Проверьте еще раз все соединения и повторите попытку.");
}  // namespace DeviceText

// The meter's serial number as four upper-case hexadecimal digits: 163 -> "00A3".
inline QString deviceNumberText(uint16_t serial)
{
    return QStringLiteral("%1").arg(serial, 4, 16, QLatin1Char('0')).toUpper();
}
