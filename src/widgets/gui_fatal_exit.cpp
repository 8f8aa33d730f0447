#include "widgets/gui_fatal_exit.h"

#include "device/device_texts.h"
#include "widgets/dialogs.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void endProcess(int status)
{
    std::fflush(nullptr);
    // At once: no window closing, no settings, no destructors that could still talk to the meter.
    std::_Exit(status);
}

}  // namespace

GuiFatalExit::GuiFatalExit(Dialogs& dialogs, Terminate terminate)
    : dialogs_(dialogs), terminate_(terminate ? terminate : &endProcess)
{
}

void GuiFatalExit::deviceNotResponding()
{
    // Said where a desktop session keeps it, too (the journal, the terminal it was started from).
    std::fprintf(stderr, "kelmora: %s\n", DeviceText::NotResponding.toLocal8Bit().constData());
    dialogs_.message(DeviceText::NotResponding);
    if (beforeEnd_)
        beforeEnd_();
    terminate_(ExitStatus);
    endProcess(ExitStatus);  // a terminate function that returned must not let the caller go on
}
