// kelmora-meter-sim: a virtual thermohygrometer on a pseudo-terminal. It prints the
// device path on the first line of its output and answers the register protocol there
// until it is stopped (SIGINT, SIGTERM).
#include "meter_model.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

[[noreturn]] void fail(const QString& text)
{
    std::fprintf(stderr, "kelmora-meter-sim: %s\n", text.toUtf8().constData());
    std::exit(2);
}

long parseNumber(const QString& text, const QString& what, long lo, long hi)
{
    bool ok = false;
    const long v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toLong(&ok, 16)
                                                                              : text.toLong(&ok, 10);
    if (!ok || v < lo || v > hi)
        fail(QStringLiteral("%1: \"%2\" is not a number from %3 to %4").arg(what, text).arg(lo).arg(hi));
    return v;
}

void parseRange(const QString& text, const QString& what, long lo, long hi, int& min, int& max)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2)
        fail(QStringLiteral("%1: expected MIN:MAX, got \"%2\"").arg(what, text));
    min = static_cast<int>(parseNumber(parts[0], what, lo, hi));
    max = static_cast<int>(parseNumber(parts[1], what, lo, hi));
    if (min > max)
        fail(QStringLiteral("%1: MIN is above MAX").arg(what));
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                ::usleep(1000);
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelmora-meter-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual thermohygrometer for Kelmora. Opens a pseudo-terminal, prints its device path\n"
        "on the first line of the output and answers the meter's register protocol there:\n"
        "register 0x1002 serial number, 0x0200 humidity (hundredths of %), 0x0202 temperature\n"
        "(hundredths of a degree, signed). Values are raw register values, decimal or 0x hex.\n"
        "Map a port name to the device in section [Ports] of kelmora.ini\n"
        "(kelmora-cli ports --map COM1 DEVICE) or type the device path into the port box."));
    parser.addHelpOption();
    const QCommandLineOption link({QStringLiteral("l"), QStringLiteral("link")},
                                  QStringLiteral("Keep a symbolic link PATH to the device while running."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("Serial number (default 0x00A3)."),
                                    QStringLiteral("N"), QStringLiteral("0x00A3"));
    const QCommandLineOption rh(QStringLiteral("rh"), QStringLiteral("Humidity register, 0..65535 (default 4570 = 45,7 %)."),
                                QStringLiteral("N"), QStringLiteral("4570"));
    const QCommandLineOption t(QStringLiteral("t"), QStringLiteral("Temperature register, -32768..32767 (default 2150 = 21,5 °C)."),
                               QStringLiteral("N"), QStringLiteral("2150"));
    const QCommandLineOption drift(QStringLiteral("drift"),
                                   QStringLiteral("Let humidity and temperature wander within their bounds at every read."));
    const QCommandLineOption rhRange(QStringLiteral("rh-range"), QStringLiteral("Bounds of the wandering humidity (default 2000:8000)."),
                                     QStringLiteral("MIN:MAX"), QStringLiteral("2000:8000"));
    const QCommandLineOption tRange(QStringLiteral("t-range"), QStringLiteral("Bounds of the wandering temperature (default -1000:3500)."),
                                    QStringLiteral("MIN:MAX"), QStringLiteral("-1000:3500"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Fault: never answer."));
    const QCommandLineOption swapCrc(QStringLiteral("swap-crc"), QStringLiteral("Fault: send the CRC bytes high byte first."));
    const QCommandLineOption replyAddress(QStringLiteral("reply-address"),
                                          QStringLiteral("Fault: answer with this address instead of 1."), QStringLiteral("N"));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"), QStringLiteral("Fault: stop answering after N replies."),
                                       QStringLiteral("N"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Fault: wait MS milliseconds before each reply."),
                                   QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     QStringLiteral("Report every request and reply on stderr."));
    parser.addOptions({link, serial, rh, t, drift, rhRange, tRange, silent, swapCrc, replyAddress, stopAfter, delay, verbose});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument \"%1\" (see --help)").arg(parser.positionalArguments().front()));

    MeterConfig config;
    config.serialNumber = static_cast<uint16_t>(parseNumber(parser.value(serial), QStringLiteral("--serial"), 0, 0xFFFF));
    config.humidity = static_cast<uint16_t>(parseNumber(parser.value(rh), QStringLiteral("--rh"), 0, 0xFFFF));
    config.temperature = static_cast<int16_t>(parseNumber(parser.value(t), QStringLiteral("--t"), -32768, 32767));
    config.drift = parser.isSet(drift);
    parseRange(parser.value(rhRange), QStringLiteral("--rh-range"), 0, 0xFFFF, config.humidityMin, config.humidityMax);
    parseRange(parser.value(tRange), QStringLiteral("--t-range"), -32768, 32767, config.temperatureMin, config.temperatureMax);
    config.silent = parser.isSet(silent);
    config.swapCrc = parser.isSet(swapCrc);
    if (parser.isSet(replyAddress))
        config.replyAddress = static_cast<uint8_t>(parseNumber(parser.value(replyAddress), QStringLiteral("--reply-address"), 0, 255));
    if (parser.isSet(stopAfter))
        config.stopAfter = parseNumber(parser.value(stopAfter), QStringLiteral("--stop-after"), 0, 1L << 30);
    config.delayMs = static_cast<int>(parseNumber(parser.value(delay), QStringLiteral("--delay"), 0, 60000));
    config.seed = static_cast<unsigned>(::getpid());
    const bool chatty = parser.isSet(verbose);

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        fail(QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    const QByteArray device = ::ptsname(master);
    // Holding the other end open keeps the terminal alive between the program's sessions;
    // raw mode from the start, so nothing is echoed before the program sets the line up.
    const int slave = ::open(device.constData(), O_RDWR | O_NOCTTY);
    if (slave < 0)
        fail(QStringLiteral("cannot open %1: %2").arg(QString::fromLocal8Bit(device), QString::fromLocal8Bit(std::strerror(errno))));
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B19200);
    ::cfsetospeed(&raw, B19200);
    ::tcsetattr(slave, TCSANOW, &raw);

    const QByteArray linkPath = parser.value(link).toLocal8Bit();
    if (!linkPath.isEmpty()) {
        ::unlink(linkPath.constData());
        if (::symlink(device.constData(), linkPath.constData()) != 0)
            fail(QStringLiteral("cannot make the link %1: %2").arg(QString::fromLocal8Bit(linkPath), QString::fromLocal8Bit(std::strerror(errno))));
    }

    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);

    std::printf("%s\n", device.constData());
    std::fflush(stdout);
    if (chatty)
        std::fprintf(stderr, "kelmora-meter-sim: answering on %s\n", device.constData());

    MeterModel meter(config);
    uint8_t buffer[256];
    while (!stopRequested) {
        pollfd p{master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 200);
        if (ready <= 0)
            continue;
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) {
            ::usleep(10000);  // nobody on the other end yet
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const long before = meter.requests();
            const std::optional<Frame> reply = meter.feed(buffer[i]);
            if (chatty && meter.requests() != before)
                std::fprintf(stderr, "kelmora-meter-sim: request %ld%s\n", meter.requests(), reply ? "" : " (no answer)");
            if (!reply)
                continue;
            if (config.delayMs > 0)
                ::usleep(static_cast<useconds_t>(config.delayMs) * 1000);
            writeAll(master, reply->data(), reply->size());
        }
    }

    if (!linkPath.isEmpty())
        ::unlink(linkPath.constData());
    ::close(slave);
    ::close(master);
    return 0;
}
