#pragma once
// Each file operation of a set commit, done in Emscripten's file system and
// then handed, in order, to the page, which does the same in the browser's
// storage. A tab closed between two of them leaves there what a crash leaves
// on a disk, and the next start finishes or discards it the same way.
#include <emscripten/val.h>

#include "store/CommitFileSystem.h"

namespace corvane::web {

class StorageMirror final : public CommitFileSystem {
public:
    // mirror(op, path, to, bytes): op "write", "journal", "rename" or "remove".
    explicit StorageMirror(emscripten::val mirror) : mirror_(std::move(mirror)) {}

    Status WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                        std::optional<std::filesystem::perms> perms) override;
    Status WriteJournal(const std::filesystem::path& path, std::string_view bytes) override;
    Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    Status SyncFolder(const std::filesystem::path& folder) override { return memory_.SyncFolder(folder); }
    Status Remove(const std::filesystem::path& path) override;
    std::vector<std::string> ListPlainFiles(const std::filesystem::path& folder) override {
        return memory_.ListPlainFiles(folder);
    }

private:
    void Tell(const char* op, const std::filesystem::path& path, const std::filesystem::path& to, std::string_view bytes);

    emscripten::val mirror_;
    PosixCommitFileSystem memory_;
};

}  // namespace corvane::web
