// The window program's end when a meter that answered stops answering: "Устройство не
// отвечает !" in a plain box, then the process ends at once with status 0, without the close
// question and without writing the settings.
#pragma once

#include "device/fatal_exit.h"

#include <QString>

class Dialogs;

class GuiFatalExit : public FatalExit {
public:
    using Terminate = void (*)(int status);

    // terminate ends the process; tests give one that throws so that they can observe the end.
    explicit GuiFatalExit(Dialogs& dialogs, Terminate terminate = nullptr);

    [[noreturn]] void deviceNotResponding() override;

private:
    Dialogs& dialogs_;
    Terminate terminate_;
};
