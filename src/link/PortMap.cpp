#include "link/PortMap.h"

#include <cstdlib>
#include <system_error>

#include "model/NumberParse.h"

namespace corvane {
namespace {

constexpr int kPortsPerFamily = 4;
constexpr std::string_view kSystemDevices = "/dev";
// COM1-4, COM5-8, COM9-12 in order.
constexpr std::string_view kLinuxFamilies[] = {"ttyS", "ttyUSB", "ttyACM"};

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute;
}

}  // namespace

PortMap PortMap::WithSerialDir(const std::filesystem::path& serialDir) {
    PortMap map;
    if (!serialDir.empty()) map.serialDir_ = Absolute(serialDir);
    return map;
}

PortMap PortMap::WithFixedDevice(const std::filesystem::path& device) {
    PortMap map;
    map.fixedDevice_ = Absolute(device);
    return map;
}

PortMap PortMap::WithDeviceTable(std::vector<std::string> devices) {
    PortMap map;
    map.deviceTable_ = std::move(devices);
    return map;
}

PortMap PortMap::FromEnvironment() {
    const char* dir = std::getenv(std::string(kSerialDirVariable).c_str());
    return WithSerialDir(dir ? std::filesystem::path(dir) : std::filesystem::path());
}

std::string PortMap::DeviceForPort(std::string_view portName) const {
    if (!fixedDevice_.empty()) return fixedDevice_.string();
    if (portName.empty() || portName == "0") return {};
    const long long number = LenientInteger(portName);
    if (deviceTable_) {
        if (number < kFirstPort || number > static_cast<long long>(deviceTable_->size())) return {};
        return (*deviceTable_)[static_cast<std::size_t>(number - kFirstPort)];
    }
#ifdef _WIN32
    if (number < kFirstPort) return {};
    return "COM" + std::to_string(number);
#else
    if (number < kFirstPort || number > kLastPort) return {};
    const int index = static_cast<int>(number) - kFirstPort;
    const std::string name =
        std::string(kLinuxFamilies[index / kPortsPerFamily]) + std::to_string(index % kPortsPerFamily);
    const std::filesystem::path dir = serialDir_.empty() ? std::filesystem::path(kSystemDevices) : serialDir_;
    return (dir / name).string();
#endif
}

bool LooksLikeDevicePath(std::string_view port) {
    return port.find('/') != std::string_view::npos || port.find('\\') != std::string_view::npos ||
           (!port.empty() && port.front() == '.');
}

}  // namespace corvane
