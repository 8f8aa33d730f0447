// The port group of the operations page: the port box (a listed name, or a name or device path
// typed by hand once "Вручную" allows it), detection of the meter on every listed port, and the
// USB transmission mode. It owns the serial line and the register protocol over it, opens and
// closes the chosen port, and runs the connection check.
#pragma once

#include <QGroupBox>

#include <memory>

class Clock;
class Dialogs;
class FatalExit;
class QCheckBox;
class QComboBox;
class QPushButton;
class RegisterProtocol;
class SerialLine;

class ConnectionPanel : public QGroupBox {
    Q_OBJECT
public:
    // line: the serial line to own; fatal: the end of the program when a meter that answered
    // stops answering.
    ConnectionPanel(std::unique_ptr<SerialLine> line, Clock& clock, Dialogs& dialogs, FatalExit& fatal,
                    QWidget* parent);
    ~ConnectionPanel() override;  // the port is closed

    SerialLine& line() const { return *line_; }
    // The register protocol over the line, made on first use.
    RegisterProtocol& protocol();
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
    // The end of a reading or connection check: lines down and the filler, then the port
    // closed whatever the line does, so that a meter pulled out mid-session leaves no dead
    // port open; a line failure is shown in the standard error box when asked to.
    void endSessionAndClosePort(bool reportLineFailure);

    // The connection check: the meter is probed on the chosen port and its number read. The
    // result is signalled before the port closes; "no connection" is said after it.
    void checkConnection();

signals:
    void meterAnswered(const QString& meterNumber);
    void meterSilent();

private:
    void detectMeter();

    std::unique_ptr<SerialLine> line_;
    Clock& clock_;
    Dialogs& dialogs_;
    FatalExit& fatal_;
    std::unique_ptr<RegisterProtocol> protocol_;
    QPushButton* detectButton_;
    QPushButton* manualButton_;
    QComboBox* portBox_;
    QCheckBox* usbBox_;
};
