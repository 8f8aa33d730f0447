// The FatalExit seam: the end of the program when a meter that answered stops answering.
// The window shows "Устройство не отвечает !" and ends with status 0; the command-line tool
// prints it and ends with its own status; tests observe the call.
#pragma once

class FatalExit {
public:
    virtual ~FatalExit() = default;
    [[noreturn]] virtual void deviceNotResponding() = 0;
};
