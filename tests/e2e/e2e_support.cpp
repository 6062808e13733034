#include "e2e_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace corvane::e2e {
namespace {

constexpr std::size_t kChunk = 4096;
constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr auto kPollStep = milliseconds(5);

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
    void CloseWrite() {
        if (write >= 0) close(write);
        write = -1;
    }
    ~Pipe() {
        if (read >= 0) close(read);
        CloseWrite();
    }
};

std::vector<char*> CStrings(std::vector<std::string>& words) {
    std::vector<char*> out;
    for (auto& w : words) out.push_back(w.data());
    out.push_back(nullptr);
    return out;
}

pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> env, int outFd, int errFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, devNull, STDIN_FILENO);
    if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    if (errFd >= 0) posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    // Entries given by the caller replace inherited ones of the same name.
    const std::size_t given = env.size();
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (std::size_t i = 0; i < given; ++i) replaced = replaced || env[i].starts_with(name);
        if (!replaced) env.push_back(entry);
    }
    auto args = CStrings(argv);
    auto envp = CStrings(env);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(devNull);
    return pid;
}

std::optional<int> WaitPid(pid_t pid, milliseconds limit) {
    const auto end = Clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0) return -1;
        if (Clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
}

int Remaining(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

ProcessResult RunProcess(const std::vector<std::string>& argv, milliseconds limit,
                         const std::vector<std::string>& extraEnv) {
    ProcessResult result;
    Pipe out, err;
    const pid_t pid = Spawn(argv, extraEnv, out.write, err.write);
    out.CloseWrite();
    err.CloseWrite();
    if (pid < 0) {
        result.err = "cannot start " + argv.at(0);
        return result;
    }
    const auto end = Clock::now() + limit;
    std::array<char, kChunk> buf{};
    bool outOpen = true, errOpen = true;
    while ((outOpen || errOpen) && Clock::now() < end) {
        pollfd fds[2] = {{out.read, static_cast<short>(outOpen ? POLLIN : 0), 0},
                         {err.read, static_cast<short>(errOpen ? POLLIN : 0), 0}};
        if (poll(fds, 2, Remaining(end)) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = read(fds[i].fd, buf.data(), buf.size());
            if (n > 0) {
                (i == 0 ? result.out : result.err).append(buf.data(), static_cast<std::size_t>(n));
            } else {
                (i == 0 ? outOpen : errOpen) = false;
            }
        }
    }
    auto code = WaitPid(pid, milliseconds(Remaining(end)));
    if (!code) {
        result.timedOut = true;
        kill(pid, SIGKILL);
        WaitPid(pid, kStopLimit);
        return result;
    }
    result.exitCode = *code;
    return result;
}

SimProcess::SimProcess(const std::vector<std::string>& options) {
    std::vector<std::string> argv{CORVANE_SIM_PATH, "--exit-with-parent"};
    argv.insert(argv.end(), options.begin(), options.end());
    Pipe out;
    pid_ = Spawn(argv, {}, out.write, -1);
    out.CloseWrite();
    if (pid_ < 0) return;
    std::swap(outFd_, out.read);
    const auto end = Clock::now() + kStartLimit;
    std::string line;
    char c = 0;
    while (Clock::now() < end) {
        pollfd fd{outFd_, POLLIN, 0};
        if (poll(&fd, 1, Remaining(end)) <= 0) continue;
        if (read(outFd_, &c, 1) != 1) break;
        if (c == '\n') {
            device_ = line;
            break;
        }
        line += c;
    }
}

SimProcess::~SimProcess() {
    Stop();
    if (outFd_ >= 0) close(outFd_);
}

int SimProcess::Stop() {
    if (pid_ < 0) return -1;
    kill(pid_, SIGTERM);
    auto code = WaitPid(pid_, kStopLimit);
    if (!code) {
        kill(pid_, SIGKILL);
        WaitPid(pid_, kStopLimit);
    }
    pid_ = -1;
    return code.value_or(-1);
}

std::optional<int> SimProcess::WaitExit(milliseconds limit) {
    if (pid_ < 0) return -1;
    auto code = WaitPid(pid_, limit);
    if (code) pid_ = -1;
    return code;
}

SerialPeer::SerialPeer(const std::string& device) {
    fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return;
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd_, TCSANOW, &tio);
}

SerialPeer::~SerialPeer() {
    if (fd_ >= 0) close(fd_);
}

void SerialPeer::Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

Bytes SerialPeer::Receive(std::size_t count, milliseconds limit) {
    Bytes got;
    arrivals_.clear();
    const auto end = Clock::now() + limit;
    std::array<uint8_t, kChunk> buf{};
    while (got.size() < count && Clock::now() < end) {
        pollfd fd{fd_, POLLIN, 0};
        if (poll(&fd, 1, Remaining(end)) <= 0) continue;
        const ssize_t n = read(fd_, buf.data(), std::min(buf.size(), count - got.size()));
        if (n <= 0) break;
        const auto now = Clock::now();
        got.insert(got.end(), buf.begin(), buf.begin() + n);
        arrivals_.insert(arrivals_.end(), static_cast<std::size_t>(n), now);
    }
    return got;
}

ProcessResult RunCli(std::vector<std::string> args, milliseconds limit, const std::vector<std::string>& extraEnv) {
    args.insert(args.begin(), CORVANE_CLI);
    return RunProcess(args, limit, extraEnv);
}

ProcessResult RunCliIn(const TempDir& dir, std::vector<std::string> args, milliseconds limit) {
    args.insert(args.begin(), {"--folder", dir.path().string()});
    return RunCli(std::move(args), limit);
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    WriteFileBytes(file, Bytes(text.begin(), text.end()));
}

Bytes ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ConnectRequest() { return {0x02, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x03}; }
Bytes WriteCommand(uint8_t mode) { return {0x02, 0x05, 'M', mode, 0x00, 0x03}; }
Bytes ReadCommand(uint8_t mode) { return {0x02, 0x05, 'R', mode, 0x00, 0x03}; }

}  // namespace corvane::e2e
