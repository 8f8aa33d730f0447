// kelmora-cli log --mqtt against the virtual meter and a Mosquitto broker of the test's own:
// a broker stopped in the middle of logging costs no reading, a wrong password or a broker
// that is not there is said once on standard error and logging goes on to the end.
#include "support/meter_sim_process.h"
#include "support/latency_proxy.h"
#include "support/mosquitto_broker.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <set>

namespace {

QProcessEnvironment quickRetries(const QString& password = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELMORA_MQTT_RETRY_MS"), QStringLiteral("100"));
    if (password.isEmpty())
        env.remove(QStringLiteral("KELMORA_MQTT_PASSWORD"));
    else
        env.insert(QStringLiteral("KELMORA_MQTT_PASSWORD"), password);
    return env;
}

std::set<QString> distinctTimes(const QList<ReceivedMessage>& messages)
{
    std::set<QString> out;
    for (const QByteArray& p : ReadingPayloads(messages))
        out.insert(QJsonDocument::fromJson(p).object().value("time").toString());
    return out;
}

TEST(CliLogMqtt, ABrokerStoppedDuringLoggingGetsEveryReadingWhenItIsBack)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("cli-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    MeterSimProcess sim({"--serial", "0x00A3", "--rh", "4525", "--t", "-525"});
    QTemporaryDir pool;

    QProcess log;
    log.setProcessEnvironment(quickRetries());
    log.start(QStringLiteral(KELMORA_CLI), {"log", sim.devicePath(), "--interval", "1", "--count", "6", "--pool",
                                            pool.path(), "--report", "hall", "--mqtt", broker.url("museum")});
    ASSERT_TRUE(log.waitForStarted());
    sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 2; }, 15000);
    broker.stop();
    QByteArray out;
    while (out.count("read ") < 4 && log.waitForReadyRead(10000))
        out += log.readAllStandardOutput();
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(log.waitForFinished(30000));
    const QString err = QString::fromUtf8(log.readAllStandardError());
    EXPECT_EQ(log.exitCode(), 0) << "the broker's absence is no failure of logging\n" << err.toStdString();
    EXPECT_TRUE(err.contains("stored 6 of 6 readings")) << err.toStdString();
    EXPECT_EQ(err.count("logging goes on"), 1) << "told once per streak\n" << err.toStdString();
    EXPECT_EQ(err.count("answers again"), 1) << err.toStdString();

    const QList<ReceivedMessage> got = sub.waitFor([](const auto& m) { return distinctTimes(m).size() >= 6; }, 15000);
    EXPECT_EQ(distinctTimes(got).size(), 6u) << "every reading of the report arrives";
    EXPECT_EQ(QFileInfo(pool.filePath("hall.dat")).size(), 72);
    const QList<QByteArray> payloads = ReadingPayloads(got);
    ASSERT_FALSE(payloads.isEmpty());
    const QJsonObject first = QJsonDocument::fromJson(payloads.front()).object();
    EXPECT_EQ(first.value("serial").toString(), "00A3");
    EXPECT_EQ(first.value("report").toString(), "hall");
    EXPECT_DOUBLE_EQ(first.value("relative_humidity").toDouble(), 45.25);
    EXPECT_DOUBLE_EQ(first.value("temperature").toDouble(), -5.25);
}

// The cron way: runs of one reading each, to a broker 50 ms away. Each run stores its reading
// before its connection is up; at its end it connects and waits for the broker to take the
// reading, so every run's reading arrives (before, most runs published nothing).
TEST(CliLogMqtt, EveryOneReadingRunPublishesItsReadingToAFarBroker)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    LatencyProxy far(broker.port(), 50);
    TestSubscriber sub(broker.port(), QStringLiteral("museum/#"), QStringLiteral("cron-sub"));
    ASSERT_TRUE(sub.waitUntilSubscribed());
    MeterSimProcess sim({"--serial", "0x00A3", "--rh", "4525", "--t", "-525"});
    QTemporaryDir pool;
    constexpr int kRuns = 10;
    for (int run = 0; run < kRuns; ++run) {
        const ProcessResult r = runProcess(quickRetries(), QStringLiteral(KELMORA_CLI),
                                           {"log", sim.devicePath(), "--interval", "0", "--pool", pool.path(), "--report",
                                            "hall", "--mqtt", QStringLiteral("mqtt://127.0.0.1:%1/museum").arg(far.port())});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("not yet published")) << run << ": " << r.err.toStdString();
    }
    const QList<ReceivedMessage> got = sub.waitFor([](const auto& m) { return distinctTimes(m).size() >= kRuns; }, 15000);
    EXPECT_EQ(distinctTimes(got).size(), std::size_t(kRuns)) << "one reading from each run";
}

// --mqtt-wait 0: the run ends without waiting, and says what it leaves for the next run.
TEST(CliLogMqtt, WithoutAWaitTheRunSaysWhatIsLeftForTheNext)
{
    const int nowhere = FreeLocalPort();
    MeterSimProcess sim({"--serial", "0x00A3"});
    QTemporaryDir pool;
    const ProcessResult r = runProcess(quickRetries(), QStringLiteral(KELMORA_CLI),
                                       {"log", sim.devicePath(), "--interval", "0", "--pool", pool.path(), "--mqtt",
                                        QStringLiteral("mqtt://127.0.0.1:%1/museum").arg(nowhere), "--mqtt-wait", "0"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("MQTT: 1 readings of the report not yet published")) << r.err.toStdString();
}

// A broker whose access list denies the readings: the refusal is said once with the broker's
// reason, and the readings count as not published (the next run sends them).
TEST(CliLogMqtt, ReadingsTheBrokerRefusesAreSaidAndLeftForTheNextRun)
{
    MosquittoBroker broker(QString(), QString(), false, "topic read museum/#\n");
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    MeterSimProcess sim({"--serial", "0x00A3"});
    QTemporaryDir pool;
    const ProcessResult r = runProcess(quickRetries(), QStringLiteral(KELMORA_CLI),
                                       {"log", sim.devicePath(), "--interval", "1", "--count", "3", "--pool", pool.path(),
                                        "--mqtt", broker.url("museum"), "--no-discovery"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count("refuses museum/00A3/reading: Not authorized"), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("MQTT: 3 readings of the report not yet published")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("stored 3 of 3 readings")) << r.err.toStdString();
}

// A broker whose certificate a private authority signed: --mqtt-cafile names it.
TEST(CliLogMqtt, APrivateCertificateAuthorityServesTls)
{
    MosquittoBroker broker(QString(), QString(), true);
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    MeterSimProcess sim({"--serial", "0x00A3"});
    QTemporaryDir pool;
    const ProcessResult r = runProcess(quickRetries(), QStringLiteral(KELMORA_CLI),
                                       {"log", sim.devicePath(), "--interval", "0", "--pool", pool.path(), "--mqtt",
                                        broker.url("museum"), "--mqtt-cafile", broker.certificatePath()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("MQTT: publishing to " + broker.url("museum"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("not yet published")) << r.err.toStdString();
}

struct BrokerTrouble {
    const char* what;
    bool brokerThere;
    const char* told;
};

class CliLogMqttTrouble : public ::testing::TestWithParam<BrokerTrouble> {};

TEST_P(CliLogMqttTrouble, IsToldOnceAndEveryReadingIsStored)
{
    const BrokerTrouble& c = GetParam();
    MosquittoBroker broker(QStringLiteral("curator"), QStringLiteral("s3cret"));
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    const QString url = c.brokerThere ? broker.url("museum") : QStringLiteral("mqtt://127.0.0.1:%1/museum").arg(FreeLocalPort());
    MeterSimProcess sim;
    QTemporaryDir pool;
    QProcess log;
    log.setProcessEnvironment(quickRetries(QStringLiteral("wrong")));
    log.start(QStringLiteral(KELMORA_CLI), {"log", sim.devicePath(), "--interval", "1", "--count", "3", "--pool",
                                            pool.path(), "--mqtt", url, "--mqtt-user", "curator"});
    ASSERT_TRUE(log.waitForFinished(30000));
    const QString err = QString::fromUtf8(log.readAllStandardError());
    EXPECT_EQ(log.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("stored 3 of 3 readings")) << err.toStdString();
    EXPECT_EQ(err.count(QString::fromUtf8(c.told)), 1) << err.toStdString();
    EXPECT_EQ(err.count("logging goes on"), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("3 readings of the report not yet published")) << err.toStdString();
    EXPECT_EQ(QFileInfo(pool.filePath("kelmora-cli.dat")).size(), 36);
}

INSTANTIATE_TEST_SUITE_P(Brokers, CliLogMqttTrouble, ::testing::Values(
    BrokerTrouble{"wrong password", true, "Not authorized"},
    BrokerTrouble{"nothing listens", false, "Connection refused"}));

TEST(CliLogMqttUsage, BadAddressesAndStrayOptionsAreWrongUsage)
{
    for (const QStringList& extra : {QStringList{"--mqtt", "broker.lan"}, QStringList{"--mqtt"},
                                     QStringList{"--mqtt-user", "curator"}, QStringList{"--no-discovery"},
                                     QStringList{"--mqtt-wait", "5"},
                                     QStringList{"--mqtt", "mqtt://broker.lan/x", "--mqtt-wait", "soon"},
                                     QStringList{"--mqtt", "mqtt://broker.lan/a/#"},
                                     QStringList{"--mqtt", "mqtt://broker.lan/$SYS/kelmora"},
                                     QStringList{"--mqtt-cafile", KELMORA_SOURCE_DIR "/README.md"},
                                     QStringList{"--mqtt", "mqtts://broker.lan/x", "--mqtt-cafile", "/nonexistent/ca.pem"},
                                     QStringList{"--mqtt", "mqtts://broker.lan/x", "--mqtt-cafile", KELMORA_SOURCE_DIR "/README.md"},
                                     QStringList{"--mqtt", "mqtt://broker.lan/x", "--mqtt-cafile", KELMORA_SOURCE_DIR "/README.md"}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), QStringList{"log", "/dev/null", "--interval", "1"} + extra);
        EXPECT_EQ(r.exitCode, 64) << extra.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:")) << r.err.toStdString();
    }
}

// A user name without the password variable: said before logging starts, as cron and service
// files often do not pass the variable on.
TEST(CliLogMqttUsage, AUserWithoutThePasswordVariableIsTold)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KELMORA_MQTT_PASSWORD"));
    const ProcessResult r = runProcess(env, QStringLiteral(KELMORA_CLI),
                                       {"log", "/dev/kelmora-missing", "--interval", "0", "--mqtt", "mqtt://127.0.0.1:1/kel",
                                        "--mqtt-user", "curator"});
    EXPECT_TRUE(r.err.contains("--mqtt-user curator without a password: KELMORA_MQTT_PASSWORD is empty or not set"))
        << r.err.toStdString();
}

}  // namespace
