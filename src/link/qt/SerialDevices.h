#pragma once
// What Linux tells about a serial device besides opening it: the USB IDs of
// the cable behind it (sysfs), the group that owns it, and whether another
// program holds it. The desktop and corvane-cli use these; on other systems
// they know nothing.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "link/SerialPort.h"

namespace corvane {

struct UsbIds {
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// The USB vendor and product of the device's cable; nullopt for a device
// that is not on USB (a built-in port, a pseudo-terminal). sysRoot stands
// for /sys.
std::optional<UsbIds> UsbIdsOf(const std::string& device, const std::filesystem::path& sysRoot = "/sys");
// "FTDI FT232R, USB 0403:6001"; "" for a device without USB IDs.
std::string CableDescription(const std::string& device, const std::filesystem::path& sysRoot = "/sys");

// "/dev/ttyUSB0 (FTDI FT232R, USB 0403:6001)": the device as a port list
// shows it; the bare device when it has no USB IDs.
std::string DeviceWithCable(const std::string& device);

// The name of the group owning the file, "" when it cannot be found.
std::string OwningGroup(const std::string& path);

// Looks at the device before it is opened for good: missing, refused, or
// held by another program (a UUCP lock file of a living process, exclusive
// mode, which does not stop root, or an flock). None when it may be opened;
// Other with the system's reason in detail.
OpenProblem ProbeDevice(const std::string& device);

// "minicom, process 4242" for the other processes that have the device
// open, as far as this user may see; "" when none is seen.
std::string HoldersOf(const std::string& device);

}  // namespace corvane
