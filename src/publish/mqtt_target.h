// Where readings are published: an MQTT broker named by a URL mqtt://HOST[:PORT]/PREFIX (or
// mqtts:// for TLS checked against the system's certificate store), the user and password to
// log in with, and whether Home Assistant discovery messages are sent.
#pragma once

#include <QString>

#include <optional>

class ProfileFile;

struct MqttTarget {
    QString url;        // as given, for messages
    bool tls = false;
    QString host;
    int port = 1883;    // 8883 for mqtts:// when the URL names none
    QString prefix;     // the topics' first levels, without slashes at either end ("kelmora" when the URL has none)
    QString user;       // empty: no login
    QString password;   // from the environment, never from a file or the command line
    QString caFile;     // mqtts://: the certificate authority (PEM) to check the broker with; empty: the system's store
    bool discovery = true;
};

// The environment variable that holds the broker password for the window and kelmora-cli alike.
inline constexpr char kMqttPasswordVariable[] = "KELMORA_MQTT_PASSWORD";

// The prefix used when the URL names none.
inline const QString kDefaultMqttPrefix = QStringLiteral("kelmora");

// Reads a broker URL. On failure returns nothing and puts the reason in *problem (English,
// for kelmora-cli's usage message and the window's status bar).
std::optional<MqttTarget> ParseMqttUrl(const QString& url, QString* problem = nullptr);

// The section [Mqtt] of kelmora.ini: Url (empty or missing: nothing is published), User,
// CaFile (see MqttCaFileProblem) and Discovery (default 1). The password comes from KELMORA_MQTT_PASSWORD. Nothing when there is
// no Url; *problem says why a Url that is there cannot be used.
inline const QString kMqttSection = QStringLiteral("Mqtt");
std::optional<MqttTarget> ReadMqttTarget(const ProfileFile& settings, QString* problem = nullptr);

// Why a certificate authority file cannot serve (English, translated like the URL problems):
// it is not there, not a file or cannot be read, or holds no PEM certificate. Empty when it can.
QString MqttCaFileProblem(const QString& path);

// The password from the environment (empty when unset).
QString MqttPasswordFromEnvironment();
