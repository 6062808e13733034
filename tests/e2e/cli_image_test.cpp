// corvane-cli image build|decode|show as a user runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/image_fixtures.h"
#include "e2e_support.h"
#include "image/ImageDigest.h"

namespace corvane::e2e {
namespace {

Bytes ImageBytes(const MemoryImage& image) { return Bytes(image.begin(), image.end()); }

TEST(CliImage, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"--bogus", "image"},
        {"--folder"},
        {"image"},
        {"image", "melt", "x"},
        {"image", "build"},
        {"image", "build", "a", "b"},
        {"image", "show", "--zap", "x"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        const ProcessResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, kCliUsage) << r.err;
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CliImage, HelpAndVersionExitZero) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"--version"}, {"image", "--help"}, {"image", "build", "--help"}}) {
        const ProcessResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_FALSE(r.out.empty());
    }
    EXPECT_NE(RunCli({"--help"}).out.find("image"), std::string::npos);
}

TEST(CliImage, BuildInAnEmptyFolderUsesTheDefaultsAndCreatesNothing) {
    TempDir dir;
    const ProcessResult r = RunCli({"--folder", (dir / "set").string(), "image", "build", (dir / "out.img").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // A command that only reads writes nothing into the folder, not even Data.
    EXPECT_TRUE(std::filesystem::is_empty(dir / "set"));
    const Bytes image = ReadFileBytes(dir / "out.img");
    ASSERT_EQ(image.size(), kImageLength);
    EXPECT_EQ(image[14], kEditionKorea);  // the default edition
    EXPECT_EQ(image[17], 11);            // "AA"
    EXPECT_EQ(image[18], 11);

    const ProcessResult shown = RunCli({"image", "show", (dir / "out.img").string()});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("Edition: 3 (Korea)"), std::string::npos) << shown.out;
}

TEST(CliImage, DecodedImageBuildsBackByteForByteThroughTheFiles) {
    for (const int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        SCOPED_TRACE(edition);
        TempDir dir;
        const Bytes sent = ImageBytes(testing::RichImage(edition));
        WriteFileBytes(dir / "in.img", sent);
        const ProcessResult decoded = RunCliIn(dir, {"image", "decode", (dir / "in.img").string()});
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err;

        const ProcessResult built = RunCliIn(dir, {"image", "build", (dir / "out.img").string()});
        ASSERT_EQ(built.exitCode, 0) << built.err;
        EXPECT_EQ(ReadFileBytes(dir / "out.img"), sent);

        const ProcessResult shown = RunCli({"image", "show", (dir / "in.img").string()});
        ASSERT_EQ(shown.exitCode, 0);
        EXPECT_NE(shown.out.find("[CH-255]"), std::string::npos) << shown.out;
        EXPECT_NE(shown.out.find("446.006250"), std::string::npos);
        EXPECT_NE(shown.out.find("Name ID         KZ"), std::string::npos);
        EXPECT_TRUE(shown.out.starts_with("Fingerprint: " + ImageFingerprint(sent) + "\n")) << shown.out;
    }
}

TEST(CliImage, BadInputsExitOneNamingTheFile) {
    TempDir dir;
    const std::string shortFile = (dir / "short.img").string();
    WriteFileBytes(shortFile, Bytes(100, 0));
    ProcessResult r = RunCliIn(dir, {"image", "decode", shortFile});
    EXPECT_EQ(r.exitCode, kCliFailure);
    EXPECT_NE(r.err.find(shortFile), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("100 bytes"), std::string::npos) << r.err;

    const std::string missing = (dir / "missing.img").string();
    r = RunCli({"image", "show", missing});
    EXPECT_EQ(r.exitCode, kCliFailure);
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;

    // A missing --folder is created; one that cannot be (under a plain file) fails.
    WriteFileBytes((dir / "plain").string(), Bytes(1, 0));
    r = RunCli({"--folder", (dir / "plain" / "such").string(), "image", "build", (dir / "x.img").string()});
    EXPECT_EQ(r.exitCode, kCliFailure);
    EXPECT_NE(r.err.find((dir / "plain" / "such").string()), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.img"));
}

TEST(CliImage, InvalidImageLeavesTheFolderAlone) {
    TempDir dir;
    ASSERT_EQ(RunCliIn(dir, {"new"}).exitCode, 0);
    const std::string portBefore = ReadFileText(dir / "Port.txt");
    const std::string rxBefore = ReadFileText(dir / "Rx_Freq.txt");

    Bytes bad = ImageBytes(testing::RichImage(kEditionPmrLpd));
    bad[14] = 7;
    WriteFileBytes(dir / "bad.img", bad);
    const ProcessResult r = RunCliIn(dir, {"image", "decode", (dir / "bad.img").string()});
    EXPECT_EQ(r.exitCode, kCliFailure);
    EXPECT_NE(r.err.find("invalid image: edition byte 7 (expected 2 or 3)"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileText(dir / "Port.txt"), portBefore);
    EXPECT_EQ(ReadFileText(dir / "Rx_Freq.txt"), rxBefore);
}

TEST(CliImage, BuildRefusesAnUnsendableNameId) {
    TempDir dir;
    ASSERT_EQ(RunCliIn(dir, {"new"}).exitCode, 0);
    std::string port = ReadFileText(dir / "Port.txt");
    const std::string name = "\r\nAA\r\n";
    const auto at = port.find(name);
    ASSERT_NE(at, std::string::npos);
    port.replace(at, name.size(), "\r\nA\r\n");
    WriteFileBytes(dir / "Port.txt", Bytes(port.begin(), port.end()));

    const ProcessResult r = RunCliIn(dir, {"image", "build", (dir / "second.img").string()});
    EXPECT_EQ(r.exitCode, kCliFailure);
    EXPECT_NE(r.err.find("Name ID \"A\" cannot be sent"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "second.img"));
}

}  // namespace
}  // namespace corvane::e2e
