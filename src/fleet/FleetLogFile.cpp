#include "fleet/FleetLogFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "store/AtomicFile.h"
#include "store/ProgramFolder.h"

#ifdef __unix__
#include <unistd.h>
#endif

namespace corvane {
namespace {

// Thousands of rows; a larger file is not a log this program wrote.
constexpr std::uintmax_t kMaxLogBytes = 64u * 1024u * 1024u;

// Appends and waits until the bytes are on the disk: a crash right after
// must not lose the row of a radio that was just programmed.
Status AppendSynced(const std::filesystem::path& path, std::string_view bytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "ab");
    if (file == nullptr) return Status::Error("cannot write " + path.string() + ": " + ErrnoText(errno));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
#ifdef __unix__
    written = written && ::fsync(::fileno(file)) == 0;
#endif
    const std::string reason = ErrnoText(errno);
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return Status::Ok();
    return Status::Error("cannot write " + path.string() + ": " + reason);
}

Result<std::string> ReadLog(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Status::Error("cannot read " + path.string() + ": not a file");
    if (std::filesystem::file_size(path, ec) > kMaxLogBytes || ec) {
        return Status::Error("cannot read " + path.string() + ": " + (ec ? ec.message() : "too large for a fleet log"));
    }
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) return Status::Error("cannot read " + path.string());
    return text;
}

}  // namespace

Result<FleetLogFile> FleetLogFile::Open(const std::filesystem::path& path) {
    FleetLogFile log(path);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (Status made = AppendSynced(path, FleetLogHeader() + std::string(kFleetLogLineEnd)); !made) return made;
        return log;
    }
    const Result<std::string> text = ReadLog(path);
    if (!text) return text.status();
    Result<std::vector<FleetLogRow>> rows = ParseFleetLog(*text);
    if (!rows) return Status::Error(path.string() + ": " + rows.message());
    log.earlier_ = std::move(rows.value());
    // A run that was killed mid-row leaves a torn line: it is closed (its
    // quote too, or it would swallow the next row) so the next row starts
    // on a line of its own.
    if (!text->empty() && text->back() != '\n') {
        const std::string_view torn = std::string_view(*text).substr(text->rfind('\n') + 1);
        const bool openQuote = std::count(torn.begin(), torn.end(), '"') % 2 != 0;
        const std::string ending = (openQuote ? "\"" : "") + std::string(kFleetLogLineEnd);
        if (Status ended = AppendSynced(path, ending); !ended) return ended;
    }
    return log;
}

Status FleetLogFile::Append(const FleetLogRow& row) {
    return AppendSynced(path_, FleetLogLine(row) + std::string(kFleetLogLineEnd));
}

Result<std::filesystem::path> NewFleetLogPath(const Workspace& plan) {
    if (Status data = CreateFolderIfMissing(plan.DataFolder()); !data) return data;
    return plan.DataFolder() / FleetLogFileName(std::chrono::system_clock::now());
}

}  // namespace corvane
