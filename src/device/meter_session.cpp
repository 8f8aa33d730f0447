#include "device/meter_session.h"

#include "platform/clock.h"
#include "device/com_error.h"
#include "device/frames.h"
#include "device/register_protocol.h"
#include "device/serial_line.h"

void settleWait(Clock& clock, const MessagePump& pump)
{
    for (int i = 0; i < 10; ++i) {
        clock.sleep(100);
        if (pump)
            pump();
    }
}

void endSession(SerialLine& line)
{
    line.ClearDTR();
    line.ClearRTS();
    for (int i = 0; i < SessionFillerCount; ++i)
        line.WriteByte(SessionFiller);
}

bool openWithLines(SerialLine& line, QString* why)
{
    try {
        line.Open();
        line.SetDTR();
        line.SetRTS();
        return true;
    } catch (const EComError& e) {
        if (why)
            *why = e.message();
        return false;
    }
}

std::optional<int> DetectMeter(SerialLine& line, RegisterProtocol& protocol, const QStringList& names,
                               int rememberedIndex, bool usb, const PortSelector& select)
{
    for (int index = static_cast<int>(names.size()) - 1; index >= 0; --index) {
        const QString shown = select(index);
        if (line.Active()) {
            // The previous candidate; a line that refuses to drop must not stop the search.
            try {
                line.ClearDTR();
                line.ClearRTS();
            } catch (const EComError&) {
            }
            line.Close();
        }
        line.SetDeviceName(shown);
        if (!openWithLines(line))
            continue;
        if (protocol.ProbeDevice(MeterAddress, usb))
            return index;
    }
    const QString shown = select(rememberedIndex);
    line.Close();
    line.SetDeviceName(shown);
    return std::nullopt;
}
