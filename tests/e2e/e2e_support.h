#pragma once
// Processes, temporary folders and a bare serial peer for the end-to-end tests.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::e2e {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

// A fresh folder under the system temp folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct ProcessResult {
    int exitCode = -1;  // -1 when killed or still running at the limit
    bool timedOut = false;
    std::string out;
    std::string err;

    std::string both() const { return out + err; }
};

// Runs a program to its end (killed after limit), capturing both outputs.
// extraEnv: "NAME=value" entries added to this process's environment.
ProcessResult RunProcess(const std::vector<std::string>& argv, milliseconds limit,
                         const std::vector<std::string>& extraEnv = {});

// The simulated radio, started with the given options; stopped with SIGTERM.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !device_.empty(); }
    const std::string& device() const { return device_; }
    // Sends SIGTERM and returns the exit code (-1 when it did not end cleanly).
    int Stop();
    // Waits for the radio to end by itself; nullopt when it is still running.
    std::optional<int> WaitExit(milliseconds limit);

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    std::string device_;
};

// The programmer's end of the line without the programmer: raw bytes in and out.
class SerialPeer {
public:
    explicit SerialPeer(const std::string& device);
    ~SerialPeer();
    SerialPeer(const SerialPeer&) = delete;
    SerialPeer& operator=(const SerialPeer&) = delete;

    bool ok() const { return fd_ >= 0; }
    void Send(const Bytes& bytes);
    // Collects until count bytes arrived or limit passed; arrival times kept.
    Bytes Receive(std::size_t count, milliseconds limit);
    // Collects whatever arrives within the time.
    Bytes ReceiveFor(milliseconds time) { return Receive(SIZE_MAX, time); }
    const std::vector<Clock::time_point>& arrivals() const { return arrivals_; }

private:
    int fd_ = -1;
    std::vector<Clock::time_point> arrivals_;
};

// corvane-cli, killed after limit; in a folder: --folder DIR before args.
inline constexpr milliseconds kCliLimit{20'000};
inline constexpr int kCliFailure = 1;
inline constexpr int kCliUsage = 2;
ProcessResult RunCli(std::vector<std::string> args, milliseconds limit = kCliLimit,
                     const std::vector<std::string>& extraEnv = {});
ProcessResult RunCliIn(const TempDir& dir, std::vector<std::string> args, milliseconds limit = kCliLimit);

// The CLI maps COM5 (Port.txt's default) to this device inside --serial-dir.
inline constexpr const char* kCom5Device = "ttyUSB0";
// The simulated radio's --byte-time-us for a quick image (about 0.4 s).
inline const std::string kFastByteTimeUs = "200";
inline constexpr std::size_t kImageSize = 1936;
// Drops root for a test of what a plain user is refused.
inline constexpr const char* kSetpriv = "/usr/bin/setpriv";

Bytes ReadFileBytes(const std::filesystem::path& file);
// Creates the folders on the way.
void WriteText(const std::filesystem::path& file, const std::string& text);
std::string ReadFileText(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes);

// Frames the programmer sends.
Bytes ConnectRequest();
Bytes WriteCommand(uint8_t mode);
Bytes ReadCommand(uint8_t mode);

}  // namespace corvane::e2e
