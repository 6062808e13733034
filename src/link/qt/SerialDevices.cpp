#include "link/qt/SerialDevices.h"

#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "link/UsbChips.h"

#ifdef __linux__
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#endif

namespace corvane {
namespace fs = std::filesystem;

namespace {

std::optional<uint16_t> ReadHexFile(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xffff) return std::nullopt;
    return static_cast<uint16_t>(value);
}

// The device itself when the path is a link (a serial folder of links, /dev/serial/by-id).
fs::path Resolved(const std::string& device) {
    std::error_code error;
    const fs::path resolved = fs::canonical(device, error);
    return error ? fs::path(device) : resolved;
}

}  // namespace

std::optional<UsbIds> UsbIdsOf(const std::string& device, const fs::path& sysRoot) {
    std::error_code error;
    // /sys/class/tty/NAME/device leads to the USB interface; the USB device
    // with its IDs is one of the folders above it.
    fs::path folder = fs::canonical(sysRoot / "class" / "tty" / Resolved(device).filename() / "device", error);
    if (error) return std::nullopt;
    const fs::path top = fs::canonical(sysRoot, error);
    if (error) return std::nullopt;
    for (; folder != top && folder.has_relative_path(); folder = folder.parent_path()) {
        const std::optional<uint16_t> vendor = ReadHexFile(folder / "idVendor");
        const std::optional<uint16_t> product = ReadHexFile(folder / "idProduct");
        if (vendor && product) return UsbIds{*vendor, *product};
    }
    return std::nullopt;
}

std::string CableDescription(const std::string& device, const fs::path& sysRoot) {
    const std::optional<UsbIds> ids = UsbIdsOf(device, sysRoot);
    return ids ? UsbCableText(ids->vendor, ids->product) : std::string();
}

std::string DeviceWithCable(const std::string& device) {
    const std::string cable = CableDescription(device);
    return cable.empty() ? device : device + " (" + cable + ")";
}

#ifdef __linux__

namespace {

constexpr std::size_t kGroupBufferSize = 4096;
constexpr std::size_t kMostHolders = 3;
constexpr std::array<std::string_view, 2> kLockFolders = {"/run/lock", "/var/lock"};

std::string ProcessName(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name.empty() ? "a program" : name;
}

std::string Holder(pid_t pid) { return ProcessName(pid) + ", process " + std::to_string(pid); }

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The process named by a UUCP lock file: ten ASCII digits (most programs)
// or a binary int (old ones).
std::optional<pid_t> LockFileOwner(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t first = text.find_first_not_of(' ');
    long value = 0;
    if (first != std::string::npos) {
        const char* begin = text.data() + first;
        const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
        if (error != std::errc() || end == begin) value = 0;
    }
    if (value == 0 && text.size() == sizeof(int)) {
        int binary = 0;
        std::memcpy(&binary, text.data(), sizeof binary);
        value = binary;
    }
    if (value <= 0) return std::nullopt;
    return static_cast<pid_t>(value);
}

// minicom, cu and others announce the port in a lock file.
std::optional<std::string> LockFileHolder(const std::string& device) {
    std::vector<std::string> names = {fs::path(device).filename().string(), Resolved(device).filename().string()};
    for (std::string_view folder : kLockFolders) {
        for (const std::string& name : names) {
            std::error_code error;
            const fs::path file = fs::path(folder) / ("LCK.." + name);
            if (!fs::exists(file, error)) continue;
            const std::optional<pid_t> pid = LockFileOwner(file);
            if (pid && *pid != ::getpid() && Alive(*pid)) return Holder(*pid);
        }
    }
    return std::nullopt;
}

// The group to join for the device: never root, which nobody should join
// for a serial port (the fix then names the usual serial group).
std::string SerialGroup(const std::string& device) {
    const std::string group = OwningGroup(device);
    return group == "root" ? std::string() : group;
}

OpenProblem FromErrno(int error, const std::string& device) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR: return {OpenFailure::NoSuchDevice, {}};
        case EACCES:
        case EPERM:
        case EROFS: return {OpenFailure::PermissionDenied, SerialGroup(device)};
        case EBUSY: return {OpenFailure::InUse, HoldersOf(device)};
        default: return {OpenFailure::Other, std::strerror(error)};
    }
}

}  // namespace

std::string OwningGroup(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    struct group entry {};
    struct group* found = nullptr;
    std::array<char, kGroupBufferSize> buffer{};
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return found->gr_name;
}

OpenProblem ProbeDevice(const std::string& device) {
    if (const std::optional<std::string> holder = LockFileHolder(device)) return {OpenFailure::InUse, *holder};
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno, device);
    // Exclusive mode keeps everyone but root out; root gets in and must ask.
    int exclusive = 0;
    bool held = ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
    held = held || (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK);
    ::close(fd);
    if (held) return {OpenFailure::InUse, HoldersOf(device)};
    return {};
}

std::string HoldersOf(const std::string& device) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) return {};
    const pid_t self = ::getpid();
    std::string holders;
    std::size_t count = 0;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        const std::string name = process.path().filename().string();
        pid_t pid = 0;
        const auto [end, bad] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (bad != std::errc() || end != name.data() + name.size() || pid == self) continue;
        std::error_code unreadable;
        for (const fs::directory_entry& fd : fs::directory_iterator(process.path() / "fd", unreadable)) {
            std::error_code gone;
            if (fs::read_symlink(fd.path(), gone) != target) continue;
            if (count++ < kMostHolders) holders += (holders.empty() ? "" : "; ") + Holder(pid);
            break;
        }
    }
    return holders;
}

#else

std::string OwningGroup(const std::string&) { return {}; }
OpenProblem ProbeDevice(const std::string&) { return {}; }
std::string HoldersOf(const std::string&) { return {}; }

#endif

}  // namespace corvane
