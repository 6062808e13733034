// corvane-cli print: the channel list as an HTML page, from a set on disk
// that stays as it was.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "../core/image_fixtures.h"
#include "e2e_support.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace corvane::e2e {
namespace {

std::map<std::string, Bytes> WorkingFiles(const TempDir& dir) {
    std::map<std::string, Bytes> files;
    for (const std::string& name : WorkingFileNames()) files[name] = ReadFileBytes(dir / name);
    return files;
}

bool Has(const std::string& text, const std::string& needle) { return text.find(needle) != std::string::npos; }

TEST(CliPrint, WritesTheListWithTheImagesFingerprintAndLeavesTheSetAlone) {
    TempDir dir;
    Workspace ws = testing::RichWorkspace(kEditionPmrLpd);
    ws.programFolder = dir.path();
    ws.portName = "5";
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
    const auto before = WorkingFiles(dir);
    const std::string folder = dir.path().string();

    const ProcessResult a4 = RunCli({"--folder", folder, "print", "--html", (dir / "list.html").string()});
    ASSERT_EQ(a4.exitCode, 0) << a4.err;
    const ProcessResult pocket = RunCli({"--folder", folder, "print", "--pocket", "--paper", "Letter", "--html", "-"});
    ASSERT_EQ(pocket.exitCode, 0) << pocket.err;
    EXPECT_EQ(WorkingFiles(dir), before);

    // The fingerprint is the image's SHA-256, as any tool computes it.
    ASSERT_EQ(RunCli({"--folder", folder, "image", "build", (dir / "set.img").string()}).exitCode, 0);
    const ProcessResult sum = RunProcess({"/usr/bin/sha256sum", (dir / "set.img").string()}, kCliLimit);
    ASSERT_EQ(sum.exitCode, 0) << sum.err;
    const std::string fingerprint = "Image fingerprint " + sum.out.substr(0, 8);

    const Bytes file = ReadFileBytes(dir / "list.html");
    for (const std::string& html : {std::string(file.begin(), file.end()), pocket.out}) {
        EXPECT_TRUE(Has(html, fingerprint)) << html;
        EXPECT_TRUE(Has(html, "PMR + LPD, Custom mode, "));
        EXPECT_TRUE(Has(html, "Page 1 of 1"));
        EXPECT_TRUE(Has(html, "<td>[CH-001]</td><td>A-1</td><td>446.006250</td><td>446.006250</td><td>[12] C100.0</td>"));
        EXPECT_TRUE(Has(html, "<td>[CH-003]</td><td>A-3</td><td></td><td>433.075000</td>"));
        EXPECT_TRUE(Has(html, "<td>[CH-255]</td>"));
        EXPECT_FALSE(Has(html, "<td>[CH-004]</td>"));
    }
    EXPECT_TRUE(Has(std::string(file.begin(), file.end()), "size: A4"));
    EXPECT_TRUE(Has(pocket.out, "size: letter"));
}

TEST(CliPrint, RefusesAFolderItWouldHaveToRepair) {
    TempDir dir;
    TempDir out;
    const ProcessResult r = RunCli({"--folder", dir.path().string(), "print", "--html", (out / "list.html").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r.err, "missing")) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST(CliPrint, UsageErrorsExitTwoAndWriteNothing) {
    TempDir dir;
    const std::string out = (dir / "list.html").string();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"print"},
                                               {"print", "--pocket"},
                                               {"print", "--html"},
                                               {"print", "--html", out, "--paper", "a5"},
                                               {"print", "--html", out, "extra"},
                                               {"print", "--html", out, "--color"}}) {
        const ProcessResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.size() << r.err;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    const ProcessResult help = RunCli({"print", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Has(help.out, "--paper"));
}

}  // namespace
}  // namespace corvane::e2e
