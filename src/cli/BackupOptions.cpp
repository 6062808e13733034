// The backup folder the global options choose, and the image verbs' backups.
#include <chrono>
#include <ostream>

#include "cli/Commands.h"
#include "store/ImageBackups.h"

namespace corvane::cli {

std::filesystem::path BackupFolder(const CliContext& ctx) {
    if (ctx.noBackup) return {};
    if (!ctx.backupDir.empty()) return ctx.backupDir;
    Workspace ws;
    ws.programFolder = ctx.folder;
    return DefaultBackupFolder(ws);
}

void SaveExplicitBackup(CliContext& ctx, std::span<const uint8_t> image, int16_t edition, BackupKind kind) {
    if (ctx.noBackup || ctx.backupDir.empty()) return;
    const auto saved = SaveImageBackup(ctx.backupDir, image, edition, kind, std::chrono::system_clock::now());
    if (saved.ok()) {
        ctx.err << "backup: " << saved->string() << '\n';
    } else {
        ctx.err << kProgramName << ": backup not saved: " << saved.message() << '\n';
    }
}

}  // namespace corvane::cli
