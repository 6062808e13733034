// WorkbookBytes through libxlsxwriter, SaveWorkbook through the working
// files' atomic write.
#include <xlsxwriter.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/AtomicFile.h"
#include "store/workbook/OoxmlText.h"
#include "store/workbook/Workbook.h"

namespace corvane {
namespace {

constexpr const char* kScratchPattern = "corvane-export-XXXXXX";
constexpr const char* kScratchBook = "book.xlsx";

// libxlsxwriter writes only to a named file and assembles it from temporary
// files of its own. Both go into a folder only this process may enter, so
// no link planted there is ever followed, in memory where the system has
// such a folder, so a full disk fails the one write that names the user's
// file and never the library (which would complain on stderr).
class ScratchFolder {
public:
    static std::optional<ScratchFolder> Create() {
        std::vector<std::filesystem::path> bases;
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') bases.emplace_back(runtime);
        bases.emplace_back("/dev/shm");
        std::error_code ec;
        if (auto temp = std::filesystem::temp_directory_path(ec); !ec) bases.push_back(temp);
        for (const auto& base : bases) {
            std::string pattern = (base / kScratchPattern).string();
            if (::mkdtemp(pattern.data()) != nullptr) return ScratchFolder(pattern);
        }
        return std::nullopt;
    }
    ScratchFolder(ScratchFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder& operator=(ScratchFolder&&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    explicit ScratchFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

lxw_error WriteCell(lxw_worksheet* sheet, int row, int col, const CellValue& value) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(col - 1);
    switch (value.kind()) {
        case CellValue::Kind::Number: return worksheet_write_number(sheet, r, c, value.number(), nullptr);
        case CellValue::Kind::Text:
        case CellValue::Kind::Error:
            return worksheet_write_string(sheet, r, c, EscapeLiteralOoxmlEscapes(value.text()).c_str(), nullptr);
        case CellValue::Kind::Boolean: return worksheet_write_boolean(sheet, r, c, value.number() != 0.0, nullptr);
        case CellValue::Kind::Empty:
        case CellValue::Kind::Uncomputed: break;
    }
    return LXW_NO_ERROR;
}

lxw_error FillSheet(lxw_workbook* workbook, const Workbook& book) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    if (sheet == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (const auto& [position, value] : book.Cells()) {
        if (const lxw_error error = WriteCell(sheet, position.first, position.second, value); error != LXW_NO_ERROR) {
            return error;
        }
    }
    return LXW_NO_ERROR;
}

Result<std::string> ReadBack(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return Status::Error("the workbook could not be read back from a temporary folder");
    return bytes;
}

}  // namespace

Result<std::string> WorkbookBytes(const Workbook& book) {
    const std::optional<ScratchFolder> scratch = ScratchFolder::Create();
    if (!scratch) return Status::Error("no temporary folder could be created to assemble the workbook in");
    const std::filesystem::path file = scratch->path() / kScratchBook;
    std::string tmpdir = scratch->path().string();
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    lxw_workbook* workbook = workbook_new_opt(file.string().c_str(), &options);
    if (workbook == nullptr) return Status::Error("out of memory");
    if (const lxw_error error = FillSheet(workbook, book); error != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        return Status::Error(lxw_strerror(error));
    }
    // workbook_close frees the workbook whether or not the write succeeded.
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR) {
        return Status::Error(std::string("the workbook could not be assembled in a temporary folder: ") + lxw_strerror(error));
    }
    return ReadBack(file);
}

Status SaveWorkbook(const Workbook& book, const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, ec)) {
        return Status::Error("cannot write " + path.string() + ": the folder " + folder.string() + " does not exist");
    }
    const Result<std::string> bytes = WorkbookBytes(book);
    if (!bytes) return Status::Error("cannot write " + path.string() + ": " + bytes.message());
    return WriteFileAtomically(path, *bytes);
}

}  // namespace corvane
