// The window program's end when a meter that answered stops answering a reading or check asked
// for by hand: "Устройство не отвечает !" in a plain box, then the process ends at once with a
// failure status, without the close question. What was logged stays on disk; the scratch
// report is recovered and named at the next start.
#pragma once

#include "device/fatal_exit.h"

#include <QString>

#include <functional>

class Dialogs;

class GuiFatalExit : public FatalExit {
public:
    using Terminate = void (*)(int status);

    // terminate ends the process; tests give one that throws so that they can observe the end.
    explicit GuiFatalExit(Dialogs& dialogs, Terminate terminate = nullptr);

    [[noreturn]] void deviceNotResponding() override;
    // Runs after the box, just before the end (the window writes its settings there).
    void setBeforeEnd(std::function<void()> beforeEnd) { beforeEnd_ = std::move(beforeEnd); }

    static constexpr int ExitStatus = 1;

private:
    Dialogs& dialogs_;
    Terminate terminate_;
    std::function<void()> beforeEnd_;
};
