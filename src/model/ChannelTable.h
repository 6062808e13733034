#pragma once
// The one store of the channel memory: 256 rows (row 0 headers, rows 1..255
// channels) by 11 text cells, holding exactly the texts the grid shows.
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

enum Column : int {
    ColLabel = 0,
    ColGroup = 1,
    ColRxFreq = 2,
    ColTxFreq = 3,
    ColCtcss = 4,
    ColDcs = 5,
    ColScan = 6,
    ColBand = 7,
    ColPower = 8,
    ColScrambler = 9,
    ColCompander = 10,
};

constexpr int kRowCount = 256;        // header row included
constexpr int kColumnCount = 11;
constexpr int kChannelCount = 255;    // channels 1..255

// Cell vocabulary.
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No";
inline constexpr std::string_view kWide = "Wide";
inline constexpr std::string_view kNarrow = "Narrow";
inline constexpr std::string_view kHigh = "High";
inline constexpr std::string_view kLow = "Low";
inline constexpr std::string_view kOn = "On";
inline constexpr std::string_view kOff = "Off";

// Header texts of row 0, by column.
extern const std::array<std::string_view, kColumnCount> kColumnHeaders;

// The two fixed columns (label and group) and the fixed header row.
constexpr int kFixedColumnCount = 2;
constexpr int kFixedRowCount = 1;

// "[CH-007]" for channel 7.
std::string ChannelLabel(int channel);

// Frequency text form "###.000000" of a value in MHz; "" for 0.
std::string FormatFrequency(double mhz);

class ChannelTable {
public:
    // Called after any cell changed; lets a view follow every write at once.
    using ChangeListener = std::function<void(int row, int col)>;

    ChannelTable();  // headers in row 0, every other cell empty

    const std::string& GetCell(int row, int col) const;  // "" outside the table
    void SetCell(int row, int col, std::string text);     // ignored outside the table
    void SetFrequencyCell(double mhz, int row, int col);

    void SetChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

    static bool IsValidCell(int row, int col) { return row >= 0 && row < kRowCount && col >= 0 && col < kColumnCount; }

    bool operator==(const ChannelTable& other) const { return cells_ == other.cells_; }

private:
    std::array<std::array<std::string, kColumnCount>, kRowCount> cells_;
    ChangeListener listener_;
};

}  // namespace corvane
