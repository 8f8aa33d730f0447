// Holds a serial device open through the program's own serial port until its input ends,
// so that a test can see another process's open refused.
#include "device/com_error.h"
#include "device/serial_port.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 64;
    SerialPort port;
    port.SetDeviceName(QString::fromLocal8Bit(argv[1]));
    try {
        port.Open();
    } catch (const ComError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
