// Image files and the backup folder: names, same-second collisions, pruning
// to the newest 50 without touching anything that is not ours.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "image/ImageLayout.h"
#include "model/Edition.h"
#include "store/ImageBackups.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::WriteBytes;
using std::chrono::seconds;
using std::chrono::system_clock;

// 2026-12-08 05:15:02 UTC.
system_clock::time_point Moment() {
    using namespace std::chrono;
    return sys_days{year{2026} / December / 8} + hours{5} + minutes{15} + seconds{2};
}

MemoryImage Filled(uint8_t value) {
    MemoryImage image;
    image.fill(value);
    return image;
}

std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::size_t CountBackups(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && IsBackupFileName(entry.path().filename().string())) ++count;
    }
    return count;
}

TEST(ImageBackupNames, DateTimeEditionKind) {
    EXPECT_EQ(BackupFileName(Moment(), kEditionPmrLpd, BackupKind::Write), "2026-12-08_051502_pmr-lpd_write.img");
    EXPECT_EQ(BackupFileName(Moment(), kEditionKorea, BackupKind::Read), "2026-12-08_051502_korea_read.img");
    EXPECT_EQ(BackupFileName(Moment(), 7, BackupKind::Read, 3), "2026-12-08_051502_edition-7_read-3.img");
    EXPECT_EQ(BackupFileName(Moment(), -1, BackupKind::Write), "2026-12-08_051502_edition--1_write.img");

    for (const char* ours : {"2026-12-08_051502_pmr-lpd_write.img", "2026-12-08_051502_korea_read-12.img",
                             "2026-12-08_051502_edition--1_write.img"}) {
        EXPECT_TRUE(IsBackupFileName(ours)) << ours;
    }
    for (const char* foreign :
         {"radio.img", "notes.txt", "2026-12-08_051502_pmr-lpd_write.img.tmp-123",
          "2026-12-08_051502_PMR_write.img", "2026-12-08_051502__write.img", "2026-12-08_051502_korea_erase.img",
          "2026-12-08_051502_korea_read-1.img", "2026-12-08_051502_korea_read-02.img",
          "2026-12-08-051502_korea_read.img", "2026-12-08_05150x_korea_read.img", "2026-12-08_051502_korea_read.IMG"}) {
        EXPECT_FALSE(IsBackupFileName(foreign)) << foreign;
    }
}

TEST(ImageBackupSave, CreatesTheFolderAndWritesTheImage) {
    ScratchFolder scratch;
    const std::filesystem::path folder = scratch / "Data" / "backups";
    const auto saved = SaveImageBackup(folder, Filled(0x5A), kEditionKorea, BackupKind::Read, Moment());
    ASSERT_TRUE(saved.ok()) << saved.message();
    EXPECT_EQ(saved->filename(), "2026-12-08_051502_korea_read.img");
    EXPECT_EQ(ReadBytes(*saved), std::string(kImageLength, '\x5A'));
    EXPECT_EQ(Names(folder).size(), 1u);  // no temporary file left behind
}

TEST(ImageBackupSave, SameSecondGetsCountingSuffixWhateverTheKind) {
    ScratchFolder scratch;
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        const BackupKind kind = i == 1 ? BackupKind::Read : BackupKind::Write;
        const auto saved = SaveImageBackup(scratch.path(), Filled(static_cast<uint8_t>(i)), kEditionPmrLpd, kind, Moment());
        ASSERT_TRUE(saved.ok()) << saved.message();
        names.push_back(saved->filename().string());
        EXPECT_EQ(ReadBytes(*saved), std::string(kImageLength, static_cast<char>(i)));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"2026-12-08_051502_pmr-lpd_write.img",
                                               "2026-12-08_051502_pmr-lpd_read-2.img",
                                               "2026-12-08_051502_pmr-lpd_write-3.img"}));
}

TEST(ImageBackupSave, UnusableFolderIsAnError) {
    ScratchFolder scratch;
    WriteBytes(scratch / "file", "x");
    EXPECT_FALSE(SaveImageBackup(scratch / "file" / "backups", Filled(1), 2, BackupKind::Read, Moment()).ok());
    EXPECT_FALSE(SaveImageBackup({}, Filled(1), 2, BackupKind::Read, Moment()).ok());
}

TEST(ImageBackupPrune, KeepsTheNewestFiftyAndNothingElseIsTouched) {
    ScratchFolder scratch;
    const std::filesystem::path folder = scratch.path();
    const std::set<std::string> foreign = {"notes.txt", "radio.img", "2026-12-08_051502_korea_read.img.tmp-1"};
    for (const std::string& name : foreign) WriteBytes(folder / name, "mine");
    std::filesystem::create_directory(folder / "2000-01-01_000000_korea_read.img");

    // Two in the first second: the second of them ("-2") is the newer one,
    // although it sorts before the first by plain text.
    std::vector<std::string> saved;
    for (int i = 0; i < 55; ++i) {
        const auto when = Moment() + seconds(i == 0 ? 0 : i - 1);
        const auto path = SaveImageBackup(folder, Filled(1), kEditionPmrLpd, BackupKind::Write, when);
        ASSERT_TRUE(path.ok()) << path.message();
        saved.push_back(path->filename().string());
        EXPECT_LE(CountBackups(folder), kBackupsKept);
    }
    EXPECT_EQ(saved[1], "2026-12-08_051502_pmr-lpd_write-2.img");
    const std::set<std::string> left = Names(folder);
    EXPECT_EQ(CountBackups(folder), kBackupsKept);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(left.count(saved[static_cast<std::size_t>(i)])) << saved[i];
    for (int i = 5; i < 55; ++i) EXPECT_TRUE(left.count(saved[static_cast<std::size_t>(i)])) << saved[i];
    for (const std::string& name : foreign) EXPECT_EQ(ReadBytes(folder / name), "mine") << name;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "2000-01-01_000000_korea_read.img"));
}

TEST(ImageBackupPrune, ABackupFromAClockSetBackIsNotItsOwnVictim) {
    ScratchFolder scratch;
    for (int i = 1; i <= static_cast<int>(kBackupsKept); ++i) {
        ASSERT_TRUE(SaveImageBackup(scratch.path(), Filled(1), kEditionKorea, BackupKind::Read, Moment() + seconds(i)).ok());
    }
    const auto early = SaveImageBackup(scratch.path(), Filled(2), kEditionKorea, BackupKind::Read, Moment());
    ASSERT_TRUE(early.ok()) << early.message();
    EXPECT_TRUE(std::filesystem::exists(*early));
    EXPECT_EQ(CountBackups(scratch.path()), kBackupsKept);
    EXPECT_FALSE(std::filesystem::exists(scratch / BackupFileName(Moment() + seconds(1), kEditionKorea, BackupKind::Read)));
}

TEST(ImageFiles, ReadTakesTheFirstImageLengthBytesAndRefusesLess) {
    ScratchFolder scratch;
    ASSERT_TRUE(WriteImageFile(scratch / "a.img", Filled(0x33)).ok());
    EXPECT_EQ(ReadBytes(scratch / "a.img"), std::string(kImageLength, '\x33'));
    const auto back = ReadImageFile(scratch / "a.img");
    ASSERT_TRUE(back.ok()) << back.message();
    EXPECT_EQ(*back, Filled(0x33));

    WriteBytes(scratch / "long.img", std::string(kImageLength, '\x01') + std::string(100, '\x02'));
    const auto longer = ReadImageFile(scratch / "long.img");
    ASSERT_TRUE(longer.ok()) << longer.message();
    EXPECT_EQ(*longer, Filled(0x01));

    WriteBytes(scratch / "short.img", std::string(kImageLength - 1, '\x01'));
    const auto shorter = ReadImageFile(scratch / "short.img");
    ASSERT_FALSE(shorter.ok());
    EXPECT_EQ(shorter.message(), "only 1935 bytes, an image has 1936");

    EXPECT_FALSE(ReadImageFile(scratch / "missing.img").ok());
    EXPECT_FALSE(ReadImageFile(scratch.path()).ok());
    EXPECT_FALSE(WriteImageFile(scratch / "no" / "such" / "x.img", Filled(0)).ok());
}

// An image file refused for any reason names the file by the name given,
// the one the user chose, and changes nothing.
TEST(ImageFiles, ARefusedImageNamesTheChosenFileAndChangesNothing) {
    ScratchFolder scratch;
    Workspace ws = storetest::WorkspaceIn(scratch, kEditionKorea);
    const Workspace before = ws;
    std::vector<uint8_t> image(kImageLength, 0);
    image[image::kEdition] = 7;
    const OpenedImage edition = OpenImage(image, "radio (copy).img", ws);
    EXPECT_FALSE(edition.taken);
    EXPECT_EQ(edition.message, "radio (copy).img: invalid image: edition byte 7 (expected 2 or 3)");
    const OpenedImage shorter = OpenImage(std::span(image).first(100), "radio (copy).img", ws);
    EXPECT_EQ(shorter.message, "radio (copy).img: only 100 bytes, an image has 1936");
    EXPECT_EQ(OpenImageFile(scratch / "missing.img", ws).message, (scratch / "missing.img").string() + ": cannot open the file");
    EXPECT_EQ(ws.channels, before.channels);
    EXPECT_EQ(ws.edition, before.edition);
    EXPECT_FALSE(std::filesystem::exists(scratch / "Port.txt"));

    image[image::kEdition] = static_cast<uint8_t>(kEditionPmrLpd);
    const OpenedImage taken = OpenImage(image, "radio.img", ws);
    EXPECT_TRUE(taken.taken);
    EXPECT_EQ(taken.message, "");
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_TRUE(std::filesystem::exists(scratch / "Port.txt"));
}

}  // namespace
}  // namespace corvane
