// A settings file with the classic profile-string behaviour: "[Section]" headers and
// "Key=Value" lines, names compared without regard to letter case, every other line
// (comments, unknown keys, other sections) kept exactly as it stands, a written key
// replaced in place or added to the end of its section.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }

    // Value of Key in Section, blanks around it removed and one pair of matching quotes
    // stripped; defaultValue when the section or the key is missing.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // Decimal or "0x" hexadecimal integer at the start of the value; 0 when the value does
    // not start with a number; defaultValue when the key is missing.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;
    // The keys of a section in file order.
    QStringList keys(const QString& section) const;

    // Writes Key=Value; false when the file cannot be written (it is then left unchanged).
    bool writeString(const QString& section, const QString& key, const QString& value);
    // Removes Key from Section; false when the file cannot be written.
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
    QByteArray lineEnding(const QList<QByteArray>& raw) const;

    QString path_;
    mutable QByteArray eol_;
};

// Parses a profile integer the way the classic functions do: optional blanks, optional sign,
// "0x"/"0X" for hexadecimal, digits up to the first other character; 0 when there are none.
int parseProfileInteger(const QString& text);
