#include <algorithm>

#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

// Absolute, links resolved where the path exists, no "." or ".." left and
// no trailing separator.
std::filesystem::path Resolved(const std::filesystem::path& path, std::error_code& ec) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    resolved = resolved.lexically_normal();
    if (!resolved.has_filename()) resolved = resolved.parent_path();
    return resolved;
}

}  // namespace

bool IsInsideDataFolder(const Workspace& ws, const std::filesystem::path& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const std::filesystem::path file = Resolved(path, ec);
    if (ec) return false;
    const std::filesystem::path data = Resolved(ws.DataFolder(), ec);
    if (ec) return false;
    const auto [dataEnd, fileRest] = std::mismatch(data.begin(), data.end(), file.begin(), file.end());
    return dataEnd == data.end() && fileRest != file.end();
}

}  // namespace corvane
