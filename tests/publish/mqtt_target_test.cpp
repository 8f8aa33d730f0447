// Broker addresses: what mqtt:// and mqtts:// URLs give, what is refused and why, and the
// section [Mqtt] of the settings file.
#include "platform/profile_file.h"
#include "publish/mqtt_target.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

struct UrlCase {
    const char* url;
    bool tls;
    const char* host;
    int port;
    const char* prefix;
};

class MqttUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(MqttUrl, GivesHostPortAndPrefix)
{
    const UrlCase& c = GetParam();
    QString problem;
    const std::optional<MqttTarget> t = ParseMqttUrl(QString::fromUtf8(c.url), &problem);
    ASSERT_TRUE(t) << problem.toStdString();
    EXPECT_EQ(t->tls, c.tls);
    EXPECT_EQ(t->host, QString::fromUtf8(c.host));
    EXPECT_EQ(t->port, c.port);
    EXPECT_EQ(t->prefix, QString::fromUtf8(c.prefix));
}

INSTANTIATE_TEST_SUITE_P(Addresses, MqttUrl, ::testing::Values(
    UrlCase{"mqtt://broker.lan/museum", false, "broker.lan", 1883, "museum"},
    UrlCase{"mqtt://broker.lan:1884/museum/floor1", false, "broker.lan", 1884, "museum/floor1"},
    UrlCase{"mqtts://broker.example.org/archive", true, "broker.example.org", 8883, "archive"},
    UrlCase{"MQTTS://10.0.0.5:9883/a/", true, "10.0.0.5", 9883, "a"},
    UrlCase{"mqtt://[::1]:1883/x", false, "::1", 1883, "x"},
    UrlCase{"mqtt://broker.lan", false, "broker.lan", 1883, "kelmora"},
    UrlCase{"  mqtt://broker.lan/  ", false, "broker.lan", 1883, "kelmora"}));

struct BadUrlCase {
    const char* url;
    const char* reason;  // a part of the reason given
};

class BadMqttUrl : public ::testing::TestWithParam<BadUrlCase> {};

TEST_P(BadMqttUrl, IsRefusedWithAReason)
{
    QString problem;
    EXPECT_FALSE(ParseMqttUrl(QString::fromUtf8(GetParam().url), &problem));
    EXPECT_TRUE(problem.contains(QString::fromUtf8(GetParam().reason))) << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Refused, BadMqttUrl, ::testing::Values(
    BadUrlCase{"", "no broker address"}, BadUrlCase{"broker.lan/museum", "no broker address"},
    BadUrlCase{"http://broker.lan/museum", "no broker address"}, BadUrlCase{"mqtt:///museum", "names no broker host"},
    BadUrlCase{"mqtt://broker.lan:0/x", "no usable port"}, BadUrlCase{"mqtt://broker.lan:70000/x", "no broker address"},
    BadUrlCase{"mqtt://user:pw@broker.lan/x", "--mqtt-user"}, BadUrlCase{"mqtt://broker.lan/a/#", "wildcards"},
    BadUrlCase{"mqtt://broker.lan/#", "wildcards"}, BadUrlCase{"mqtt://broker.lan/+/x", "\"+\""},
    BadUrlCase{"mqtt://broker.lan/a//b", "empty level"}, BadUrlCase{"mqtt://broker.lan/x?retain=1", "nothing after the prefix"},
    BadUrlCase{"mqtt://broker.lan/$SYS/kelmora", "may not start with \"$\""},
    BadUrlCase{"mqtt://broker.lan/$share", "may not start with \"$\""}));

class MqttSettings : public ::testing::Test {
protected:
    ProfileFile ini(const QByteArray& text)
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("kelmora.ini"));
        WriteFileBytes(path, text);
        return ProfileFile(path);
    }
    QTemporaryDir dir;
};

TEST_F(MqttSettings, UrlUserDiscoveryFromTheFileAndThePasswordFromTheEnvironment)
{
    ::setenv(kMqttPasswordVariable, "s3cret", 1);
    const std::optional<MqttTarget> t =
        ReadMqttTarget(ini("[Kel]\r\nPort=2\r\n[mqtt]\r\nurl=mqtts://broker.lan/museum\r\nUser=curator\r\nDiscovery=0\r\n"));
    ::unsetenv(kMqttPasswordVariable);
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->tls);
    EXPECT_EQ(t->prefix, "museum");
    EXPECT_EQ(t->user, "curator");
    EXPECT_EQ(t->password, "s3cret");
    EXPECT_FALSE(t->discovery);
}

TEST_F(MqttSettings, NoUrlPublishesNothingAndABadOneSaysWhy)
{
    QString problem;
    EXPECT_FALSE(ReadMqttTarget(ini("[Kel]\r\nPort=2\r\n"), &problem));
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_FALSE(ReadMqttTarget(ini("[Mqtt]\r\nUrl=\r\n"), &problem));
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_FALSE(ReadMqttTarget(ini("[Mqtt]\r\nUrl=broker.lan\r\n"), &problem));
    EXPECT_FALSE(problem.isEmpty());
    const std::optional<MqttTarget> t = ReadMqttTarget(ini("[Mqtt]\r\nUrl=mqtt://broker.lan/museum\r\n"));
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->discovery) << "discovery is on unless Discovery=0";
    EXPECT_TRUE(t->user.isEmpty());
}

}  // namespace
