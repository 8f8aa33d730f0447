// FatalExit for tests: records the end and throws, so a test sees it instead of the process ending.
#pragma once

#include "device/fatal_exit.h"

#include <stdexcept>

struct FatalExitCalled : std::runtime_error {
    FatalExitCalled() : std::runtime_error("device not responding") {}
};

class TestFatalExit : public FatalExit {
public:
    [[noreturn]] void deviceNotResponding() override
    {
        ++calls;
        throw FatalExitCalled();
    }
    int calls = 0;
};
