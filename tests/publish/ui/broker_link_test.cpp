// The window with [Mqtt] in kelmora.ini: its readings reach the broker from the working
// report, the published position follows the report when it is saved under a name, and a
// broker that is not there is said in the status bar, not in a box, while readings go on.
#include "app/qt_translations.h"
#include "publish/published_position.h"
#include "publish/reading_publisher.h"
#include "publish/ui/broker_link.h"
#include "support/meter_window_fixture.h"
#include "support/mosquitto_broker.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>

namespace {

PublisherTimings quick()
{
    PublisherTimings t;
    t.retryMs = 50;
    t.retryMaxMs = 200;
    t.positionWriteMs = 0;
    return t;
}

class WindowPublishing : public MeterWindowFixture {
protected:
    WindowPublishing()
    {
        // As the program starts: the window speaks Russian, the reasons it passes on included.
        static const bool russian = InstallRussianQtTranslations(*QCoreApplication::instance());
        EXPECT_TRUE(russian);
    }

    // Points [Mqtt] at url and lets the window publish with short waits.
    void useBroker(const QString& url)
    {
        QFile ini(QDir(dir.path()).filePath("kelmora.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Mqtt]\r\nUrl=" + url.toUtf8() + "\r\nDiscovery=0\r\n");
        ini.close();
        form().broker().start(ini.fileName(), quick());
        line->meters.emplace("COM1", MeterModel(MeterConfig{.serialNumber = 0x0B17, .humidity = 4525, .temperature = -525}));
        gui::named<QAction>(form(), "AcConnect")->trigger();
        settle();
        ASSERT_FALSE(form().readingPanel().isHidden());
    }
    QString pool(const QString& file) const { return QDir(dir.path()).filePath("POOL/" + file); }
    void read()
    {
        gui::named<QPushButton>(form().readingPanel(), "Button3")->click();
        settle();
    }
    // Lets the publisher's events reach the status bar.
    QString statusText(const QString& containing)
    {
        for (int i = 0; i < 300; ++i) {
            QCoreApplication::processEvents();
            if (form().broker().field()->text().contains(containing))
                break;
            QThread::msleep(10);
        }
        return form().broker().field()->text();
    }
};

TEST_F(WindowPublishing, ReadingsReachTheBrokerAndThePositionFollowsASave)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.problem().isEmpty()) << broker.problem().toStdString();
    TestSubscriber sub(broker.port(), "rooms/#", "window-sub");
    ASSERT_TRUE(sub.waitUntilSubscribed());
    useBroker(broker.url("rooms"));
    for (int i = 0; i < 3; ++i)
        read();
    sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 3; });
    gui::named<QLineEdit>(form().readingPanel(), "repNameEdit")->setText("Cellar");
    gui::named<QToolButton>(form().readingPanel(), "SpeedButton1")->click();
    EXPECT_TRUE(QFileInfo::exists(pool("Cellar.mqtt")));
    EXPECT_FALSE(QFileInfo::exists(pool("temp.mqtt")));
    read();
    const QList<QByteArray> payloads = ReadingPayloads(sub.waitFor([](const auto& m) { return ReadingPayloads(m).size() >= 4; }));
    ASSERT_EQ(payloads.size(), 4);
    QStringList reports;
    for (const QByteArray& p : payloads) {
        const QJsonObject o = QJsonDocument::fromJson(p).object();
        reports << o.value("report").toString();
        EXPECT_EQ(o.value("serial").toString(), "0B17");
        EXPECT_DOUBLE_EQ(o.value("relative_humidity").toDouble(), 45.25);
    }
    EXPECT_EQ(reports, QStringList({"temp", "temp", "temp", "Cellar"}));
    EXPECT_TRUE(statusText("отправляются").contains("MQTT: показания отправляются на " + broker.url("rooms")));
    form().broker().stop();
    EXPECT_EQ(ReadPublishedPosition(pool("Cellar.mqtt"))->records, 4);
}

TEST_F(WindowPublishing, ABrokerThatIsNotThereIsSaidInTheStatusBarAndReadingsGoOn)
{
    const QString url = QStringLiteral("mqtt://127.0.0.1:%1/rooms").arg(FreeLocalPort());
    useBroker(url);
    read();
    read();
    EXPECT_EQ(QFileInfo(pool("temp.dat")).size(), 24);
    const QString text = statusText("недоступен");
    EXPECT_EQ(text, "MQTT: брокер " + url + " недоступен (В соединении отказано). "
                    "Показания сохраняются в отчет и будут отправлены позже");
    EXPECT_TRUE(dialogs.shown.empty()) << "no box for the broker";
    EXPECT_TRUE(form().statusBar()->isVisible());
    // The whole reason never makes the window wider than it may be.
    form().resize(form().minimumSize());
    QCoreApplication::processEvents();
    EXPECT_EQ(form().width(), form().minimumWidth());
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(form().grab().save(QDir(folder).filePath("main_window_broker_away.png")));
}

TEST_F(WindowPublishing, AnUnusableUrlIsSaidAndNothingIsPublished)
{
    useBroker("broker.lan/rooms");
    EXPECT_FALSE(form().broker().publishing());
    EXPECT_EQ(form().broker().field()->text(), "MQTT: адрес брокера в kelmora.ini не годится: \"broker.lan/rooms\" — не адрес "
                                                "брокера вида mqtt://HOST[:PORT]/PREFIX или mqtts://HOST[:PORT]/PREFIX");
    read();
    EXPECT_FALSE(QFileInfo::exists(pool("temp.mqtt")));
}

}  // namespace
