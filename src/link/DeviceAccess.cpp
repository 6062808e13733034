#include "link/DeviceAccess.h"

#include <grp.h>
#include <sys/stat.h>

#include <array>

namespace corvane {
namespace {

constexpr std::size_t kGroupBufferSize = 4096;

}  // namespace

std::string OwningGroup(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return {};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    struct group entry {};
    struct group* found = nullptr;
    std::array<char, kGroupBufferSize> buffer{};
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return found->gr_name;
#endif
}

std::string DescribeOpenFailure(const std::string& device, const std::string& reason, bool permissionDenied) {
    std::string text = "cannot open " + device + ": " + reason;
    if (!permissionDenied) return text;
    const std::string group = OwningGroup(device);
    if (group.empty()) return text + " (your user needs read and write access to the device)";
    return text + " (your user must be in the group '" + group + "' that owns the device: 'sudo usermod -aG " + group +
           " $USER', then log in again)";
}

}  // namespace corvane
