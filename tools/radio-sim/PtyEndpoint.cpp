#include "PtyEndpoint.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace corvane::sim {
namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

Status MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return Status::Error(Errno("tcgetattr"));
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) return Status::Error(Errno("tcsetattr"));
    return Status::Ok();
}

}  // namespace

Result<std::unique_ptr<PtyEndpoint>> PtyEndpoint::Open(const std::string& device) {
    auto ep = std::make_unique<PtyEndpoint>(Key{});
    if (!device.empty()) {
        ep->fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (ep->fd_ < 0) return Status::Error(Errno("cannot open " + device));
        ep->path_ = device;
        if (isatty(ep->fd_)) {
            if (Status s = MakeRaw(ep->fd_); !s) return s;
        }
        return ep;
    }
    ep->fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (ep->fd_ < 0) return Status::Error(Errno("posix_openpt"));
    if (grantpt(ep->fd_) != 0 || unlockpt(ep->fd_) != 0) return Status::Error(Errno("grantpt/unlockpt"));
    char name[128] = {};
    if (ptsname_r(ep->fd_, name, sizeof name) != 0) return Status::Error(Errno("ptsname"));
    ep->path_ = name;
    ep->slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (ep->slaveFd_ < 0) return Status::Error(Errno("cannot open " + ep->path_));
    if (Status s = MakeRaw(ep->slaveFd_); !s) return s;
    if (Status s = MakeRaw(ep->fd_); !s) return s;
    const int flags = fcntl(ep->fd_, F_GETFL);
    if (flags < 0 || fcntl(ep->fd_, F_SETFL, flags | O_NONBLOCK) != 0) return Status::Error(Errno("fcntl"));
    return ep;
}

PtyEndpoint::~PtyEndpoint() {
    if (!link_.empty()) {
        // Remove the link only while it still points at this radio.
        char target[256] = {};
        const ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && path_ == std::string(target, static_cast<std::size_t>(n))) unlink(link_.c_str());
    }
    if (slaveFd_ >= 0) close(slaveFd_);
    if (fd_ >= 0) close(fd_);
}

int PtyEndpoint::PendingForPeer() const {
    int pending = 0;
    if (slaveFd_ >= 0 && ioctl(slaveFd_, FIONREAD, &pending) == 0) return pending;
    if (ioctl(fd_, TIOCOUTQ, &pending) == 0) return pending;
    return 0;
}

Status PtyEndpoint::CreateLink(const std::string& linkPath) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0) {
        // A stale link from an earlier run may go; a real file may not.
        if (!S_ISLNK(st.st_mode)) return Status::Error(linkPath + " exists and is not a symlink");
        if (unlink(linkPath.c_str()) != 0) return Status::Error(Errno("cannot remove " + linkPath));
    }
    if (symlink(path_.c_str(), linkPath.c_str()) != 0) return Status::Error(Errno("cannot link " + linkPath));
    link_ = linkPath;
    return Status::Ok();
}

}  // namespace corvane::sim
