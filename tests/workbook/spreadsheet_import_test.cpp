#include <gtest/gtest.h>

#include "workbook_test_support.h"
#include "model/ChannelDefaults.h"
#include "store/workbook/SpreadsheetExport.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

using testing::DistinctWorkspace;

class SpreadsheetImport : public testing::ProgramFolderTest, public ::testing::WithParamInterface<int16_t> {
protected:
    std::filesystem::path SaveSheet(const Workbook& book, const std::string& name = "book.xlsx") {
        const auto path = data() / name;
        const Status saved = SaveWorkbook(book, path);
        EXPECT_TRUE(saved.ok()) << saved.message();
        return path;
    }
    // A workspace at its defaults in the other edition, as if freshly started.
    Workspace FreshWorkspace(int16_t edition) {
        Workspace ws;
        ws.programFolder = root();
        ws.portName = "5";
        ws.edition = edition;
        ResetToEditionDefaults(ws);
        return ws;
    }
    bool Exists(const char* name) const { return std::filesystem::exists(root() / name); }
};

TEST_P(SpreadsheetImport, ExportThenImportRestoresTableSettingsAndGroups) {
    const int16_t edition = GetParam();
    const Workspace original = DistinctWorkspace(root(), edition);
    const auto path = data() / "round.xlsx";
    ASSERT_TRUE(ExportSpreadsheet(original, path).ok());

    Workspace ws = FreshWorkspace(edition);
    int notified = 0;
    ws.channels.SetChangeListener([&notified](int, int) { ++notified; });
    const ImportResult result = ImportSpreadsheet(ws, path);

    EXPECT_EQ(result.outcome, ImportOutcome::SameEdition) << result.message;
    EXPECT_TRUE(result.message.empty()) << result.message;
    EXPECT_TRUE(result.Changed());
    EXPECT_EQ(ws.channels, original.channels);
    EXPECT_EQ(ws.settings, original.settings);
    EXPECT_EQ(ws.groups, original.groups);
    EXPECT_EQ(ws.edition, edition);
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_GT(notified, 0);  // the live view was told
    EXPECT_TRUE(Exists("Port.txt"));
    EXPECT_TRUE(Exists("Group.txt"));
    EXPECT_FALSE(Exists("Rx_Freq.txt"));  // written at the next save point only
}

INSTANTIATE_TEST_SUITE_P(BothEditions, SpreadsheetImport, ::testing::Values(kEditionPmrLpd, kEditionKorea));

class SpreadsheetImportEdition : public SpreadsheetImport {};

TEST_F(SpreadsheetImportEdition, WorkbookOfTheOtherEditionKeepsSettingsButFallsBackToTheDefaultPlan) {
    const Workspace pmr = DistinctWorkspace(root(), kEditionPmrLpd);
    const auto path = data() / "pmr.xlsx";
    ASSERT_TRUE(ExportSpreadsheet(pmr, path).ok());

    Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    ws.settings.NameId = "KR";
    const ImportResult result = ImportSpreadsheet(ws, path);

    EXPECT_EQ(result.outcome, ImportOutcome::EditionDefaults) << result.message;
    EXPECT_EQ(result.message,
              "The workbook was saved in the PMR + LPD edition, so its channels and group set-up were not taken: the channel "
              "table now holds the Korea preset plan in Default mode and the group set-up was reset; the workbook's other "
              "settings were taken.");
    EXPECT_FALSE(result.saveFailed);
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(ws.channelMode, kModeDefault);
    EXPECT_EQ(ws.settings, pmr.settings);
    EXPECT_EQ(ws.channels, FreshWorkspace(kEditionKorea).channels);
    GroupTable reset;
    ResetGroupSetup(reset);
    EXPECT_EQ(ws.groups.GroupSize, reset.GroupSize);
    EXPECT_EQ(ws.groups.GroupsEnabled, 0);
    EXPECT_EQ(ws.groups.FreqSetTarget, reset.FreqSetTarget);
    EXPECT_EQ(ws.groups.ToneSetStartCode, "");
    EXPECT_TRUE(Exists("Port.txt"));
    EXPECT_TRUE(Exists("Group.txt"));
    EXPECT_TRUE(Exists("Rx_Freq.txt"));
    EXPECT_TRUE(Exists("Comp.txt"));
}

TEST_F(SpreadsheetImportEdition, AnEmptyEditionCellCountsAsTheOtherEditionAndEmptyCellsReadAsZero) {
    Workbook book = BuildExportSheet(DistinctWorkspace(root(), kEditionKorea));
    book.SetCell(257, 1, {});
    book.SetCell(258, 1, {});
    book.SetCell(266, 1, {});   // TotalTime
    book.SetCell(288, 1, {});   // NameId
    book.SetCell(292, 1, {});   // BandSelect
    book.SetCell(320, 1, {});   // SpareSetting4
    const auto path = SaveSheet(book);

    Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    const ImportResult result = ImportSpreadsheet(ws, path);

    EXPECT_EQ(result.outcome, ImportOutcome::EditionDefaults);
    EXPECT_TRUE(result.message.starts_with("The workbook names no edition (its cell A257 is empty), so its channels and group "
                                           "set-up were not taken: the channel table now holds the Korea preset plan"))
        << result.message;
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(ws.channels, FreshWorkspace(kEditionKorea).channels);
    EXPECT_EQ(ws.settings.TotalTime, 0);
    EXPECT_EQ(ws.settings.NameId, "");
    EXPECT_EQ(ws.settings.BandSelect, 0);
    EXPECT_EQ(ws.settings.SpareSetting4, 0);
    EXPECT_EQ(ws.settings.DtmfId, "98765");
}

TEST_F(SpreadsheetImportEdition, AnEditionNumberOfNeitherEditionIsNamed) {
    Workbook book = BuildExportSheet(DistinctWorkspace(root(), kEditionKorea));
    book.SetCell(257, 1, CellValue::Number(5));
    Workspace ws = DistinctWorkspace(root(), kEditionPmrLpd);
    const ImportResult result = ImportSpreadsheet(ws, SaveSheet(book));
    EXPECT_EQ(result.outcome, ImportOutcome::EditionDefaults);
    EXPECT_TRUE(result.message.starts_with("The workbook names edition 5 in its cell A257, which is not PMR + LPD, so")) << result.message;
}

TEST_F(SpreadsheetImportEdition, TheLaterHiddenSetting8RowWins) {
    Workbook book = BuildExportSheet(DistinctWorkspace(root(), kEditionKorea));
    book.SetCell(274, 1, CellValue::Number(1));
    book.SetCell(282, 1, CellValue::Number(3));
    Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    ImportSpreadsheet(ws, SaveSheet(book));
    EXPECT_EQ(ws.settings.HiddenSetting8, 3);
}

class SpreadsheetImportFailure : public SpreadsheetImport {
protected:
    // Runs the import on a workspace and checks that nothing at all changed.
    ImportResult ImportExpectingNoChange(const std::filesystem::path& path) {
        Workspace ws = DistinctWorkspace(root(), kEditionKorea);
        const Workspace before = ws;
        int notified = 0;
        ws.channels.SetChangeListener([&notified](int, int) { ++notified; });
        const ImportResult result = ImportSpreadsheet(ws, path);
        EXPECT_FALSE(result.Changed());
        EXPECT_EQ(ws.channels, before.channels);
        EXPECT_EQ(ws.settings, before.settings);
        EXPECT_EQ(ws.groups, before.groups);
        EXPECT_EQ(ws.edition, before.edition);
        EXPECT_EQ(ws.channelMode, before.channelMode);
        EXPECT_EQ(notified, 0);
        EXPECT_FALSE(Exists("Port.txt"));
        EXPECT_FALSE(Exists("Group.txt"));
        EXPECT_FALSE(Exists("Rx_Freq.txt"));
        return result;
    }
    Workbook OtherBook() {
        Workspace other = DistinctWorkspace(root(), kEditionKorea);
        other.channels.SetFrequencyCell(430.5, 1, ColRxFreq);
        other.settings.ScanDelayTime = 99;
        return BuildExportSheet(other);
    }
};

TEST_F(SpreadsheetImportFailure, TextInASettingsCellChangesNothingAndNamesTheCell) {
    Workbook book = OtherBook();
    book.SetCell(259, 1, CellValue::Text("abc"));
    const ImportResult result = ImportExpectingNoChange(SaveSheet(book));
    EXPECT_EQ(result.outcome, ImportOutcome::Failed);
    EXPECT_EQ(result.message, "Import failed: cell A259 holds \"abc\", not a number");
}

TEST_F(SpreadsheetImportFailure, ASettingsTextOutsideWindows1252ChangesNothingAndNamesTheCell) {
    Workbook book = OtherBook();
    book.SetCell(288, 1, CellValue::Text("Ω1"));
    EXPECT_EQ(ImportExpectingNoChange(SaveSheet(book)).message,
              "Import failed: cell A288 holds \"Ω1\", whose character \"Ω\" the working files cannot keep (they are in Windows-1252)");

    // Channel texts are not checked, and Windows-1252 has the euro sign.
    book.SetCell(288, 1, CellValue::Text("€1"));
    book.SetCell(5, 4, CellValue::Text("Ω"));
    Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    ASSERT_EQ(ImportSpreadsheet(ws, SaveSheet(book, "euro.xlsx")).outcome, ImportOutcome::SameEdition);
    EXPECT_EQ(ws.settings.NameId, "€1");
}

TEST_F(SpreadsheetImportFailure, ANumberOutsideItsFieldChangesNothing) {
    Workbook book = OtherBook();
    book.SetCell(319, 1, CellValue::Number(4));
    book.SetCell(320, 1, CellValue::Number(256));
    const ImportResult result = ImportExpectingNoChange(SaveSheet(book));
    EXPECT_EQ(result.message, "Import failed: cell A320 holds 256, outside 0 to 255");

    book.SetCell(320, 1, {});
    book.SetCell(292, 1, CellValue::Number(40000));
    EXPECT_EQ(ImportExpectingNoChange(SaveSheet(book, "int.xlsx")).message,
              "Import failed: cell A292 holds 40000, outside -32768 to 32767");
}

TEST_F(SpreadsheetImportFailure, UnreadableFilesChangeNothing) {
    WriteBytes(data() / "text.xlsx", "just some text");
    EXPECT_EQ(ImportExpectingNoChange(data() / "text.xlsx").outcome, ImportOutcome::Failed);

    WriteBytes(data() / "broken.xlsx", std::string("PK\x03\x04", 4) + std::string(200, '\x01'));
    EXPECT_EQ(ImportExpectingNoChange(data() / "broken.xlsx").outcome, ImportOutcome::Failed);

    const std::string ole2Magic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    WriteBytes(data() / "broken.xls", ole2Magic + std::string(1024, '\0'));
    EXPECT_EQ(DetectWorkbookFormat(data() / "broken.xls"), WorkbookFormat::LegacyBinary);
    const ImportResult legacy = ImportExpectingNoChange(data() / "broken.xls");
    EXPECT_TRUE(legacy.message.starts_with("Import failed: ")) << legacy.message;

    const ImportResult missing = ImportExpectingNoChange(data() / "missing.xlsx");
    EXPECT_TRUE(missing.message.starts_with("Import failed: ")) << missing.message;
}

}  // namespace
}  // namespace corvane
