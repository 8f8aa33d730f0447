// What the meter commands of kelmora-cli share: the port from a PORT argument, the protocol
// on the real clock, and the end of the program when a meter stops answering (status 3).
#pragma once

#include "device/fatal_exit.h"
#include "device/register_protocol.h"
#include "device/serial_port.h"

#include <QStringList>

constexpr int ExitNoAnswer = 1;
constexpr int ExitCannotOpen = 2;
constexpr int ExitNotResponding = 3;
constexpr int ExitNotStored = 4;  // log: a reading could not be written to the report
constexpr int ExitUsage = 64;

class CliFatalExit : public FatalExit {
public:
    // Says that the meter does not answer and ends with status 3, or throws MeterStoppedAnswering
    // when throwInstead is set.
    [[noreturn]] void deviceNotResponding() override;
    bool throwInstead = false;
};

struct CliMeter {
    CliMeter();
    SerialPort port;
    CliFatalExit fatal;
    RegisterProtocol protocol;
};

// Options of a meter command: PORT (when wanted) and --usb. False (after a message) on bad usage.
struct MeterOptions {
    QString port;
    bool usb = false;
};
bool parseMeterOptions(const QStringList& args, bool wantPort, const char* usage, MeterOptions& out);

// That the port cannot be opened, and why, with the device a listed name stands for.
void sayCannotOpen(const QString& port, const QString& why);
// Lines down, the 0xAA filler, close; a line that fails at this point only closes.
void closeSession(CliMeter& meter);
