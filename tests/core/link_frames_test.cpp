// Command frames, reply classification, port numbers and the link timers.
#include <gtest/gtest.h>

#include <vector>

#include "link/CommandFrame.h"
#include "link/LinkTimers.h"
#include "link/PortMap.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(LinkFrames, CommandsCarryModeAtIndexThree) {
    EXPECT_EQ(ConnectionRequest(), (Bytes{0x02, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x03}));
    EXPECT_EQ(WriteCommand(1), (Bytes{0x02, 0x05, 0x4D, 0x01, 0x00, 0x03}));
    EXPECT_EQ(ReadCommand(0), (Bytes{0x02, 0x05, 0x52, 0x00, 0x00, 0x03}));
}

TEST(LinkFrames, ReplyClassification) {
    EXPECT_EQ(ClassifyReply(Bytes{0x02, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x03}), ReplyKind::Connection);
    // Index 6 is not examined.
    EXPECT_EQ(ClassifyReply(Bytes{0x02, 0x07, 'C', 'O', 'N', 'N', 0x7F, 0x03}), ReplyKind::Connection);
    EXPECT_EQ(ClassifyReply(Bytes{0x02, 0x07, 'C', 'O', 'N', 'X', 0x00, 0x03}), ReplyKind::Foreign);
    // Index 1 says 5 but index 5 is not the end byte.
    EXPECT_EQ(ClassifyReply(Bytes{0x02, 0x05, 'C', 'O', 'N', 'N', 0x00, 0x03}), ReplyKind::Malformed);
    EXPECT_EQ(ClassifyReply(Bytes{0x01, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x03}), ReplyKind::Malformed);
    // L pointing past a short buffer reads as 0, not out of bounds.
    EXPECT_EQ(ClassifyReply(Bytes{0x02, 0xFF, 'C'}), ReplyKind::Malformed);
    EXPECT_EQ(ClassifyReply(Bytes{}), ReplyKind::Malformed);
}

TEST(LinkPortMap, NumbersMapToLinuxFamilies) {
    const PortMap system;
    EXPECT_EQ(system.DeviceForPort("1"), "/dev/ttyS0");
    EXPECT_EQ(system.DeviceForPort("4"), "/dev/ttyS3");
    EXPECT_EQ(system.DeviceForPort("5"), "/dev/ttyUSB0");
    EXPECT_EQ(system.DeviceForPort("8"), "/dev/ttyUSB3");
    EXPECT_EQ(system.DeviceForPort("9"), "/dev/ttyACM0");
    EXPECT_EQ(system.DeviceForPort("12"), "/dev/ttyACM3");
    for (const char* none : {"", "0", "13", "-1", "x"}) EXPECT_EQ(system.DeviceForPort(none), "") << none;
}

TEST(LinkPortMap, SerialDirAndFixedDevice) {
    EXPECT_EQ(PortMap::WithSerialDir("/tmp/sim").DeviceForPort("6"), "/tmp/sim/ttyUSB1");
    EXPECT_EQ(PortMap::WithSerialDir("").DeviceForPort("6"), "/dev/ttyUSB1");
    const PortMap fixed = PortMap::WithFixedDevice("/dev/pts/7");
    EXPECT_EQ(fixed.DeviceForPort("3"), "/dev/pts/7");
    EXPECT_EQ(fixed.DeviceForPort(""), "/dev/pts/7");
    EXPECT_TRUE(LooksLikeDevicePath("/dev/ttyUSB0"));
    EXPECT_TRUE(LooksLikeDevicePath("./pty"));
    EXPECT_FALSE(LooksLikeDevicePath("7"));
}

TEST(LinkPortMap, DeviceTableNamesOneDevicePerNumber) {
    const PortMap table = PortMap::WithDeviceTable({"port-2", "port-1"});
    EXPECT_EQ(table.DeviceForPort("1"), "port-2");
    EXPECT_EQ(table.DeviceForPort("2"), "port-1");
    EXPECT_EQ(table.DeviceForPort("3"), "");  // past the table
    EXPECT_EQ(table.DeviceForPort("0"), "");
    EXPECT_EQ(table.DeviceForPort(""), "");
    EXPECT_EQ(PortMap::WithDeviceTable({}).DeviceForPort("5"), "");
}

TEST(LinkTimersTest, LateServiceSkipsTicksInsteadOfBunching) {
    LinkTimers timers;
    timers.Start(LinkTimer::Timer2, 10, 0);
    timers.Start(LinkTimer::Timer1, 25, 0);
    EXPECT_EQ(timers.NextDue(), 10);
    EXPECT_FALSE(timers.TakeDue(9));
    EXPECT_EQ(timers.TakeDue(10), LinkTimer::Timer2);
    EXPECT_FALSE(timers.TakeDue(10));
    // Serviced 95 ms late: each timer fires once, then resumes from now.
    EXPECT_EQ(timers.TakeDue(115), LinkTimer::Timer2);
    EXPECT_EQ(timers.TakeDue(115), LinkTimer::Timer1);
    EXPECT_FALSE(timers.TakeDue(115));
    EXPECT_EQ(timers.NextDue(), 125);
    timers.Stop(LinkTimer::Timer2);
    timers.Stop(LinkTimer::Timer1);
    EXPECT_FALSE(timers.NextDue());
}

}  // namespace
}  // namespace corvane
