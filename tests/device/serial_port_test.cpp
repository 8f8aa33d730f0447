// The serial port on the real path: a pseudo-terminal whose far end the test drives.
#include "device/com_error.h"
#include "device/serial_port.h"
#include "support/meter_sim_process.h"
#include "support/pty_pair.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

struct OpenPort {
    OpenPort()
    {
        port.SetDeviceName(pty.devicePath());
        port.Open();
    }
    PtyPair pty;
    SerialPort port;
};

template <typename F>
void expectComError(F&& f, const QString& text)
{
    try {
        f();
        ADD_FAILURE() << "no error, expected " << text.toStdString();
    } catch (const ComError& e) {
        EXPECT_EQ(e.message(), text);
        EXPECT_EQ(e.ErrorCode(), 0);
    }
}

}  // namespace

TEST(SerialPort, ClosedPortRefusesLineOperationsAndIgnoresPurgeAndClose)
{
    SerialPort port;
    EXPECT_EQ(port.DeviceName(), "COM1");
    EXPECT_FALSE(port.Active());
    uint8_t buf[6]{};
    const std::vector<std::function<void()>> refused = {
        [&] { port.Read(buf, 6); },        [&] { port.Write(buf, 6, true); },
        [&] { port.WriteByte(0xAA); },     [&] { port.SetDTR(); },
        [&] { port.ClearDTR(); },          [&] { port.SetRTS(); },
        [&] { port.ClearRTS(); },
    };
    for (const auto& op : refused)
        expectComError(op, "Can't perform this operation on a closed port");
    port.PurgeInput();
    port.PurgeOutput();
    port.Close();
    EXPECT_FALSE(port.Active());
}

TEST(SerialPort, DeviceNameChangesOnlyWhileClosed)
{
    OpenPort p;
    EXPECT_TRUE(p.port.Active());
    p.port.SetDeviceName(p.pty.devicePath());  // the same name: nothing
    p.port.Open();                              // already open: nothing
    EXPECT_TRUE(p.port.Active());
    expectComError([&] { p.port.SetDeviceName("COM2"); }, "Can't perform this operation on an open port");
    EXPECT_EQ(p.port.DeviceName(), p.pty.devicePath());
    p.port.Close();
    p.port.SetDeviceName("COM2");
    EXPECT_EQ(p.port.DeviceName(), "COM2");
}

TEST(SerialPort, OpenAppliesTheMetersLineSettings)
{
    OpenPort p;
    const int fd = ::open(p.pty.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        GTEST_SKIP() << "the terminal is held exclusively";
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(t.c_cflag & CSTOPB) << "two stop bits";
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) << "every byte passes unchanged";
}

TEST(SerialPort, OpenOfAMissingDeviceFailsWithTheSystemsTextAndStaysClosed)
{
    SerialPort port;
    port.SetDeviceName("/dev/kelmora-no-such-device");
    try {
        port.Open();
        FAIL() << "opened a missing device";
    } catch (const ComError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_NE(e.ErrorCode(), 0);
    }
    EXPECT_FALSE(port.Active());
}

TEST(SerialPort, OpenOfADeviceAnotherProcessHoldsFails)
{
    PtyPair pty;
    QProcess holder;
    holder.start(QStringLiteral(KELMORA_PORT_HOLDER), {pty.devicePath()});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readLine().trimmed(), "held");

    SerialPort port;
    port.SetDeviceName(pty.devicePath());
    EXPECT_THROW(port.Open(), ComError);
    EXPECT_FALSE(port.Active());

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    port.Open();  // free again
    EXPECT_TRUE(port.Active());
}

TEST(SerialPort, ModemLinesOnADeviceWithoutThemSucceed)
{
    OpenPort p;
    EXPECT_NO_THROW({
        p.port.SetDTR();
        p.port.SetRTS();
        p.port.ClearDTR();
        p.port.ClearRTS();
    });
}

TEST(SerialPort, ShortReadFailsWithTimeoutHalfASecondAfterItStarted)
{
    for (const int available : {4, 0}) {
        OpenPort p;
        p.pty.send(QByteArray("\x01\x02\x03\x04", available));
        uint8_t buf[6] = {9, 9, 9, 9, 9, 9};
        QElapsedTimer t;
        t.start();
        try {
            p.port.Read(buf, 6);
            FAIL() << "read did not fail";
        } catch (const ComError& e) {
            EXPECT_EQ(e.message(), "Timeout");
        }
        const qint64 ms = t.elapsed();
        EXPECT_GE(ms, 480) << available << " bytes available";
        EXPECT_LT(ms, 1500) << available << " bytes available";
        if (available == 4) {
            EXPECT_EQ(buf[3], 4);
            EXPECT_EQ(buf[4], 9) << "the rest of the buffer is left alone";
        }
    }
}

TEST(SerialPort, TheHalfSecondCountsFromTheStartOfTheRead)
{
    // Bytes that keep trickling in do not stretch the limit.
    OpenPort p;
    std::thread sender([&] {
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            p.pty.send(QByteArray(1, char(i)));
        }
    });
    uint8_t buf[6]{};
    QElapsedTimer t;
    t.start();
    EXPECT_THROW(p.port.Read(buf, 6), ComError);
    EXPECT_LT(t.elapsed(), 700);
    sender.join();
}

TEST(SerialPort, QueuedBytesAreTakenAtOnceAndTheRestStays)
{
    OpenPort p;
    p.pty.send(QByteArray("ABCDEFGH"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    uint8_t buf[6]{};
    QElapsedTimer t;
    t.start();
    p.port.Read(buf, 6);
    EXPECT_LT(t.elapsed(), 250);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), 6), "ABCDEF");
    uint8_t rest[2]{};
    p.port.Read(rest, 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(rest), 2), "GH");

    // Purged input is gone.
    p.pty.send(QByteArray("XY"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    p.port.PurgeInput();
    EXPECT_THROW(p.port.Read(rest, 1), ComError);
}

TEST(SerialPort, WritesReachTheLineInOrder)
{
    OpenPort p;
    const uint8_t frame[6] = {1, 0x19, 2, 0, 0xD1, 0x7F};
    p.port.Write(frame, 6, true);
    EXPECT_EQ(p.pty.receive(6), QByteArray(reinterpret_cast<const char*>(frame), 6));

    for (int i = 0; i < 100; ++i)
        p.port.WriteByte(static_cast<uint8_t>(i));
    p.port.Write(frame, 0, true);  // waits for the last unfinished byte
    const QByteArray got = p.pty.receive(100);
    ASSERT_EQ(got.size(), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(static_cast<uint8_t>(got[i]), i);
}

TEST(SerialPort, ADeviceThatVanishesMidReadGivesAnErrorNotACrash)
{
    OpenPort p;
    std::thread pull([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        p.pty.hangUp();
    });
    uint8_t buf[6]{};
    EXPECT_THROW(p.port.Read(buf, 6), ComError);
    pull.join();
    // Whatever state the port is in now, the next operations fail cleanly or do nothing.
    try {
        p.port.Write(buf, 6, true);
        p.port.Read(buf, 6);
    } catch (const ComError&) {
    }
    p.port.Close();
    EXPECT_FALSE(p.port.Active());
}

TEST(SerialPort, MappedNameOpensTheMappedDevice)
{
    PtyPair pty;
    SerialPort port(PortNameMap({{QStringLiteral("COM7"), pty.devicePath()}}));
    port.SetDeviceName("COM7");
    EXPECT_EQ(port.devicePath(), pty.devicePath());
    port.Open();
    EXPECT_TRUE(port.Active());
}

// The mapping of the listed names is read at every open: a meter mapped anew (kelmora-cli
// ports --map) reaches a program that is already running.
TEST(SerialPort, MappingIsReadAtEveryOpen)
{
    PtyPair first;
    PtyPair second;
    QString mappedTo = first.devicePath();
    int reads = 0;
    SerialPort port(std::function<PortNameMap()>([&] {
        ++reads;
        return PortNameMap({{QStringLiteral("COM7"), mappedTo}});
    }));
    port.SetDeviceName(QStringLiteral("COM7"));
    port.Open();
    EXPECT_EQ(port.devicePath(), first.devicePath());
    port.Close();
    mappedTo = second.devicePath();
    port.Open();
    EXPECT_EQ(port.devicePath(), second.devicePath());
    port.WriteByte(0x42);
    EXPECT_EQ(second.receive(1), QByteArray("\x42"));
    port.Close();
    EXPECT_GE(reads, 2);
}
