#include "publish/ui/broker_link.h"

#include "logging/meter_reading.h"
#include "platform/profile_file.h"
#include "publish/reading_publisher.h"

#include <QLabel>
#include <QPointer>
#include <QStatusBar>

#include <mutex>

// Carries the publisher's events from its thread to the field; the link cuts it when it goes,
// so an event that comes late reaches nothing.
struct BrokerLink::Relay {
    std::mutex mutex;
    QLabel* field = nullptr;

    void show(const QString& text)
    {
        std::lock_guard lock(mutex);
        if (field)
            QMetaObject::invokeMethod(field, [f = field, text] { f->setText(text); f->setToolTip(text); },
                                      Qt::QueuedConnection);
    }
};

namespace {

QString eventText(const QString& url, const PublisherEvent& e)
{
    switch (e.kind) {
    case PublisherEvent::Kind::Connected:
        return e.again ? QStringLiteral("MQTT: связь с брокером %1 восстановлена, отправляются показания: %2")
                             .arg(url)
                             .arg(e.backlog)
                       : QStringLiteral("MQTT: показания отправляются на %1").arg(url);
    case PublisherEvent::Kind::Failing:
        return QStringLiteral("MQTT: брокер %1 недоступен (%2). Показания сохраняются в отчет и будут отправлены позже")
            .arg(url, e.detail);
    case PublisherEvent::Kind::PositionDamaged:
        return QStringLiteral("MQTT: файл позиции отправки %1 поврежден; показания с %2 отправляются снова")
            .arg(e.detail, e.since.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    case PublisherEvent::Kind::Refused:
        return QStringLiteral("MQTT: брокер %1 не принимает %2. Показания сохраняются в отчет и будут отправлены, когда брокер их примет")
            .arg(url, e.detail);
    case PublisherEvent::Kind::PositionNotWritten:
        return QStringLiteral("MQTT: позиция отправки не сохраняется (%1)").arg(e.detail);
    }
    return QString();
}

}  // namespace

BrokerLink::BrokerLink(QStatusBar* statusBar, QObject* parent)
    : QObject(parent), field_(new QLabel(statusBar)), relay_(std::make_shared<Relay>())
{
    field_->setObjectName(QStringLiteral("MqttStatus"));
    // A long reason never widens the window: the field gives way and its tip holds the whole text.
    field_->setMinimumWidth(1);
    statusBar->addPermanentWidget(field_);
    relay_->field = field_;
    // The field may go before the link (it belongs to the status bar).
    connect(field_, &QObject::destroyed, this, [relay = relay_] {
        std::lock_guard lock(relay->mutex);
        relay->field = nullptr;
    });
}

BrokerLink::~BrokerLink()
{
    {
        std::lock_guard lock(relay_->mutex);
        relay_->field = nullptr;
    }
    stop();
}

void BrokerLink::start(const QString& settingsFile)
{
    start(settingsFile, PublisherTimings{});
}

void BrokerLink::start(const QString& settingsFile, const PublisherTimings& timings)
{
    stop();
    QString problem;
    const std::optional<MqttTarget> target = ReadMqttTarget(ProfileFile(settingsFile), &problem);
    if (!target) {
        field_->setText(problem.isEmpty() ? QString() : QStringLiteral("MQTT: адрес брокера в kelmora.ini не годится: %1").arg(problem));
        field_->setToolTip(field_->text());
        return;
    }
    if (!target->caFile.isEmpty()) {
        const QString caProblem = target->tls ? MqttCaFileProblem(target->caFile)
                                              : QStringLiteral("он нужен только адресу mqtts://");
        if (!caProblem.isEmpty()) {
            field_->setText(QStringLiteral("MQTT: файл удостоверяющего центра CaFile в kelmora.ini не годится: %1").arg(caProblem));
            field_->setToolTip(field_->text());
            return;
        }
    }
    const std::shared_ptr<Relay> relay = relay_;
    const QString url = target->url;
    publisher_ = std::make_unique<ReadingPublisher>(
        *target, [relay, url](const PublisherEvent& e) { relay->show(eventText(url, e)); }, timings);
}

void BrokerLink::follow(const QString& reportPath)
{
    if (publisher_)
        publisher_->follow(reportPath);
}

void BrokerLink::readingStored(const MeterReading& reading)
{
    if (publisher_)
        publisher_->readingStored(reading.serialNumber, reading.dt, reading.utcOffsetSeconds);
}

void BrokerLink::reportMoved(const QString& fromPath, const QString& toPath)
{
    if (publisher_)
        publisher_->reportMoved(fromPath, toPath);
}

void BrokerLink::stop()
{
    if (publisher_) {
        publisher_->stop(1000);
        publisher_.reset();
    }
}
