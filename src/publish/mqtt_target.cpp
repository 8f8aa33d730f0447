#include "publish/mqtt_target.h"

#include "platform/profile_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdlib>

namespace {

bool fail(QString* problem, const QString& text)
{
    if (problem)
        *problem = text;
    return false;
}

}  // namespace

std::optional<MqttTarget> ParseMqttUrl(const QString& text, QString* problem)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    MqttTarget t;
    t.url = text.trimmed();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts"))) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\" is no broker address of the form mqtt://HOST[:PORT]/PREFIX or mqtts://HOST[:PORT]/PREFIX").arg(text));
        return std::nullopt;
    }
    t.tls = scheme == QLatin1String("mqtts");
    t.host = url.host();
    if (t.host.isEmpty()) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\" names no broker host").arg(text));
        return std::nullopt;
    }
    t.port = url.port(t.tls ? 8883 : 1883);
    if (t.port <= 0 || t.port > 65535) {
        fail(problem, QStringLiteral("\"%1\" has no usable port").arg(text));
        return std::nullopt;
    }
    // A "#" would read as the start of a fragment; in a topic it is the wildcard of a filter.
    if (text.contains(QLatin1Char('#'))) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\": the prefix may not hold the wildcards \"+\" and \"#\"").arg(text));
        return std::nullopt;
    }
    if (!url.userName().isEmpty() || !url.password().isEmpty() || url.hasQuery() || url.hasFragment()) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\": give the user with --mqtt-user or User=, the password in %2, and nothing after the prefix")
                          .arg(text, QString::fromLatin1(kMqttPasswordVariable)));
        return std::nullopt;
    }
    QString prefix = url.path(QUrl::FullyDecoded);
    while (prefix.startsWith(QLatin1Char('/')))
        prefix.remove(0, 1);
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    if (prefix.contains(QLatin1Char('+')) || prefix.contains(QLatin1Char('#')) || prefix.contains(QStringLiteral("//"))) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\": the prefix may not hold \"+\", \"#\" or an empty level").arg(text));
        return std::nullopt;
    }
    // Topics that start with "$" are the broker's own ($SYS/…): a client's publishes there are
    // refused or dropped, and the readings would count as sent.
    if (prefix.startsWith(QLatin1Char('$'))) {
        fail(problem, QCoreApplication::translate("Kelmora", "\"%1\": the prefix may not start with \"$\" (topics of the broker itself)").arg(text));
        return std::nullopt;
    }
    t.prefix = prefix.isEmpty() ? kDefaultMqttPrefix : prefix;
    return t;
}

QString MqttPasswordFromEnvironment()
{
    const char* value = std::getenv(kMqttPasswordVariable);
    return value ? QString::fromUtf8(value) : QString();
}

std::optional<MqttTarget> ReadMqttTarget(const ProfileFile& settings, QString* problem)
{
    const QString url = settings.readString(kMqttSection, QStringLiteral("Url"));
    if (url.trimmed().isEmpty())
        return std::nullopt;
    std::optional<MqttTarget> t = ParseMqttUrl(url, problem);
    if (!t)
        return std::nullopt;
    t->user = settings.readString(kMqttSection, QStringLiteral("User"));
    t->caFile = settings.readString(kMqttSection, QStringLiteral("CaFile")).trimmed();
    t->discovery = settings.readBool(kMqttSection, QStringLiteral("Discovery"), true);
    t->password = MqttPasswordFromEnvironment();
    return t;
}

QString MqttCaFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QCoreApplication::translate("Kelmora", "%1: no such file").arg(path);
    if (!info.isFile())
        return QCoreApplication::translate("Kelmora", "%1: not a file").arg(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("Kelmora", "%1 cannot be read: %2").arg(path, f.errorString());
    if (!f.read(1 << 20).contains("-----BEGIN CERTIFICATE-----"))
        return QCoreApplication::translate("Kelmora", "%1 holds no certificate in PEM form (-----BEGIN CERTIFICATE-----)").arg(path);
    return QString();
}
