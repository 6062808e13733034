#pragma once
// The radio's end of the serial line: a fresh pseudo-terminal pair or a given
// device, in raw mode, optionally reachable through a symlink.
#include <memory>
#include <string>

#include "model/Status.h"

namespace corvane::sim {

class PtyEndpoint {
public:
    // Creates a pty pair (device empty) or opens the device.
    static Result<std::unique_ptr<PtyEndpoint>> Open(const std::string& device);
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    int fd() const { return fd_; }                  // where the radio reads and writes
    const std::string& path() const { return path_; }  // what the programmer opens
    // Bytes written by the radio that the programmer has not read yet.
    int PendingForPeer() const;

    Status CreateLink(const std::string& linkPath);

private:
    struct Key {
        explicit Key() = default;
    };

public:
    explicit PtyEndpoint(Key) {}

private:

    int fd_ = -1;
    // Held open so that the master sees no hang-up while the programmer
    // closes and re-opens the port between transfers.
    int slaveFd_ = -1;
    std::string path_;
    std::string link_;
};

}  // namespace corvane::sim
