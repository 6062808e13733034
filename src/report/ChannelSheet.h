#pragma once
// The printed channel list as data: what every face prints, in the order it
// prints it. The desktop renderer, the HTML writer (CLI and page) and the
// tests all read this one model, so the sheets cannot drift apart.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct Workspace;

// Channel, group, RX, TX, tone, scan, width, power, scrambler, compander.
constexpr int kSheetColumnCount = 10;
enum SheetColumn : int {
    SheetChannel, SheetGroup, SheetRx, SheetTx, SheetTone, SheetScan, SheetBand, SheetPower, SheetScrambler, SheetCompander
};

inline constexpr std::string_view kSheetTitle = "Channel List";
inline constexpr std::string_view kSheetToneHeader = "TONE";

struct SheetRow {
    int channel = 0;  // 1..255
    std::array<std::string, kSheetColumnCount> cells;
};

// One radio-wide setting with the setup window's caption and option text.
struct SheetSetting {
    std::string caption;
    std::string value;
};

struct ChannelSheet {
    std::string program;      // "Corvane PC Programmer"
    std::string edition;      // "PMR + LPD" or "Korea"
    std::string mode;         // "Default" or "Custom"
    std::string date;         // as given by the caller, e.g. "2025-03-07"
    std::string fingerprint;  // 8 hex digits of the image's SHA-256; empty when the set builds none
    std::string imageProblem; // why the set builds no image (then fingerprint is empty)
    std::vector<SheetSetting> settings;
    std::array<std::string, kSheetColumnCount> headers;
    std::vector<SheetRow> rows;  // the channels that have a frequency, in channel order
};

// The sheet of the working set as it stands. The tone column shows the tone
// the radio is sent (CTCSS first when a channel holds both); every other
// cell is the grid's text.
ChannelSheet BuildChannelSheet(const Workspace& ws, std::string date);

// "2025-03-07": the one date form of the sheet, whatever clock a face reads.
std::string SheetDate(int year, int month, int day);

// The texts of the header every page repeats.
std::string SheetHeadline(const ChannelSheet& sheet);    // "Corvane PC Programmer - Channel List"
std::string SheetSetLine(const ChannelSheet& sheet);     // "PMR + LPD, Default mode, 2025-03-07"
std::string SheetImageLine(const ChannelSheet& sheet);   // "Image fingerprint 1a2b3c4d" or "No image: ..."
inline constexpr std::string_view kSheetNoChannelsText = "No channel has a frequency.";

}  // namespace corvane
