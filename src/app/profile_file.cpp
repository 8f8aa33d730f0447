#include "app/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

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

}  // namespace

int parseProfileInteger(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    quint32 value = 0;
    for (; i < t.size(); ++i) {
        const int digit = QChar(t[i]).isDigit() ? t[i].unicode() - u'0'
                          : (base == 16 && t[i].toLower() >= u'a' && t[i].toLower() <= u'f')
                              ? t[i].toLower().unicode() - u'a' + 10
                              : -1;
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<quint32>(base) + static_cast<quint32>(digit);
    }
    const int result = static_cast<int>(value);
    return negative ? -result : result;
}

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QList<QByteArray> ProfileFile::loadLines() const
{
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    QList<QByteArray> raw = all.split('\n');
    if (!raw.isEmpty() && raw.back().isEmpty())
        raw.removeLast();
    eol_ = lineEnding(raw);
    for (QByteArray& line : raw)
        if (line.endsWith('\r'))
            line.chop(1);
    return raw;
}

QByteArray ProfileFile::lineEnding(const QList<QByteArray>& raw) const
{
    for (const QByteArray& line : raw)
        return line.endsWith('\r') ? QByteArray("\r\n") : QByteArray("\n");
    return QByteArray("\r\n");
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
    return loc.keyLine < 0 ? defaultValue : keyValue(lines[loc.keyLine]);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (!hasKey(section, key))
        return defaultValue;
    return parseProfileInteger(readString(section, key));
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

bool ProfileFile::removeKey(const QString& section, const QString& key)
{
    QList<QByteArray> lines = loadLines();
    const Location loc = locate(lines, section, key);
    if (loc.keyLine < 0)
        return true;
    lines.removeAt(loc.keyLine);
    return store(lines);
}

bool ProfileFile::store(const QList<QByteArray>& lines) const
{
    // A read-only settings file stays as it is: the save goes through a temporary file that
    // replaces the original, which would otherwise bypass the file's own permission.
    const QFileInfo info(path_);
    if (info.exists() && !info.isWritable())
        return false;
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (eol_.isEmpty())
        eol_ = "\r\n";
    for (const QByteArray& line : lines) {
        out.write(line);
        out.write(eol_);
    }
    return out.commit();
}
