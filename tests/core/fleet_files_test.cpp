// The units list's rules and the fleet log's format on disk.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fleet/FleetLogFile.h"
#include "fleet/UnitsList.h"
#include "model/SettingsRecord.h"

namespace corvane {
namespace {

Result<std::vector<FleetUnit>> FromCsv(std::string_view text) {
    const auto rows = UnitsRowsFromCsv(text);
    if (!rows) return rows.status();
    return UnitsFromRows(*rows);
}

TEST(UnitsList, ReadsAHeaderedListSkippingBlankRowsAndExtraColumns) {
    const auto units = FromCsv("\xEF\xBB\xBFLabel,Name ID,DTMF ID,Notes\r\n"
                               "\"Gate, north\",ab,10001,spare battery\r\n"
                               ",,\r\n"
                               "# the car park\r\n"
                               " Car park , XY ,\r\n");
    ASSERT_TRUE(units.ok()) << units.message();
    EXPECT_EQ(*units, (std::vector<FleetUnit>{{"Gate, north", "AB", "10001", 2}, {"Car park", "XY", "", 5}}));
    // Without a header the first row is a radio.
    const auto bare = FromCsv("Gate,SE,1\n");
    ASSERT_TRUE(bare.ok());
    EXPECT_EQ(bare->front(), (FleetUnit{"Gate", "SE", "1", 1}));
    const auto named = UnitsFromRows({{3, {"label", "name_id", "dtmf_id"}}, {4, {"Unit", "äö", "12"}}});
    ASSERT_TRUE(named.ok()) << named.message();
    EXPECT_EQ(named->front().nameId, "ÄÖ");
}

TEST(UnitsList, RefusesTheFirstBadCellNamingRowAndColumn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Label,Name ID,DTMF ID\nA,AB,1\n,CD,2\n", "row 3, column A (Label): every radio needs a label"},
        {"A,A1,1\n", "row 1, column B (Name ID): \"A1\" is not a Name ID: " + std::string(kNameIdCharacters)},
        {"A,A,1\n", "row 1, column B (Name ID): \"A\" is not a Name ID: " + std::string(kNameIdCharacters)},
        {"A,ABC,1\n", "row 1, column B (Name ID): \"ABC\" is not a Name ID: " + std::string(kNameIdCharacters)},
        {"A,A!,1\n", "row 1, column B (Name ID): \"A!\" is not a Name ID: " + std::string(kNameIdCharacters)},
        {"A,AB,123456\n", "row 1, column C (DTMF ID): \"123456\" is not a DTMF ID: at most 5 digits"},
        {"A,AB,12A\n", "row 1, column C (DTMF ID): \"12A\" is not a DTMF ID: at most 5 digits"},
        {"A,AB,1\nB,CD,2\nA,EF,3\n", "row 3, column A (Label): \"A\" is already the label of row 1"},
        {"A,AB,12\nB,CD,12\n", "row 2, column C (DTMF ID): 12 is already the DTMF ID of row 1"},
        {"\"Gate\nnorth\",AB,1\n", "row 1, column A (Label): a label must fit on one line, without control characters"},
        {"Label,Name ID,DTMF ID\n", "the list names no radio (columns: Label, Name ID, DTMF ID)"},
        {"A,AB,\"12\n", "row 1: a quoted field is never closed"},
        {"Label;Name ID;DTMF ID\n", "row 1: the columns are separated by semicolons; save the list with commas"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FromCsv(text).message(), message);
    }
}

class LogFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("corvane-fleet-log-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string Text(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::filesystem::path folder_;
};

const FleetLogRow kFailed{"2026-03-01T14:03:22+01:00", "Gate, \"north\"", "AB", "10001", "COM5", UnitOutcome::Failed,
                          "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08",
                          "channel 12  RX  446.006250 -> 430.000000; Squelch  Auto -> 3"};

TEST_F(LogFolder, RowsAreAppendedBehindTheHeaderAndReadBackOnTheNextRun) {
    const auto path = folder_ / "fleet.csv";
    {
        auto log = FleetLogFile::Open(path);
        ASSERT_TRUE(log.ok()) << log.message();
        EXPECT_TRUE(log->EarlierRows().empty());
        ASSERT_TRUE(log.value().Append(kFailed).ok());
    }
    EXPECT_EQ(Text(path),
              "time,label,name_id,dtmf_id,port,result,sha256,differences\r\n"
              "2026-03-01T14:03:22+01:00,\"Gate, \"\"north\"\"\",AB,10001,COM5,failed,"
              "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08,"
              "channel 12  RX  446.006250 -> 430.000000; Squelch  Auto -> 3\r\n");

    FleetLogRow verified = kFailed;
    verified.outcome = UnitOutcome::Verified;
    verified.details.clear();
    {
        auto log = FleetLogFile::Open(path);
        ASSERT_TRUE(log.ok());
        EXPECT_EQ(log->EarlierRows(), std::vector<FleetLogRow>{kFailed});
        ASSERT_TRUE(log.value().Append(verified).ok());
    }
    const auto again = FleetLogFile::Open(path);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->EarlierRows(), (std::vector<FleetLogRow>{kFailed, verified}));
}

TEST_F(LogFolder, ATornLastLineIsPassedOverAndAForeignFileRefused) {
    const auto path = folder_ / "fleet.csv";
    const std::string whole = FleetLogHeader() + "\r\n" + FleetLogLine(kFailed) + "\r\n";
    Write(path, whole + FleetLogLine(kFailed).substr(0, 40));
    {
        auto log = FleetLogFile::Open(path);
        ASSERT_TRUE(log.ok());
        EXPECT_EQ(log->EarlierRows(), std::vector<FleetLogRow>{kFailed});
        ASSERT_TRUE(log.value().Append(kFailed).ok());
    }
    // The next row starts on a line of its own.
    const auto reopened = FleetLogFile::Open(path);
    ASSERT_TRUE(reopened.ok());
    EXPECT_EQ(reopened->EarlierRows(), (std::vector<FleetLogRow>{kFailed, kFailed}));

    const auto other = folder_ / "channels.csv";
    Write(other, "Location,Name,Frequency\r\n");
    const auto refused = FleetLogFile::Open(other);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), other.string() + ": not a fleet log: the first line is not \"" + FleetLogHeader() + "\"");
    EXPECT_EQ(Text(other), "Location,Name,Frequency\r\n");
    EXPECT_FALSE(FleetLogFile::Open(folder_ / "missing" / "fleet.csv").ok());
}

TEST(FleetLogText, TimesAreLocalWithTheirOffsetAndNamesSortByTime) {
    const auto when = std::chrono::system_clock::time_point(std::chrono::seconds(1'772'370'202));
    const std::string time = FleetTimeText(when);
    ASSERT_EQ(time.size(), 25u) << time;
    EXPECT_EQ(time[10], 'T');
    EXPECT_EQ(time[22], ':');
    EXPECT_TRUE(time[19] == '+' || time[19] == '-') << time;
    const std::string name = FleetLogFileName(when);
    EXPECT_EQ(name.size(), std::string("fleet-2026-03-01_140322.csv").size());
    EXPECT_EQ(name.substr(0, 8), "fleet-20");
    EXPECT_EQ(name.substr(6, 10), time.substr(0, 10));
}

}  // namespace
}  // namespace corvane
