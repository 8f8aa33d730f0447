// A settings file with the classic profile-string behaviour: "[Section]" headers and
// "Key=Value" lines, names compared without regard to letter case, every other line
// (comments, unknown keys, other sections) kept exactly as it stands, a written key
// replaced in place or added to the end of its section.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ProfileFile {
public:
    // A value is never read longer than this (the classic 2048-character buffer less its end mark).
    static constexpr int MaxValueLength = 2047;

    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }

    // Value of Key in Section, blanks around it removed, one pair of matching quotes stripped
    // and cut to MaxValueLength; defaultValue when the section or the key is missing.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // The value read as a whole integer, decimal or "0x" hexadecimal (parseProfileInteger);
    // defaultValue when the key is missing or its value is not an integer.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer value, any non-zero integer being true; defaultValue when there is none.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;
    // The keys of a section in file order.
    QStringList keys(const QString& section) const;

    // Writes Key=Value; false when the file cannot be written (it is then left unchanged).
    bool writeString(const QString& section, const QString& key, const QString& value);
    // Writes the integer in decimal.
    bool writeInteger(const QString& section, const QString& key, int value);
    // Writes "1" or "0".
    bool writeBool(const QString& section, const QString& key, bool value);
    // Removes Key from Section, every line of it when it stands there more than once; false
    // when the file cannot be written.
    bool removeKey(const QString& section, const QString& key);

private:
    struct Location {
        int sectionLine = -1;   // index of the "[Section]" line, -1 when missing
        int keyLine = -1;       // index of the key's line, -1 when missing
        int lastLine = -1;      // last non-blank line of the section
    };
    QList<QByteArray> loadLines() const;
    Location locate(const QList<QByteArray>& lines, const QString& section, const QString& key) const;
    bool store(const QList<QByteArray>& lines) const;

    QString path_;
    // What the file read last looked like, so that a rewrite keeps it: its line ending and
    // a byte-order mark in front of the first line.
    mutable QByteArray eol_;
    mutable QByteArray bom_;
};

// An integer written as a whole value: optional sign, then decimal digits or "0x"/"0X" with
// hexadecimal digits (up to 32 bits, taken as the bit pattern of a signed value). Anything
// else, an empty text or a decimal value outside the signed 32-bit range gives nothing.
std::optional<int> parseProfileInteger(const QString& text);
