#pragma once
// A scratch program folder per test, and raw file access for byte checks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/Workspace.h"

namespace corvane::storetest {

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

inline Workspace WorkspaceIn(const ScratchFolder& folder, int16_t edition = 3) {
    Workspace ws;
    ws.programFolder = folder.path();
    ws.edition = edition;
    ws.previousEdition = edition;
    return ws;
}

}  // namespace corvane::storetest
