// The port group of the operations page: the port box (a listed name, or a name or device path
// typed by hand once "Вручную" allows it), detection of the meter on every listed port, and the
// USB transmission mode. It owns the meter session (the serial line and the register protocol
// on a thread of their own), opens and closes the chosen port, and runs the connection check.
#pragma once

#include <QGroupBox>

#include <memory>

class Clock;
class Dialogs;
class FatalExit;
class MeterSession;
class QCheckBox;
class QComboBox;
class QPushButton;
class SerialLine;

class ConnectionPanel : public QGroupBox {
    Q_OBJECT
public:
    // line: the serial line to own; fatal: the end of the program when a meter that answered
    // stops answering.
    ConnectionPanel(std::unique_ptr<SerialLine> line, Clock& clock, Dialogs& dialogs, FatalExit& fatal,
                    QWidget* parent);
    ~ConnectionPanel() override;  // the port is closed

    SerialLine& line() const;
    // The line and its protocol on their own thread: every exchange with the meter runs there.
    MeterSession& session() const { return *session_; }
    // The port as chosen in the port box (a listed name, or a name or device path typed).
    QString chosenPort() const;
    // The transmission mode ("USB" ticked).
    bool usb() const;
    void setUsb(bool on);  // as the settings file has it: nothing else happens

    // The entry of the port list that is chosen; -1 for a name typed by hand, or none.
    int listedPort() const;
    void chooseListedPort(int index);  // as the settings file has it: the port is not opened

    // Opens the chosen port with its lines up, closing the port used before when the choice
    // changed; a port that cannot be opened is said in a box. True when the port is open.
    bool openChosenPort();
    void closePort();

    // The connection check: the meter is probed on the chosen port and its number read, on the
    // session's thread; the result is signalled when the session is over, and "no connection"
    // is said after it. A check asked for while one runs is not started again.
    void checkConnection();
    bool checking() const { return checking_; }

signals:
    void meterAnswered(const QString& meterNumber);
    void meterSilent();

private:
    void detectMeter();

    MeterSession* session_;
    Dialogs& dialogs_;
    FatalExit& fatal_;
    bool checking_ = false;
    QPushButton* detectButton_;
    QPushButton* manualButton_;
    QComboBox* portBox_;
    QCheckBox* usbBox_;
};
