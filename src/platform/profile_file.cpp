#include "platform/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

QString sectionName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return {};
    const int close = t.indexOf(']');
    if (close < 0)
        return {};
    return QString::fromUtf8(t.mid(1, close - 1)).trimmed();
}

bool isSection(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.indexOf(']') > 0;
}

// Key name of a "Key=Value" line, empty for comments and other lines.
QString keyName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return {};
    const int eq = t.indexOf('=');
    if (eq <= 0)
        return {};
    return QString::fromUtf8(t.left(eq)).trimmed();
}

QString keyValue(const QByteArray& line)
{
    const int eq = line.indexOf('=');
    QString v = QString::fromUtf8(line.mid(eq + 1)).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> parseProfileInteger(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    const bool hex = i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X');
    if (hex)
        i += 2;
    if (i >= t.size())
        return std::nullopt;
    quint64 value = 0;
    for (; i < t.size(); ++i) {
        const int digit = hexDigit(t[i]);
        if (digit < 0 || digit >= (hex ? 16 : 10))
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<quint64>(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (hex) {
        const auto bits = static_cast<qint32>(static_cast<quint32>(value));
        return negative ? static_cast<int>(0u - static_cast<quint32>(bits)) : bits;
    }
    const qint64 signedValue = negative ? -static_cast<qint64>(value) : static_cast<qint64>(value);
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(signedValue);
}

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QList<QByteArray> ProfileFile::loadLines() const
{
    eol_.clear();
    bom_.clear();
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray all = f.readAll();
    if (all.startsWith(Utf8Bom)) {
        bom_ = Utf8Bom;
        all.remove(0, Utf8Bom.size());
    }
    QList<QByteArray> raw = all.split('\n');
    if (!raw.isEmpty() && raw.back().isEmpty())
        raw.removeLast();
    if (!raw.isEmpty())
        eol_ = raw.front().endsWith('\r') ? QByteArray("\r\n") : QByteArray("\n");
    for (QByteArray& line : raw)
        if (line.endsWith('\r'))
            line.chop(1);
    return raw;
}

ProfileFile::Location ProfileFile::locate(const QList<QByteArray>& lines, const QString& section,
                                          const QString& key) const
{
    Location loc;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (isSection(lines[i])) {
            if (inside)
                break;
            if (sameName(sectionName(lines[i]), section)) {
                inside = true;
                loc.sectionLine = i;
                loc.lastLine = i;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!lines[i].trimmed().isEmpty())
            loc.lastLine = i;
        if (loc.keyLine < 0 && !key.isEmpty() && sameName(keyName(lines[i]), key))
            loc.keyLine = i;
    }
    return loc;
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const
{
    const QList<QByteArray> lines = loadLines();
    const Location loc = locate(lines, section, key);
    if (loc.keyLine < 0)
        return defaultValue;
    return keyValue(lines[loc.keyLine]).left(MaxValueLength);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (!hasKey(section, key))
        return defaultValue;
    return parseProfileInteger(readString(section, key)).value_or(defaultValue);
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool ProfileFile::hasKey(const QString& section, const QString& key) const
{
    return locate(loadLines(), section, key).keyLine >= 0;
}

QStringList ProfileFile::keys(const QString& section) const
{
    const QList<QByteArray> lines = loadLines();
    const Location loc = locate(lines, section, QString());
    QStringList result;
    if (loc.sectionLine < 0)
        return result;
    for (int i = loc.sectionLine + 1; i < lines.size() && !isSection(lines[i]); ++i) {
        const QString k = keyName(lines[i]);
        if (!k.isEmpty())
            result << k;
    }
    return result;
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    QList<QByteArray> lines = loadLines();
    const Location loc = locate(lines, section, key);
    const QByteArray entry = key.toUtf8() + '=' + value.toUtf8();
    if (loc.keyLine >= 0) {
        lines[loc.keyLine] = entry;
    } else if (loc.sectionLine >= 0) {
        lines.insert(loc.lastLine + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append('[' + section.toUtf8() + ']');
        lines.append(entry);
    }
    return store(lines);
}

bool ProfileFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ProfileFile::removeKey(const QString& section, const QString& key)
{
    // A key written twice by hand goes with all its lines: after the removal no value of it
    // may still be read (the second line would otherwise take the first one's place).
    QList<QByteArray> lines = loadLines();
    bool removed = false;
    for (Location loc = locate(lines, section, key); loc.keyLine >= 0; loc = locate(lines, section, key)) {
        lines.removeAt(loc.keyLine);
        removed = true;
    }
    return !removed || store(lines);
}

bool ProfileFile::store(const QList<QByteArray>& lines) const
{
    // A read-only settings file stays as it is: the save goes through a temporary file that
    // replaces the original, which would otherwise bypass the file's own permission.
    // A file without any write permission is read-only for everyone, the administrator too.
    const QFileInfo info(path_);
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & writeBits)))
        return false;
    QSaveFile out(path_);
    // A writable file in a directory where no temporary file can be made is written in place,
    // as the classic functions do.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray eol = eol_.isEmpty() ? QByteArray("\n") : eol_;
    out.write(bom_);
    for (const QByteArray& line : lines) {
        out.write(line);
        out.write(eol);
    }
    return out.commit();
}
