#pragma once
// Which device a port number (PortName "1" to "12") opens.
//   Windows: COMn.
//   Linux:   COM1-4 /dev/ttyS0-3, COM5-8 /dev/ttyUSB0-3, COM9-12 /dev/ttyACM0-3.
// A serial folder replaces /dev (for pseudo-terminals in tests), and a fixed
// device path overrides the number altogether (CLI --port PATH).
#include <filesystem>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kSerialDirVariable = "CORVANE_SERIAL_DIR";
// The port numbers the program offers: COM1 to COM12.
inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 12;

class PortMap {
public:
    PortMap() = default;

    // serialDir empty: the system's /dev.
    static PortMap WithSerialDir(const std::filesystem::path& serialDir);
    // Every port number opens this device.
    static PortMap WithFixedDevice(const std::filesystem::path& device);
    // Port number n opens devices[n - 1] (hosts without numbered devices,
    // as a browser with its granted ports); a number past the list opens nothing.
    static PortMap WithDeviceTable(std::vector<std::string> devices);
    // The serial folder from CORVANE_SERIAL_DIR, when set.
    static PortMap FromEnvironment();

    // The device for PortName; empty when PortName names no port ("", "0",
    // not a number, or a number this platform has no device for).
    std::string DeviceForPort(std::string_view portName) const;

    bool HasFixedDevice() const { return !fixedDevice_.empty(); }
    const std::filesystem::path& SerialDir() const { return serialDir_; }

private:
    std::filesystem::path serialDir_;
    std::filesystem::path fixedDevice_;
    std::optional<std::vector<std::string>> deviceTable_;
};

// "--port" accepts a number 1 to 12 or a device path.
bool LooksLikeDevicePath(std::string_view port);

}  // namespace corvane
