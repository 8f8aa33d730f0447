// The panel " Отчет " of the operations page, shown after a successful connection check: the
// read button, the values of the last stored reading, the name to save the working report
// under with its save button, automatic reading with its interval, and the number of the meter
// the check found. The panel holds what it shows as values; the main window does the reading.
#pragma once

#include <QGroupBox>

#include <cstdint>

class OnOffSwitch;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

class ReadingPanel : public QGroupBox {
    Q_OBJECT
public:
    ReadingPanel(const QIcon& saveIcon, QWidget* parent);

    // While a reading runs the read button is disabled, so a click or a tick of automatic
    // reading during its settling wait does nothing.
    bool readingRunning() const;
    void setReadingRunning(bool running);

    // The values (hundredths) of a stored reading stay on show until a save or the next check.
    void showReading(std::int16_t humidity, std::int16_t temperature);
    void clearReading();

    // The name typed for the working report (empty: none).
    QString typedName() const;
    void clearTypedName();

    // The meter's number as the connection check found it ("-----" before).
    const QString& meterNumber() const { return meterNumber_; }
    void setMeterNumber(const QString& number);

    // The reading interval as typed, in seconds (the settings file keeps the text).
    QString intervalText() const;
    void setIntervalText(const QString& text);

    void stopAutomaticReading();
    bool automaticReadingOn() const;
    // The timer's interval for a typed number of seconds: not a number, or negative, is the
    // default minute; more than the timer can hold is the longest it can (the text stays).
    static int intervalMs(const QString& text);

signals:
    // The read button was clicked: by the user, by switching automatic reading on, or by a
    // tick of automatic reading.
    void readRequested();
    void saveRequested();

private:
    void startAutomaticReading();

    QPushButton* readButton_;
    QLabel* humidityValue_;
    QLabel* temperatureValue_;
    QLineEdit* nameEdit_;
    QToolButton* saveButton_;
    OnOffSwitch* automaticSwitch_;
    QLabel* meterNumberLabel_;
    QLineEdit* intervalEdit_;
    QTimer* timer_;
    QString meterNumber_;
};
