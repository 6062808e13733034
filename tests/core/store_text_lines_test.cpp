#include <gtest/gtest.h>

#include <string>

#include "model/Edition.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::WriteBytes;

TEST(StoreValueFormat, IntegersCarryASignPlaceAndATrailingSpace) {
    EXPECT_EQ(FormatIntegerValue(1), " 1 ");
    EXPECT_EQ(FormatIntegerValue(0), " 0 ");
    EXPECT_EQ(FormatIntegerValue(-1), "-1 ");
    EXPECT_EQ(FormatIntegerValue(255), " 255 ");
    EXPECT_EQ(FormatIntegerValue(-32768), "-32768 ");
    EXPECT_EQ(JoinLines({FormatIntegerValue(1)}), std::string("\x20\x31\x20\x0D\x0A"));
    EXPECT_EQ(JoinLines({}), "");
}

TEST(StoreValueFormat, ValueEndsAtCommaAndIgnoresSurroundingSpaces) {
    EXPECT_EQ(LineValue("  446.00625  "), "446.00625");
    EXPECT_EQ(LineValue(" 1 ,2"), "1");
    EXPECT_EQ(LineValue(",5"), "");
    EXPECT_EQ(LineValue("   "), "");
    EXPECT_EQ(LineValue(""), "");
    EXPECT_EQ(LineValue("a b"), "a b");
}

TEST(StoreValueFormat, NumbersThatDoNotFitTheFieldAreUnreadable) {
    EXPECT_EQ(ReadInt16Value(" 12 "), 12);
    EXPECT_EQ(ReadInt16Value("-7 "), -7);
    EXPECT_EQ(ReadInt16Value("32767"), 32767);
    EXPECT_EQ(ReadInt16Value("-32768"), -32768);
    EXPECT_EQ(ReadInt16Value(" 70000 "), std::nullopt);
    EXPECT_EQ(ReadInt16Value("-40000"), std::nullopt);
    EXPECT_EQ(ReadInt16Value(std::string(400, '9')), std::nullopt);
    EXPECT_EQ(ReadInt16Value("junk"), 0);
    EXPECT_EQ(ReadByteValue(" 255 "), 255);
    EXPECT_EQ(ReadByteValue(" 300 "), std::nullopt);
    EXPECT_EQ(ReadByteValue("-1"), std::nullopt);
    EXPECT_EQ(ReadByteValue("3,9"), 3);
}

TEST(StoreValueFormat, TextValuesLoseLineBreaksOnly) {
    EXPECT_EQ(TextValueForLine("12345"), "12345");
    EXPECT_EQ(TextValueForLine(" A B "), " A B ");
    EXPECT_EQ(TextValueForLine("A\r\nB\rC\nD"), "ABCD");
}

TEST(StoreReadLines, AcceptsEveryLineEndStyle) {
    ScratchFolder folder;
    const auto path = folder / "lines.txt";
    for (const std::string body : {"a\r\nb\r\n\r\nc\r\n", "a\nb\n\nc\n", "a\rb\r\rc\r", "a\r\nb\n\rc"}) {
        WriteBytes(path, body);
        const auto read = ReadValueLines(path, 100);
        ASSERT_TRUE(read.ok() && read->found);
        EXPECT_EQ(read->lines, (std::vector<std::string>{"a", "b", "", "c"})) << "body: " << body;
    }
}

// Some editors start a file they save as UTF-8 with a byte-order mark.
TEST(StoreReadLines, AByteOrderMarkAtTheStartIsNoPartOfTheFirstValue) {
    ScratchFolder folder;
    WriteBytes(folder / "Port.txt", "\xEF\xBB\xBF" "7\r\n 3 \r\n");
    const auto read = ReadValueLines(folder / "Port.txt", 10);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->lines, (std::vector<std::string>{"7", " 3 "}));
    Workspace ws = storetest::WorkspaceIn(folder, kEditionKorea);
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.portName, "7");

    // Only at the very start: elsewhere the bytes are the value's own.
    WriteBytes(folder / "later.txt", "a\r\n\xEF\xBB\xBF" "b\r\n");
    EXPECT_EQ(ReadValueLines(folder / "later.txt", 10)->lines, (std::vector<std::string>{"a", "\xEF\xBB\xBF" "b"}));
}

TEST(StoreReadLines, MissingFileEmptyFileAndLineCap) {
    ScratchFolder folder;
    EXPECT_FALSE(ReadValueLines(folder / "none.txt", 10)->found);
    EXPECT_FALSE(ReadValueLines(folder.path(), 10)->found);

    WriteBytes(folder / "empty.txt", "");
    const auto empty = ReadValueLines(folder / "empty.txt", 10);
    ASSERT_TRUE(empty.ok() && empty->found);
    EXPECT_TRUE(empty->lines.empty());

    WriteBytes(folder / "many.txt", storetest::RepeatLine("x", 1000));
    const auto capped = ReadValueLines(folder / "many.txt", 256);
    ASSERT_TRUE(capped.ok());
    EXPECT_EQ(capped->lines.size(), 256u);
}

TEST(StoreReadLines, JunkAndHugeLinesAreBounded) {
    ScratchFolder folder;
    std::string junk(8 * 1024 * 1024, 'z');
    junk += "\r\n";
    for (int i = 0; i < 512; ++i) junk.push_back(static_cast<char>(i));  // NULs and high bytes
    WriteBytes(folder / "junk.txt", junk);
    const auto read = ReadValueLines(folder / "junk.txt", 256);
    ASSERT_TRUE(read.ok());
    const auto& lines = read->lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), kMaxLineLength);
    EXPECT_EQ(lines[1].front(), '\0');
    for (const auto& line : lines) EXPECT_LE(line.size(), kMaxLineLength);
}

TEST(StoreAtomicWrite, ReplacesTheWholeFileAndLeavesNoTemporary) {
    ScratchFolder folder;
    const auto path = folder / "Port.txt";
    WriteBytes(path, std::string(5000, 'o'));
    ASSERT_TRUE(WriteFileAtomically(path, "new\r\n").ok());
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(StoreAtomicWrite, FailureNamesTheFileAndKeepsTheOldOne) {
    ScratchFolder folder;
    // A parent that is a regular file fails for root as well.
    WriteBytes(folder / "plain", "x");
    const auto impossible = folder / "plain" / "Port.txt";
    const Status status = WriteFileAtomically(impossible, "data");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write " + impossible.string() + ": Not a directory");
    EXPECT_EQ(ReadBytes(folder / "plain"), "x");
}

TEST(StoreAtomicWrite, ReadOnlyFolderKeepsTheOldFile) {
    ScratchFolder folder;
    const auto path = folder / "Group.txt";
    WriteBytes(path, "old\r\n");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const auto message = storetest::RunWithoutRoot(
        [&] {
            const Status status = WriteFileAtomically(path, "new\r\n");
            return status.ok() ? std::string("saved") : status.message();
        },
        {folder.path(), path});
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    if (!message) GTEST_SKIP() << "cannot run as a user that permissions apply to (needs root to switch to nobody)";
    EXPECT_EQ(*message, "cannot write " + path.string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}

}  // namespace
}  // namespace corvane
