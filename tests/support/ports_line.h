// A scripted line that stands for several ports: each listed name has a meter (or a silent
// device) behind it, other names cannot be opened.
#pragma once

#include "device/com_error.h"
#include "meter_model.h"
#include "support/scripted_line.h"

#include <map>

class PortsLine : public ScriptedLine {
public:
    explicit PortsLine(VirtualClock* clock) : ScriptedLine(clock)
    {
        setResponder([this](const std::vector<uint8_t>& written) {
            std::vector<uint8_t> back;
            auto it = meters.find(DeviceName());
            if (it == meters.end())
                return back;
            for (uint8_t b : written)
                if (auto reply = it->second.feed(b))
                    back.insert(back.end(), reply->begin(), reply->end());
            return back;
        });
    }
    void Open() override
    {
        if (!Active() && !meters.count(DeviceName()))
            throw ComError(QStringLiteral("No such file or directory"), 2);
        ScriptedLine::Open();
    }
    std::map<QString, MeterModel> meters;
};

