// What the desktop and corvane-cli read about serial devices from Linux:
// the cable's USB IDs from sysfs and the chip they name.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e_support.h"
#include "link/UsbChips.h"
#include "link/qt/SerialDevices.h"

namespace corvane::e2e {
namespace {

namespace fs = std::filesystem;

// /sys as Linux lays it out for a USB serial adapter and a USB modem-class device.
void FakeSysfs(const fs::path& sys) {
    const fs::path usb = sys / "devices/pci0000:00/0000:00:14.0/usb1";
    WriteText(usb / "1-2/idVendor", "0403\n");
    WriteText(usb / "1-2/idProduct", "6001\n");
    fs::create_directories(usb / "1-2/1-2:1.0/ttyUSB0");
    WriteText(usb / "1-3/idVendor", "1a86\n");
    WriteText(usb / "1-3/idProduct", "55d4\n");
    fs::create_directories(usb / "1-3/1-3:1.0/tty/ttyACM0");
    WriteText(sys / "devices/platform/serial8250/idVendor", "ffff\n");  // a vendor alone names no cable
    fs::create_directories(sys / "devices/platform/serial8250/tty/ttyS0");
    fs::create_directories(sys / "class/tty/ttyUSB0");
    fs::create_directories(sys / "class/tty/ttyACM0");
    fs::create_directories(sys / "class/tty/ttyS0");
    fs::create_directory_symlink("../../../devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0",
                                 sys / "class/tty/ttyUSB0/device");
    fs::create_directory_symlink("../../../devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0",
                                 sys / "class/tty/ttyACM0/device");
    fs::create_directory_symlink("../../../devices/platform/serial8250", sys / "class/tty/ttyS0/device");
}

TEST(SerialDevices, CableChipFromSysfs) {
    TempDir dir;
    const fs::path sys = dir / "sys";
    FakeSysfs(sys);
    const std::optional<UsbIds> ftdi = UsbIdsOf("/dev/ttyUSB0", sys);
    ASSERT_TRUE(ftdi);
    EXPECT_EQ(ftdi->vendor, 0x0403);
    EXPECT_EQ(ftdi->product, 0x6001);
    EXPECT_EQ(CableDescription("/dev/ttyUSB0", sys), "FTDI FT232R, USB 0403:6001");
    EXPECT_EQ(CableDescription("/dev/ttyACM0", sys), "WCH CH9102, USB 1a86:55d4");
    // A link to the device (a serial folder, /dev/serial/by-id) leads to it.
    fs::create_directories(dir / "dev");
    fs::create_symlink(dir / "dev" / "ttyUSB0", dir / "by-id");
    std::ofstream(dir / "dev" / "ttyUSB0").put('\n');
    EXPECT_EQ(CableDescription((dir / "by-id").string(), sys), "FTDI FT232R, USB 0403:6001");
    // Built-in ports, pseudo-terminals and the unknown have none.
    EXPECT_EQ(CableDescription("/dev/ttyS0", sys), "");
    EXPECT_EQ(CableDescription("/dev/pts/3", sys), "");
    EXPECT_EQ(DeviceWithCable("/dev/pts/3"), "/dev/pts/3");

    EXPECT_EQ(UsbCableText(0x067b, 0x23a3), "Prolific PL2303GC, USB 067b:23a3");
    EXPECT_EQ(UsbCableText(0x10c4, 0x1234), "Silicon Labs, USB 10c4:1234");
    EXPECT_EQ(UsbCableText(0x1234, 0xabcd), "USB 1234:abcd");
}

TEST(SerialDevices, OwningGroupNamesTheDevicesGroup) {
    EXPECT_FALSE(OwningGroup("/dev/null").empty());
    EXPECT_EQ(OwningGroup("/no/such/tty"), "");
    EXPECT_EQ(ProbeDevice("/no/such/tty").failure, OpenFailure::NoSuchDevice);
}

}  // namespace
}  // namespace corvane::e2e
