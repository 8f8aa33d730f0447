// A scripted line with the virtual meter on its other end: requests written in any chunks
// reach the meter byte by byte, its replies come back at once.
#pragma once

#include "meter_model.h"
#include "support/scripted_line.h"

#include <memory>

class MeterLine : public ScriptedLine {
public:
    explicit MeterLine(VirtualClock* clock, MeterConfig config = {})
        : ScriptedLine(clock), meter_(std::make_shared<MeterModel>(config))
    {
        auto meter = meter_;
        setResponder([meter](const std::vector<uint8_t>& written) {
            std::vector<uint8_t> back;
            for (uint8_t b : written)
                if (auto reply = meter->feed(b))
                    back.insert(back.end(), reply->begin(), reply->end());
            return back;
        });
    }

    MeterModel& meter() { return *meter_; }

private:
    std::shared_ptr<MeterModel> meter_;
};
