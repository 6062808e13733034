#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ChirpCsv.h"
#include "store/ConfigFiles.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::CrLfLines;
using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::WorkspaceIn;
using storetest::WriteBytes;

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

struct Row {
    int channel;
    std::string rx, tx, ctcss, dcs, scan, band, power, group;
};

void Store(ChannelTable& table, const Row& row) {
    table.SetCell(row.channel, ColRxFreq, row.rx);
    table.SetCell(row.channel, ColTxFreq, row.tx);
    table.SetCell(row.channel, ColCtcss, row.ctcss);
    table.SetCell(row.channel, ColDcs, row.dcs);
    table.SetCell(row.channel, ColScan, row.scan);
    table.SetCell(row.channel, ColBand, row.band);
    table.SetCell(row.channel, ColPower, row.power);
    table.SetCell(row.channel, ColGroup, row.group);
}

// Every duplex and tone case the export knows, in the "PMR + LPD" edition.
const std::vector<Row> kRichRows = {
    {1, "446.006250", "446.006250", "[08] C88.5", "[000] OFF", "Yes", "Narrow", "High", "A-1"},
    {2, "446.018750", "433.075000", "[00] OFF", "[006] D036", "No", "Wide", "Low", "A-2"},
    {3, "440.000000", "", "[00] OFF", "[110] ED036", "Yes", "Narrow", "High", ""},
    {4, "420.000000", "420.000000", "[00] OFF", "[000] OFF", "Yes", "Wide", "High", ""},
    {5, "", "430.000000", "[08] C88.5", "[000] OFF", "Yes", "Wide", "High", ""},
    {7, "433.075000", "433.075000", "[54] C40.8", "[000] OFF", "Yes", "Narrow", "High", ""},
    {9, "434.775000", "434.775000", "[12] C100.0", "[110] ED036", "Yes", "Wide", "High", ""},
    {255, "450.000000", "450.000000", "[73] C230.3", "[000] OFF", "No", "Wide", "Low", "say \"hi\", J"},
};

class ChirpCsvTest : public ::testing::Test {
protected:
    ChirpCsvTest() {
        ws.portName = "4";
        ws.channelMode = kModeCustom;
        FillDefaults(ws);
    }

    void FillRich() {
        for (const Row& row : kRichRows) Store(ws.channels, row);
    }

    Result<CsvImportReport> Import(const std::string& text, Workspace& into) {
        WriteBytes(csv, text);
        return ImportChirpCsv(into, csv);
    }
    Result<CsvImportReport> Import(const std::string& text) { return Import(text, ws); }

    // The seven channel cells an import writes, joined for compact comparison.
    std::string Cells(int channel) const {
        std::string text;
        for (int col = ColRxFreq; col <= ColPower; ++col) text += ws.channels.GetCell(channel, col) + "|";
        return text;
    }

    ScratchFolder folder;
    Workspace ws = WorkspaceIn(folder, kEditionPmrLpd);
    std::filesystem::path csv = folder / "channels.csv";
};

TEST_F(ChirpCsvTest, ExportWritesHeaderAndOneCrLfLinePerChannelWithReceiveFrequency) {
    FillRich();
    const auto report = ExportChirpCsv(ws, csv);
    ASSERT_TRUE(report.ok()) << report.message();

    const std::string bytes = ReadBytes(csv);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(CrLfLines(bytes), (std::vector<std::string>{
        kHeader,
        "1,CH-001,446.006250,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,2.0W,A-1,,,,",
        "2,CH-002,446.018750,split,433.075000,DTCS,88.5,88.5,036,NN,036,Tone->Tone,FM,6.25,S,0.5W,A-2,,,,",
        "3,CH-003,440.000000,off,0.000000,DTCS,88.5,88.5,036,RR,036,Tone->Tone,NFM,6.25,,2.0W,,,,,",
        "4,CH-004,420.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,2.0W,,,,,",
        "7,CH-007,433.075000,,0.000000,TSQL,40.8,40.8,023,NN,023,Tone->Tone,NFM,6.25,,2.0W,,,,,",
        // A channel holding both tones sends its CTCSS tone, as the radio does.
        "9,CH-009,434.775000,,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,6.25,,2.0W,,,,,",
        "255,CH-255,450.000000,,0.000000,TSQL,230.3,230.3,023,NN,023,Tone->Tone,FM,6.25,S,0.5W,\"say \"\"hi\"\", J\",,,,",
    }));
    EXPECT_EQ(report->channelsWritten, 7u);
    EXPECT_EQ(report->channelsChirpRejects, (std::vector<int>{7, 255}));
    EXPECT_EQ(report->Summary(),
              "Exported 7 channels to CHIRP CSV.\n"
              "CHIRP's CTCSS list lacks the tones of channels 7, 255: CHIRP will not load those lines.");
}

TEST_F(ChirpCsvTest, ExportOfTonesChirpKnowsReportsNoRejects) {
    // 62.5 and 61.0 Hz are among CHIRP's extra tones; 60.7 Hz is not.
    Store(ws.channels, {1, "446.006250", "446.006250", "[52] C62.5", "[000] OFF", "Yes", "Narrow", "High", ""});
    Store(ws.channels, {2, "446.006250", "446.006250", "[56] C61.0", "[000] OFF", "Yes", "Narrow", "High", ""});
    Store(ws.channels, {3, "446.006250", "446.006250", "[51] C60.7", "[000] OFF", "Yes", "Narrow", "High", ""});
    const auto report = ExportChirpCsv(ws, csv);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report->channelsChirpRejects, (std::vector<int>{3}));
    EXPECT_EQ(report->Summary(),
              "Exported 3 channels to CHIRP CSV.\n"
              "CHIRP's CTCSS list lacks the tone of channel 3: CHIRP will not load that line.");
}

TEST_F(ChirpCsvTest, ExportUsesTheEditionsDcsListAndReportsAnUnwritableTarget) {
    ws.edition = kEditionKorea;
    Store(ws.channels, {1, "423.187500", "423.187500", "[00] OFF", "[084] D036", "Yes", "Narrow", "High", ""});
    Store(ws.channels, {2, "423.187500", "423.187500", "[00] OFF", "[208] ED526", "Yes", "Narrow", "High", ""});
    ASSERT_TRUE(ExportChirpCsv(ws, csv).ok());
    const auto lines = CrLfLines(ReadBytes(csv));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find(",DTCS,88.5,88.5,036,NN,036,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(",DTCS,88.5,88.5,526,RR,526,"), std::string::npos) << lines[2];

    const auto failed = ExportChirpCsv(ws, folder / "no-such-folder" / "out.csv");
    EXPECT_FALSE(failed.ok());
}

TEST_F(ChirpCsvTest, ImportReadsChirpStyleFilesWithBomCommentsQuotesAndReorderedColumns) {
    FillRich();
    const auto report = Import(
        "\xEF\xBB\xBF# written by hand\n"
        "Mode,Frequency,Location,Extra,Tone,cToneFreq,Skip,Name\n"
        "NFM,446.00625,5,x,TSQL,100.0,S,plain\n"
        "# a comment between channels\n"
        "\n"
        "\"FM\",\" 433.075 \",\"6\",\"a,\"\"b\"\"\",Tone,67.0,,\"two\r\nlines\"\r\n"
        "NFM,420,7,,,,P,last line without a line end");
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_EQ(report->channelsImported, 3u);
    EXPECT_TRUE(report->skippedLines.empty());
    EXPECT_EQ(report->Summary(), "Imported 3 channels from CHIRP CSV.");

    // Missing Power defaults to High; one tone column serves both tone fields.
    EXPECT_EQ(Cells(5), "446.006250|446.006250|[12] C100.0|[000] OFF|No|Narrow|High|");
    EXPECT_EQ(Cells(6), "433.075000|433.075000|[01] C67.0|[000] OFF|Yes|Wide|High|");
    EXPECT_EQ(Cells(7), "420.000000|420.000000|[00] OFF|[000] OFF|No|Narrow|High|");
    // Channels the file does not name are left empty, as Custom mode starts.
    for (int channel : {1, 2, 9, 255}) {
        SCOPED_TRACE(channel);
        EXPECT_EQ(Cells(channel), "||[00] OFF|[000] OFF|Yes|Narrow|High|");
        EXPECT_EQ(ws.channels.GetCell(channel, ColGroup), "");
    }
}

TEST_F(ChirpCsvTest, ImportMapsDuplexToneModesPolarityAndPower) {
    const auto report = Import(
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,Power\r\n"
        "1,446.006250,+,0.012500,Tone,67.0,100.0,023,NN,FM,5.0W\r\n"
        "2,446.006250,-,1.000000,TSQL,67.0,100.0,023,NN,FM,0.5W\r\n"
        "3,446.006250,split,433.075000,DTCS,88.5,88.5,036,RR,FM,1.0W\r\n"
        "4,446.006250,off,0.000000,DTCS,88.5,88.5,36,NR,NFM,0.99\r\n"
        "5,446.006250,,0.000000,DTCS,88.5,88.5,036,RN,NFM,\r\n"
        "6,446.006250,,0.000000,DTCS,88.5,88.5,,,NFM,Low\r\n");
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_TRUE(report->skippedLines.empty()) << report->Summary();
    EXPECT_EQ(Cells(1), "446.006250|446.018750|[01] C67.0|[000] OFF|Yes|Wide|High|");
    EXPECT_EQ(Cells(2), "446.006250|445.006250|[12] C100.0|[000] OFF|Yes|Wide|Low|");
    EXPECT_EQ(Cells(3), "446.006250|433.075000|[00] OFF|[110] ED036|Yes|Wide|High|");
    // The receive polarity (second letter) decides: NR inverted, RN normal.
    EXPECT_EQ(Cells(4), "446.006250||[00] OFF|[110] ED036|Yes|Narrow|Low|");
    EXPECT_EQ(Cells(5), "446.006250|446.006250|[00] OFF|[006] D036|Yes|Narrow|High|");
    // An empty code and polarity take CHIRP's defaults 023 / NN.
    EXPECT_EQ(Cells(6), "446.006250|446.006250|[00] OFF|[001] D023|Yes|Narrow|Low|");
}

TEST_F(ChirpCsvTest, ImportLooksDcsCodesUpInTheCurrentEditionsList) {
    ws.edition = kEditionKorea;
    ASSERT_TRUE(Import("Location,Frequency,Tone,DtcsCode,DtcsPolarity\n"
                       "1,423.1875,DTCS,036,NN\n"
                       "2,423.1875,DTCS,526,RR\n")
                    .ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColDcs), "[084] D036");
    EXPECT_EQ(ws.channels.GetCell(2, ColDcs), "[208] ED526");
}

TEST_F(ChirpCsvTest, ImportSkipsEveryLineThisRadioCannotHoldAndListsWhy) {
    const auto report = Import(
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode\n"
        "1,446.00625,,,,,,,,FM\n"
        "2,446.00625,,,TSQL,1.0,1.0,,,FM\n"
        "3,446.00625,,,DTCS,,,017,NN,FM\n"
        "4,446.00625,,,Cross,,,,,FM\n"
        "5,446.00625,,,,,,,,AM\n"
        "6,460.000000,,,,,,,,FM\n"
        "7,446.001,,,,,,,,FM\n"
        "0,446.00625,,,,,,,,FM\n"
        "256,446.00625,,,,,,,,FM\n"
        "1,446.00625,,,,,,,,FM\n"
        "8,446.00625,+,5.000000,,,,,,FM\n"
        "9,446.00625,x,,,,,,,FM\n"
        "10,abc,,,,,,,,FM\n"
        "11,446.00625\n"
        "12,446.00625,,,DTCS,,,023,XY,FM\n"
        "x,446.00625,,,,,,,,FM\n"
        "\"13\",446.00625,,,DTCS-R,,,023,NN,\"multi\nline\"\n"
        "14,,,,,,,,,FM\n"
        "15,446.0437500000001,,,,,,,,FM\n"
        "16,446.00625,,,,,,,,\"never closed\n");
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_EQ(report->channelsImported, 1u);
    EXPECT_EQ(report->skippedLines, (std::vector<std::string>{
        "line 3: tone 1.0 Hz is not in this radio's CTCSS list",
        "line 4: DCS code 017 is not in this radio's DCS list",
        "line 5: tone mode \"Cross\" is not supported",
        "line 6: mode \"AM\" is not supported (FM or NFM only)",
        "line 7: frequency 460.000000 MHz is outside 420 to 450 MHz",
        "line 8: frequency 446.001000 MHz is off the 6.25 kHz raster",
        "line 9: location 0 is outside 1 to 255",
        "line 10: location 256 is outside 1 to 255",
        "line 11: location 1 was already given on line 2",
        "line 12: transmit frequency 451.006250 MHz is outside 420 to 450 MHz",
        "line 13: duplex \"x\" is not supported",
        "line 14: frequency \"abc\" is not a number",
        "line 15: has 2 fields where the header has 10",
        "line 16: DTCS polarity \"XY\" is not supported",
        "line 17: location \"x\" is not a number",
        "line 18: tone mode \"DTCS-R\" is not supported",
        "line 20: no frequency",
        "line 21: frequency 446.0437500000001 MHz is off the 6.25 kHz raster",
        "line 22: a quoted field is never closed",
    }));
    std::string summary = "Imported 1 channel from CHIRP CSV.\nSkipped 19 lines:";
    for (const std::string& note : report->skippedLines) summary += "\n" + note;
    EXPECT_EQ(report->Summary(), summary);
    EXPECT_EQ(Cells(1), "446.006250|446.006250|[00] OFF|[000] OFF|Yes|Wide|High|");
}

// A number that is no frequency of whole hertz, or far from any, is said to
// be off the raster or out of range, as a typed one would be.
TEST_F(ChirpCsvTest, NumbersFinerThanAHertzOrFarOutOfRangeAreSaidSo) {
    const auto report = Import(
        "Location,Frequency,Duplex,Offset\n"
        "1,446.00625,,\n"
        "2,446.0437500000001,,\n"
        "3,99999999999,,\n"
        "4,-446.00625,,\n"
        "5,446.00625,+,0.0000001\n"
        "6,446.00625,-,99999999999\n");
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_EQ(report->skippedLines, (std::vector<std::string>{
        "line 3: frequency 446.0437500000001 MHz is off the 6.25 kHz raster",
        "line 4: frequency 99999999999 MHz is outside 420 to 450 MHz",
        "line 5: frequency -446.00625 MHz is outside 420 to 450 MHz",
        "line 6: transmit frequency with offset 0.0000001 MHz is off the 6.25 kHz raster",
        "line 7: transmit frequency with offset 99999999999 MHz is outside 420 to 450 MHz",
    }));
}

// The page hands the bytes the user chose: a refusal names the file by that
// name, and a byte-order mark some editors add is no part of the header.
TEST_F(ChirpCsvTest, BytesAreReadUnderTheNameTheUserChose) {
    const auto refused = ImportChirpCsv(ws, std::string_view("Name,Frequency\nA,446.00625\n"), "channels (2).csv");
    EXPECT_EQ(refused.message(), "channels (2).csv: not a CHIRP CSV file: the first line lacks the Location and Frequency columns");
    const auto taken = ImportChirpCsv(ws, std::string_view("\xEF\xBB\xBFLocation,Frequency\r\n9,446.00625\r\n"), "bom.csv");
    ASSERT_TRUE(taken.ok()) << taken.message();
    EXPECT_EQ(ws.channels.GetCell(9, ColRxFreq), "446.006250");
    EXPECT_EQ(BuildChirpCsv(ws).bytes.substr(0, 8), "Location");
}

TEST_F(ChirpCsvTest, ImportSwitchesToCustomModeClearsGroupsAndSavesEveryFile) {
    ws.channelMode = kModeDefault;
    ws.settings.BandSelect = kBandLpd;
    ws.groups.GroupSize[0] = 3;
    ws.groups.GroupsEnabled = 1;
    FillGroupColumn(ws.groups, ws.channels);
    ASSERT_EQ(ws.channels.GetCell(2, ColGroup), "A-2");

    ASSERT_TRUE(Import("Location,Frequency,Comment\n2,446.00625,B-7\n").ok());
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.settings.BandSelect, kBandPmrLpd);
    EXPECT_EQ(ws.groups.GroupSize[0], 0);
    // Comment is informational only: it never becomes a group.
    EXPECT_EQ(ws.channels.GetCell(2, ColGroup), "");

    Workspace reloaded = WorkspaceIn(folder, kEditionPmrLpd);
    ASSERT_TRUE(LoadConfigFile(reloaded).ok());
    EXPECT_EQ(reloaded.channelMode, kModeCustom);
    EXPECT_EQ(reloaded.settings.BandSelect, kBandPmrLpd);
    ASSERT_TRUE(LoadGroupFile(reloaded).ok());
    EXPECT_EQ(reloaded.groups.GroupSize[0], 0);
    ASSERT_TRUE(LoadChannelFiles(reloaded).ok());
    EXPECT_EQ(reloaded.channels, ws.channels);
}

TEST_F(ChirpCsvTest, AFileThatCannotBeReadChangesNothing) {
    FillRich();
    const Workspace before = ws;
    const std::vector<std::pair<std::string, std::string>> unreadable = {
        {"empty", ""},
        {"only comments", "# nothing here\n\n"},
        {"no Location column", "Name,Frequency\nA,446.00625\n"},
        {"no usable line", "Location,Frequency\n1,460.0\n2,abc\n"},
    };
    for (const auto& [what, text] : unreadable) {
        SCOPED_TRACE(what);
        const auto report = Import(text);
        EXPECT_FALSE(report.ok());
        EXPECT_EQ(ws.channels, before.channels);
    }
    const auto missing = ImportChirpCsv(ws, folder / "missing.csv");
    EXPECT_FALSE(missing.ok());
    const auto directory = ImportChirpCsv(ws, folder.path());
    EXPECT_FALSE(directory.ok());

    EXPECT_EQ(ws.channels, before.channels);
    EXPECT_EQ(ws.channelMode, before.channelMode);
    EXPECT_EQ(ws.groups, before.groups);
    EXPECT_FALSE(std::filesystem::exists(folder / kConfigFile));
    EXPECT_FALSE(std::filesystem::exists(folder / kRxFreqFile));

    const auto noLine = Import("Location,Frequency\n1,460.0\n");
    EXPECT_EQ(noLine.message(), csv.string() + ": no line could be imported; nothing was changed.\n"
                                               "line 2: frequency 460.000000 MHz is outside 420 to 450 MHz");
}

TEST_F(ChirpCsvTest, ExportThenImportGivesBackEveryExportedChannel) {
    FillRich();
    for (const Row& row : kRichRows) ws.channels.SetCell(row.channel, ColGroup, "");
    ASSERT_TRUE(ExportChirpCsv(ws, csv).ok());
    const std::string firstExport = ReadBytes(csv);

    Workspace imported = WorkspaceIn(folder, kEditionPmrLpd);
    const auto report = ImportChirpCsv(imported, csv);
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_EQ(report->channelsImported, 7u);
    for (const Row& row : kRichRows) {
        SCOPED_TRACE(row.channel);
        const bool exported = !row.rx.empty();
        // Channel 9 held both tones; only the CTCSS tone travels.
        const std::string dcs = row.channel == 9 ? "[000] OFF" : row.dcs;
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColRxFreq), row.rx);
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColTxFreq), exported ? row.tx : "");
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColCtcss), exported ? row.ctcss : "[00] OFF");
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColDcs), exported ? dcs : "[000] OFF");
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColScan), exported ? row.scan : "Yes");
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColBand), exported ? row.band : "Narrow");
        EXPECT_EQ(imported.channels.GetCell(row.channel, ColPower), exported ? row.power : "High");
    }
    ASSERT_TRUE(ExportChirpCsv(imported, csv).ok());
    EXPECT_EQ(ReadBytes(csv), firstExport);
}

}  // namespace
}  // namespace corvane
