// The window's link to an MQTT broker: when kelmora.ini has an [Mqtt] Url, each reading the
// window stores is published (see ReadingPublisher), and the state of the broker is shown in
// a field of the status bar: a failure once per streak, never in a box, and its end. Without
// a Url it does nothing.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QLabel;
class QStatusBar;
class ReadingPublisher;
struct MeterReading;
struct PublisherTimings;

class BrokerLink : public QObject {
    Q_OBJECT
public:
    // Adds its field ("MqttStatus", empty while there is nothing to say) to the status bar.
    explicit BrokerLink(QStatusBar* statusBar, QObject* parent = nullptr);
    ~BrokerLink() override;

    // Reads [Mqtt] of the settings file and starts publishing when it names a broker; a Url
    // that cannot be used is said in the field. The timings are for tests.
    void start(const QString& settingsFile);
    void start(const QString& settingsFile, const PublisherTimings& timings);
    bool publishing() const { return publisher_ != nullptr; }

    // Around each append: the report the reading goes to, then the meter it came from.
    void follow(const QString& reportPath);
    void readingStored(const MeterReading& reading);
    // The working report was saved under another name: its published position moves too.
    void reportMoved(const QString& fromPath, const QString& toPath);

    // Sends what is left for a short while, says "offline" and ends the connection.
    void stop();

    QLabel* field() const { return field_; }

private:
    struct Relay;
    QLabel* field_;
    std::shared_ptr<Relay> relay_;
    std::unique_ptr<ReadingPublisher> publisher_;
};
