// Backups kept by the link engine: one per write as it starts and one per
// completed read, and a backup folder that fails must not stop a transfer.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "image/MemoryImage.h"
#include "link_harness.h"
#include "store/ImageBackups.h"

namespace corvane::linktest {
namespace {

constexpr int64_t kWriteLimitMs = 60000;
constexpr int64_t kReadLimitMs = 20000;

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) files.push_back(entry.path());
    return files;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void RunAnsweredWrite(LinkBench& bench) {
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    const std::size_t before = bench.port.sent.size();
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.TxIndex() > 0; }, 2000));
}

void RunAnsweredRead(LinkBench& bench, const std::vector<uint8_t>& burst) {
    if (!bench.engine.Connected()) bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    std::size_t before = bench.port.sent.size();
    bench.engine.RequestRead();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    before = bench.port.sent.size();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 2000));
    bench.ReceiveStream(bench.LastSentAt() + 150, burst, kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, kReadLimitMs));
}

std::vector<uint8_t> KoreaImage() {
    Workspace radio;
    radio.edition = kEditionKorea;
    radio.previousEdition = kEditionKorea;
    ResetToEditionDefaults(radio);
    const Result<MemoryImage> image = BuildImage(radio);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? std::vector<uint8_t>(image->begin(), image->end()) : std::vector<uint8_t>(kImageLength);
}

TEST(LinkBackup, WriteKeepsTheSentImageBeforeTheFirstByte) {
    LinkBench bench;
    const std::filesystem::path backups = bench.folder / "Data" / "backups";
    EXPECT_EQ(bench.storage.BackupFolder(), backups);
    RunAnsweredWrite(bench);
    // Already there while the image is still going out.
    ASSERT_EQ(bench.listener.backupsSaved.size(), 1u);
    ASSERT_EQ(FilesIn(backups).size(), 1u);

    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.WriteRunning(); }, kWriteLimitMs));
    EXPECT_EQ(bench.listener.LastMessage(), "DOWNLOAD COMPLETE");
    const std::vector<uint8_t> sent = bench.port.AllSent();
    ASSERT_GE(sent.size(), kImageLength);
    const std::vector<uint8_t> image(sent.end() - static_cast<std::ptrdiff_t>(kImageLength), sent.end());

    const std::vector<std::filesystem::path> files = FilesIn(backups);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].string(), bench.listener.backupsSaved[0]);
    EXPECT_EQ(FileBytes(files[0]), image);
    EXPECT_TRUE(files[0].filename().string().ends_with("_pmr-lpd_write.img")) << files[0];
    EXPECT_TRUE(bench.listener.backupFailures.empty());
}

TEST(LinkBackup, ReadKeepsTheReceivedBytesNamedByTheImageEdition) {
    LinkBench bench;
    std::vector<uint8_t> burst = KoreaImage();
    const std::vector<uint8_t> image = burst;
    burst.resize(2000, 0xEE);  // the tail beyond the image is not part of it
    RunAnsweredRead(bench, burst);
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");

    const std::vector<std::filesystem::path> files = FilesIn(bench.folder / "Data" / "backups");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(FileBytes(files[0]), image);
    EXPECT_TRUE(files[0].filename().string().ends_with("_korea_read.img")) << files[0];
    EXPECT_EQ(bench.listener.backupsSaved.size(), 1u);
}

TEST(LinkBackup, ARefusedImageIsStillKept) {
    LinkBench bench;
    std::vector<uint8_t> burst(kImageLength, 0);
    burst[14] = 9;  // unknown edition: the decoder refuses it
    RunAnsweredRead(bench, burst);
    EXPECT_NE(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    const std::vector<std::filesystem::path> files = FilesIn(bench.folder / "Data" / "backups");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].filename().string().ends_with("_edition-9_read.img")) << files[0];
    EXPECT_EQ(FileBytes(files[0]), burst);
}

TEST(LinkBackup, UnwritableFolderIsReportedOnceAndTheTransfersFinish) {
    LinkBench bench;
    // A folder below a plain file cannot be created, whoever runs the test.
    const std::filesystem::path blocker = bench.folder / "blocker";
    std::ofstream(blocker) << "x";
    bench.storage.SetBackupFolder(blocker / "backups");

    RunAnsweredWrite(bench);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.WriteRunning(); }, kWriteLimitMs));
    EXPECT_EQ(bench.listener.LastMessage(), "DOWNLOAD COMPLETE");
    EXPECT_EQ(bench.engine.TxIndex(), static_cast<int>(kImageLength));
    ASSERT_EQ(bench.listener.backupFailures.size(), 1u);
    EXPECT_NE(bench.listener.backupFailures[0].find("backup"), std::string::npos);

    RunAnsweredRead(bench, KoreaImage());
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(bench.ws.edition, kEditionKorea);
    EXPECT_EQ(bench.listener.backupFailures.size(), 2u);
    EXPECT_TRUE(bench.listener.backupsSaved.empty());
    // No message box for either.
    for (const Message& m : bench.listener.messages) EXPECT_EQ(m.text.find("backup"), std::string::npos) << m.text;
}

TEST(LinkBackup, EmptyFolderSwitchesBackupsOff) {
    LinkBench bench;
    bench.storage.SetBackupFolder({});
    RunAnsweredRead(bench, KoreaImage());
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_FALSE(std::filesystem::exists(bench.folder / "Data" / "backups"));
    EXPECT_TRUE(bench.listener.backupsSaved.empty());
    EXPECT_TRUE(bench.listener.backupFailures.empty());
}

}  // namespace
}  // namespace corvane::linktest
