// kelmora-cli against meters that fail: silent lines, spoiled replies, a meter that stops
// answering. These take seconds each (real time-outs of the real serial path).
#include "support/meter_sim_process.h"
#include "support/pty_pair.h"

#include <gtest/gtest.h>

TEST(CliMeter, SessionEndsWithTheFillerAndTheMeterFollowsTheNextOne)
{
    // The far end sees the request frames and then the hundred 0xAA bytes of the session's end.
    PtyPair pty;
    const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {"check", pty.devicePath(), "--usb"}, 20000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Cannot establish a connection!\n");
    const QByteArray line = pty.receive(10 * 6 + 100, 100);
    ASSERT_EQ(line.size(), 10 * 6 + 100);
    EXPECT_EQ(line.left(6), QByteArray("\x01\x19\x02\x00\xD1\x7F", 6));
    EXPECT_EQ(line.right(100), QByteArray(100, char(0xAA)));
}

TEST(MeterSim, FaultsSeenThroughTheCli)
{
    struct Case {
        QStringList sim;
        QString command;
        int exitCode;
        QString err;
    };
    const std::vector<Case> cases = {
        {{"--swap-crc"}, "check", 1, "Cannot establish a connection!\n"},
        {{"--reply-address", "2", "--delay", "20"}, "check", 3, "The meter does not answer!\n"},
        {{"--swap-crc"}, "read", 1, "Cannot read the data!\n"},
    };
    for (const Case& c : cases) {
        MeterSimProcess sim(c.sim);
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {c.command, sim.devicePath()}, 90000);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.sim.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err) << c.sim.join(' ').toStdString();
    }
}
