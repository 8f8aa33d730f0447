// The steps every exchange with the meter shares: the settling wait after the lines are
// raised, the closing of a session (lines down, 100 bytes 0xAA), and the detection of the
// meter over the port list.
#pragma once

#include <QStringList>

#include <functional>
#include <optional>

class Clock;
class RegisterProtocol;
class SerialLine;

// Lets pending window messages run; empty where there is no window.
using MessagePump = std::function<void()>;

// About one second: ten times a 100 ms sleep followed by the pending messages.
void settleWait(Clock& clock, const MessagePump& pump);

// ClearDTR, ClearRTS, then the byte 0xAA one hundred times: the filler the meter resynchronises on.
void endSession(SerialLine& line);

constexpr int SessionFillerCount = 100;
constexpr uint8_t SessionFiller = 0xAA;

// Opens the port under the given name and raises DTR and RTS; false when any of the three
// fails (the port then stays as it is, open when only a line operation failed); why gets
// the failure's text.
bool openWithLines(SerialLine& line, QString* why = nullptr);

// Detection: candidates from the last name to the first, each opened with its lines raised
// and probed at once. select(index) shows an item in the port box and gives the box's text
// afterwards. Returns the index of the port that answered (left open with its lines
// raised), or nothing: then the remembered index is selected again, the port closed and
// its name set to the box's text.
using PortSelector = std::function<QString(int index)>;
std::optional<int> DetectMeter(SerialLine& line, RegisterProtocol& protocol, const QStringList& names,
                               int rememberedIndex, bool usb, const PortSelector& select);
