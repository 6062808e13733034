// corvane-cli --backup-dir / --no-backup with the image verbs: copies kept
// only when asked for, named by kind, and a failed copy never fails the verb.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/image_fixtures.h"
#include "e2e_support.h"
#include "store/ImageBackups.h"

namespace corvane::e2e {
namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) files.push_back(entry.path());
    return files;
}

TEST(CliBackup, BuildAndDecodeKeepCopiesOnlyWhenAsked) {
    TempDir dir;
    const std::filesystem::path backups = dir / "kept";
    const ProcessResult plain = RunCliIn(dir, {"image", "build", (dir / "plain.img").string()});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "Data" / "backups"));
    EXPECT_EQ(plain.err.find("backup"), std::string::npos) << plain.err;

    const ProcessResult built =
        RunCliIn(dir, {"--backup-dir", backups.string(), "image", "build", (dir / "out.img").string()});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    std::vector<std::filesystem::path> files = FilesIn(backups);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].filename().string().ends_with("_korea_write.img")) << files[0];
    EXPECT_EQ(ReadFileBytes(files[0]), ReadFileBytes(dir / "out.img"));
    EXPECT_NE(built.err.find("backup: " + files[0].string()), std::string::npos) << built.err;

    // The copy of a decoded file holds the image part only.
    const MemoryImage image = testing::RichImage(kEditionPmrLpd);
    Bytes longer(image.begin(), image.end());
    const Bytes imageBytes = longer;
    longer.resize(longer.size() + 64, 0xEE);
    WriteFileBytes(dir / "in.img", longer);
    const ProcessResult decoded =
        RunCliIn(dir, {"--backup-dir=" + backups.string(), "image", "decode", (dir / "in.img").string()});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    files = FilesIn(backups);
    ASSERT_EQ(files.size(), 2u);
    const auto read = std::find_if(files.begin(), files.end(), [](const std::filesystem::path& p) {
        return p.filename().string().find("_pmr-lpd_read") != std::string::npos;
    });
    ASSERT_NE(read, files.end());
    EXPECT_EQ(ReadFileBytes(*read), imageBytes);
    EXPECT_NE(decoded.err.find("backup: " + read->string()), std::string::npos) << decoded.err;
}

TEST(CliBackup, AFailedCopyIsReportedButTheVerbSucceeds) {
    TempDir dir;
    WriteFileBytes(dir / "blocker", Bytes{1});
    const ProcessResult r = RunCliIn(
        dir, {"--backup-dir", (dir / "blocker" / "sub").string(), "image", "build", (dir / "out.img").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir / "out.img").size(), kImageLength);
    EXPECT_NE(r.err.find("backup not saved"), std::string::npos) << r.err;
}

TEST(CliBackup, OptionMistakes) {
    TempDir dir;
    EXPECT_EQ(RunCliIn(dir, {"--no-backup", "--backup-dir", "x", "image", "build", "y"}).exitCode, kCliUsage);
    EXPECT_EQ(RunCliIn(dir, {"--backup-dir"}).exitCode, kCliUsage);
    EXPECT_EQ(RunCliIn(dir, {"--backup-dir="}).exitCode, kCliUsage);
    // --no-backup alone is accepted and keeps nothing.
    const ProcessResult r = RunCliIn(dir, {"--no-backup", "image", "build", (dir / "out.img").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // A folder given as the image is refused, not a crash.
    const ProcessResult folder = RunCliIn(dir, {"image", "decode", dir.path().string()});
    EXPECT_EQ(folder.exitCode, kCliFailure) << folder.err;
    EXPECT_NE(folder.err.find("cannot read"), std::string::npos) << folder.err;
}

}  // namespace
}  // namespace corvane::e2e
