#include "web/StorageMirror.h"

namespace corvane::web {

void StorageMirror::Tell(const char* op, const std::filesystem::path& path, const std::filesystem::path& to,
                         std::string_view bytes) {
    const emscripten::val copy = emscripten::val::global("Uint8Array")
                                     .new_(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data())))
                                     .call<emscripten::val>("slice");
    mirror_(std::string(op), path.string(), to.string(), copy);
}

Status StorageMirror::WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                   std::optional<std::filesystem::perms> perms) {
    Status written = memory_.WriteNewFile(path, bytes, perms);
    if (written.ok()) Tell("write", path, {}, bytes);
    return written;
}

Status StorageMirror::WriteJournal(const std::filesystem::path& path, std::string_view bytes) {
    Status written = memory_.WriteJournal(path, bytes);
    if (written.ok()) Tell("journal", path, {}, bytes);
    return written;
}

Status StorageMirror::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    Status renamed = memory_.Rename(from, to);
    if (renamed.ok()) Tell("rename", from, to, {});
    return renamed;
}

Status StorageMirror::Remove(const std::filesystem::path& path) {
    Status removed = memory_.Remove(path);
    if (removed.ok()) Tell("remove", path, {}, {});
    return removed;
}

}  // namespace corvane::web
