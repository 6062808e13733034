// corvane-radio-sim: a simulated radio on a pseudo-terminal.
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "PtyEndpoint.h"
#include "RadioMemory.h"
#include "RadioSim.h"
#include "SimLog.h"
#include "SimOptions.h"

namespace {

using corvane::sim::RadioSim;
using Clock = RadioSim::Clock;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kReadChunk = 4096;
// Back-off when a given device reports a hang-up with nobody on the other end.
constexpr auto kHangupBackoff = std::chrono::milliseconds(20);
// How long --once waits for the programmer to take the last burst.
constexpr auto kDrainLimit = std::chrono::seconds(3);
constexpr auto kDrainPoll = std::chrono::milliseconds(10);
// Bytes still travel inside the pty after its queue reads empty.
constexpr auto kDrainSettle = std::chrono::milliseconds(200);

int OpenSignalFd() {
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &mask, nullptr) != 0) return -1;
    return signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK);
}

timespec ToTimespec(Clock::duration d) {
    if (d < Clock::duration::zero()) d = Clock::duration::zero();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

void WriteAll(int fd, std::span<const uint8_t> bytes, corvane::sim::SimLog& log) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // Nobody is reading and the line is full: the bytes are lost, as on a cable.
            log.Line("TX DROPPED " + std::to_string(bytes.size() - done) + ": " + std::strerror(errno));
            return;
        }
    }
}

void WaitForDrain(const corvane::sim::PtyEndpoint& port) {
    const auto limit = Clock::now() + kDrainLimit;
    auto emptySince = Clock::now();
    while (Clock::now() < limit) {
        if (port.PendingForPeer() > 0) emptySince = Clock::now();
        if (Clock::now() - emptySince >= kDrainSettle) return;
        const timespec ts = ToTimespec(kDrainPoll);
        nanosleep(&ts, nullptr);
    }
}

int Run(const corvane::sim::SimOptions& options) {
    corvane::sim::SimLog log(options.logFile);
    if (!log.ok()) {
        std::cerr << "corvane-radio-sim: cannot write log " << options.logFile << '\n';
        return kExitFailure;
    }
    const int sigFd = OpenSignalFd();
    // A test harness that dies must not leave radios behind.
    if (options.exitWithParent) prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (sigFd < 0) {
        std::cerr << "corvane-radio-sim: signalfd: " << std::strerror(errno) << '\n';
        return kExitFailure;
    }
    auto port = corvane::sim::PtyEndpoint::Open(options.device);
    if (!port) {
        std::cerr << "corvane-radio-sim: " << port.message() << '\n';
        close(sigFd);
        return kExitFailure;
    }
    const auto& ep = *port.value();
    if (!options.link.empty()) {
        if (auto s = port.value()->CreateLink(options.link); !s) {
            std::cerr << "corvane-radio-sim: " << s.message() << '\n';
            close(sigFd);
            return kExitFailure;
        }
    }
    corvane::sim::RadioMemory memory(options.memoryFile);
    RadioSim radio(options, memory, log, [&](std::span<const uint8_t> bytes) { WriteAll(ep.fd(), bytes, log); });
    log.Line("READY " + ep.path() + (memory.loadedFromFile() ? " memory=file" : " memory=default"));
    std::cout << ep.path() << std::endl;

    std::vector<uint8_t> buffer(kReadChunk);
    for (;;) {
        pollfd fds[2] = {{ep.fd(), POLLIN, 0}, {sigFd, POLLIN, 0}};
        const auto deadline = radio.NextDeadline();
        timespec ts{};
        const timespec* timeout = nullptr;
        if (deadline) {
            ts = ToTimespec(*deadline - Clock::now());
            timeout = &ts;
        }
        const int ready = ppoll(fds, 2, timeout, nullptr);
        if (ready < 0 && errno != EINTR) {
            std::cerr << "corvane-radio-sim: poll: " << std::strerror(errno) << '\n';
            break;
        }
        if (fds[1].revents & POLLIN) {
            log.Line("STOP signal");
            break;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(ep.fd(), buffer.data(), buffer.size());
            if (n > 0) radio.OnBytes(std::span(buffer.data(), static_cast<std::size_t>(n)), Clock::now());
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            const timespec backoff = ToTimespec(kHangupBackoff);
            nanosleep(&backoff, nullptr);
        }
        radio.OnTick(Clock::now());
        if (options.once && radio.completedTransfers() > 0 && !radio.sending()) {
            WaitForDrain(ep);
            log.Line("STOP once");
            break;
        }
    }
    close(sigFd);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = corvane::sim::ParseSimOptions(args);
    if (!parsed) {
        std::cerr << "corvane-radio-sim: " << parsed.message() << "\n\n" << corvane::sim::SimUsageText();
        return kExitUsage;
    }
    if (parsed->helpRequested) {
        std::cout << corvane::sim::SimUsageText();
        return kExitOk;
    }
    return Run(parsed->options);
}
