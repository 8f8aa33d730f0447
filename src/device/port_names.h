// The twenty port names of the port box and the serial device each one opens.
// On Linux the Windows names map onto devices; section [Ports] of kelmora.ini overrides rows.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// "COM1" … "COM9", "\\.\COM10" … "\\.\COM20", in list order.
const QStringList& portNames();

class PortNameMap {
public:
    PortNameMap() = default;
    // Overrides: listed name -> device path (names compared without regard to case).
    explicit PortNameMap(const QMap<QString, QString>& overrides);

    // Reads the overrides from section [Ports] of the given settings file.
    static PortNameMap fromSettingsFile(const QString& iniPath);

    // The device to open for a text of the port box: a listed name through the table and
    // its overrides, any other text unchanged (a device path as typed).
    QString devicePath(const QString& name) const;
    // The built-in device of a listed name, without overrides; empty for other texts.
    static QString defaultDevicePath(const QString& name);

private:
    QMap<QString, QString> overrides_;  // keys upper-cased
};
