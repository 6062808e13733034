#pragma once
// A scratch program folder per test, and raw file access for byte checks.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/Workspace.h"

namespace corvane::storetest {

// A workspace on folder as a start leaves it before any file is read.
inline Workspace StartingWorkspace(const std::filesystem::path& folder) {
    Workspace ws;
    ws.programFolder = folder;
    ClearToStartUpState(ws);
    return ws;
}

class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "corvane-store-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        if (info != nullptr) name += std::string("-") + info->name();
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        // Restore write access in case a test took it away.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// n lines each holding text, every one ended by CR LF.
// Every entry below folder (paths relative to it) with its bytes; folders as such.
inline std::map<std::string, std::string> FolderTree(const std::filesystem::path& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        tree[name] = entry.is_regular_file() ? ReadBytes(entry.path()) : std::string("<folder>");
    }
    return tree;
}

inline std::string RepeatLine(const std::string& text, int n) {
    std::string body;
    for (int i = 0; i < n; ++i) body += text + "\r\n";
    return body;
}

// Splits on CR LF only, so a stray LF or CR shows up inside a line.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no line end>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline bool RunningAsRoot() { return ::geteuid() == 0; }

// Runs body as a user that permissions apply to: in this process when not
// root, else in a child switched to "nobody", which first gets the given
// paths. Returns what body returned (at most 4 KiB), or nullopt when the
// switch is not possible here.
inline std::optional<std::string> RunWithoutRoot(const std::function<std::string()>& body,
                                                 const std::vector<std::filesystem::path>& givenToChild) {
    if (!RunningAsRoot()) return body();
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) return std::nullopt;
    int channel[2];
    if (::pipe(channel) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        bool switched = true;
        for (const auto& path : givenToChild) switched = switched && ::lchown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
        switched = switched && ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0;
        if (!switched) ::_exit(1);
        const std::string result = body();
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) result.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return result;
}

inline Workspace WorkspaceIn(const ScratchFolder& folder, int16_t edition = 3) {
    Workspace ws;
    ws.programFolder = folder.path();
    ws.edition = edition;
    ws.previousEdition = edition;
    return ws;
}

}  // namespace corvane::storetest
