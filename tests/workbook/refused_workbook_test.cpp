// Workbooks that are broken, hostile or not this program's: each import is
// refused with one sentence that names the file or the cell, and neither the
// workspace nor any working file changes.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "workbook_test_support.h"
#include "zip_packages.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/workbook/SpreadsheetExport.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

using namespace testing;

constexpr std::size_t kMegabyte = 1024 * 1024;

// Sets the unpacked size that the local and the central header of entry
// declare, leaving its data alone: a zip that lies about its sizes.
void DeclareUnpackedSize(std::string& zipBytes, const std::string& entry, std::uint32_t size) {
    constexpr std::size_t kLocalHeaderBytes = 30;
    constexpr std::size_t kLocalSizeAt = 22;
    constexpr std::size_t kCentralHeaderBytes = 46;
    constexpr std::size_t kCentralSizeAt = 24;
    int patched = 0;
    for (std::size_t at = zipBytes.find(entry); at != std::string::npos; at = zipBytes.find(entry, at + 1)) {
        std::size_t field = std::string::npos;
        if (at >= kLocalHeaderBytes && zipBytes.compare(at - kLocalHeaderBytes, 4, "PK\x03\x04") == 0) {
            field = at - kLocalHeaderBytes + kLocalSizeAt;
        } else if (at >= kCentralHeaderBytes && zipBytes.compare(at - kCentralHeaderBytes, 4, "PK\x01\x02") == 0) {
            field = at - kCentralHeaderBytes + kCentralSizeAt;
        }
        if (field == std::string::npos) continue;
        for (int i = 0; i < 4; ++i) zipBytes[field + i] = static_cast<char>(size >> (8 * i) & 0xFF);
        ++patched;
    }
    ASSERT_EQ(patched, 2);
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class RefusedWorkbook : public testing::ProgramFolderTest {
protected:
    std::filesystem::path DataFile(const std::string& name) {
        const auto path = data() / name;
        std::filesystem::copy_file(std::filesystem::path(CORVANE_TEST_DATA) / "workbook" / name, path);
        return path;
    }

    // Imports into a workspace whose working files are on disk; checks that
    // the workspace and every file stayed as they were; returns the message.
    std::string ImportRefused(const std::filesystem::path& path) {
        Workspace ws = testing::DistinctWorkspace(root(), kEditionKorea);
        EXPECT_TRUE(SaveConfigFile(ws).ok() && SaveGroupFile(ws).ok() && SaveChannelFiles(ws).ok());
        const std::map<std::filesystem::path, std::string> filesBefore = WorkingFiles();
        const Workspace before = ws;

        const ImportResult result = ImportSpreadsheet(ws, path);

        EXPECT_EQ(result.outcome, ImportOutcome::Failed) << result.message;
        EXPECT_EQ(ws.channels, before.channels);
        EXPECT_EQ(ws.settings, before.settings);
        EXPECT_EQ(ws.groups, before.groups);
        EXPECT_EQ(ws.edition, before.edition);
        EXPECT_EQ(ws.channelMode, before.channelMode);
        EXPECT_EQ(WorkingFiles(), filesBefore);
        return result.message;
    }

private:
    std::map<std::filesystem::path, std::string> WorkingFiles() const {
        std::map<std::filesystem::path, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(root())) {
            if (entry.is_regular_file()) files[entry.path()] = ReadBytes(entry.path());
        }
        return files;
    }
};

class ErrorCellWorkbook : public RefusedWorkbook, public ::testing::WithParamInterface<const char*> {};

TEST_P(ErrorCellWorkbook, IsRefusedNamingTheCell) {
    EXPECT_EQ(ImportRefused(DataFile(GetParam())), "Import failed: cell C5 holds the error #DIV/0!");
}

INSTANTIATE_TEST_SUITE_P(LibreOffice, ErrorCellWorkbook,
                         ::testing::Values("libreoffice-error.xlsx", "libreoffice-error.ods", "libreoffice-error.xls"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(name.find('.') + 1);
                         });

TEST_F(RefusedWorkbook, AFormulaWhoseValueTheFileDoesNotStoreIsNamed) {
    const std::string unstored = " holds a formula whose value the file does not store";
    // openpyxl writes formulas without their value.
    EXPECT_EQ(ImportRefused(DataFile("openpyxl-formula.xlsx")).find("Import failed: cell C1" + unstored), 0u);
    // LibreOffice writes 0 as the value of a text formula in .xls.
    EXPECT_EQ(ImportRefused(DataFile("libreoffice.xls")).find("Import failed: cell D1" + unstored), 0u);
}

TEST_F(RefusedWorkbook, AWorkbookWithoutSettingsIsNotOneOfThisProgram) {
    const std::string expected =
        "Import failed: the workbook holds no value in A257 to A320, so it is not one of this program's workbooks";
    Workbook channelsOnly = BuildExportSheet(testing::DistinctWorkspace(root(), kEditionKorea));
    for (int row = 257; row <= 320; ++row) channelsOnly.SetCell(row, 1, {});
    channelsOnly.SetCell(300, 2, CellValue::Number(5));  // beside the block does not count
    ASSERT_TRUE(SaveWorkbook(channelsOnly, data() / "channels.xlsx").ok());
    EXPECT_EQ(ImportRefused(data() / "channels.xlsx"), expected);

    ASSERT_TRUE(SaveWorkbook(Workbook(), data() / "empty.xlsx").ok());
    EXPECT_EQ(ImportRefused(data() / "empty.xlsx"), expected);
}

TEST_F(RefusedWorkbook, BrokenFilesAreNamedInOneSentence) {
    // The first 3000 bytes of libreoffice-numbers.xls.
    EXPECT_EQ(ImportRefused(DataFile("truncated.xls")),
              "Import failed: " + (data() / "truncated.xls").string() + " is damaged or cut short.");

    const std::string zipped = ReadBytes(std::filesystem::path(CORVANE_TEST_DATA) / "workbook" / "libreoffice.xlsx");
    WriteBytes(data() / "cut.xlsx", zipped.substr(0, zipped.size() - 100));
    EXPECT_EQ(ImportRefused(data() / "cut.xlsx"), "Import failed: " + (data() / "cut.xlsx").string() + " is damaged or cut short.");

    WriteBytes(data() / "notes.xlsx", "just some text");
    EXPECT_EQ(ImportRefused(data() / "notes.xlsx"),
              "Import failed: " + (data() / "notes.xlsx").string() + " is not a spreadsheet workbook (.xlsx, .ods or .xls).");

    // Entity declarations are how XML bombs grow; no workbook has them.
    const std::string doctype = R"(<?xml version="1.0"?><!DOCTYPE w [<!ENTITY a "aaaaaaaaaa">]>)";
    WriteZip(data() / "entities.xlsx", OfficeOpenXmlPackage(doctype + kWorkbookXml, SheetXml("")));
    EXPECT_EQ(ImportRefused(data() / "entities.xlsx").find("Import failed: " + (data() / "entities.xlsx").string() + " is damaged"), 0u);
}

TEST_F(RefusedWorkbook, OversizedFilesAreRefusedBeforeTheyAreUnpacked) {
    const std::string tooLarge = " would unpack to more than 32 MB, far more than any workbook holds.";
    // Declares its size honestly: refused from the directory alone.
    const std::string padding(40 * kMegabyte, ' ');
    WriteZip(data() / "declared.xlsx", OfficeOpenXmlPackage(kWorkbookXml, SheetXml(padding)));
    ASSERT_LT(std::filesystem::file_size(data() / "declared.xlsx"), kMegabyte);
    EXPECT_EQ(ImportRefused(data() / "declared.xlsx"), "Import failed: " + (data() / "declared.xlsx").string() + tooLarge);

    // Declares a few bytes: refused as soon as it inflates beyond them.
    std::string lying = ReadBytes(data() / "declared.xlsx");
    DeclareUnpackedSize(lying, "xl/worksheets/sheet1.xml", 1000);
    WriteBytes(data() / "lying.xlsx", lying);
    EXPECT_EQ(ImportRefused(data() / "lying.xlsx"),
              "Import failed: " + (data() / "lying.xlsx").string() + " is damaged (its part xl/worksheets/sheet1.xml unpacks to more than it declares).");

    // libzip reads a whole directory when it opens an archive: the count comes first.
    Entries parts = OfficeOpenXmlPackage(kWorkbookXml, SheetXml(""));
    for (int i = 0; i < 10'000; ++i) parts.emplace_back("p" + std::to_string(i), "");
    WriteZip(data() / "parts.xlsx", parts);
    EXPECT_EQ(ImportRefused(data() / "parts.xlsx"), "Import failed: " + (data() / "parts.xlsx").string() + " holds 10005 parts, far more than any workbook.");

    WriteBytes(data() / "huge.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(17 * kMegabyte, '\0'));
    EXPECT_EQ(ImportRefused(data() / "huge.xls"),
              "Import failed: " + (data() / "huge.xls").string() + " is larger than 16 MB, far larger than any workbook holds; it is not read.");
}

TEST(WorkbookExport, AMissingFolderIsNamedWithoutTheLibrarysOwnNoise) {
    const auto folder = std::filesystem::temp_directory_path() / ("corvane-wb-missing-" + std::to_string(::getpid()));
    const auto path = folder / "set.xlsx";
    ::testing::internal::CaptureStderr();
    const Status saved = ExportSpreadsheet(Workspace{}, path);
    const std::string noise = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(saved.message(), "Export failed: cannot write " + path.string() + ": the folder " + folder.string() + " does not exist");
    EXPECT_EQ(noise, "");
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// A small file system of its own, filled to the last byte: the export says
// so in one sentence, and the writer library prints nothing of its own.
TEST(WorkbookExport, AFullDiskIsOneSentenceWithoutTheLibrarysNoise) {
    const auto folder = std::filesystem::temp_directory_path() / ("corvane-wb-full-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
        std::filesystem::remove(folder);
        GTEST_SKIP() << "cannot mount a small file system here (needs root): " << std::strerror(errno);
    }
    {
        std::ofstream filler(folder / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        for (int i = 0; i < 64 && filler.write(block.data(), static_cast<std::streamsize>(block.size())); ++i) {}
    }
    const auto path = folder / "set.xlsx";
    ::testing::internal::CaptureStderr();
    const Status saved = ExportSpreadsheet(testing::DistinctWorkspace(folder, kEditionKorea), path);
    const std::string noise = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    ::umount(folder.c_str());
    std::filesystem::remove_all(folder);

    EXPECT_EQ(saved.message(), "Export failed: cannot write " + path.string() + ": No space left on device");
    EXPECT_EQ(noise, "");
    EXPECT_EQ(names, std::vector<std::string>{"filler"});
}

}  // namespace
}  // namespace corvane
