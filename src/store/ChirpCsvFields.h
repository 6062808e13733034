#pragma once
// Pieces the CHIRP CSV reader and writer share: the column set, CHIRP's
// defaults, tone and DCS texts, exact decimal parsing and CSV records.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::chirpcsv {

// CHIRP's current column set, in its order.
inline constexpr std::array<std::string_view, 21> kColumns = {
    "Location", "Name",     "Frequency", "Duplex", "Offset",     "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",    "Comment",   "URCALL", "RPT1CALL",   "RPT2CALL", "DVCODE",
};

// What CHIRP writes for a field that does not apply.
inline constexpr std::string_view kDefaultToneText = "88.5";
inline constexpr int kDefaultToneTenths = 885;
inline constexpr std::string_view kDefaultDtcsCode = "023";
inline constexpr std::size_t kDcsDigits = 3;  // as in "023"
inline constexpr std::string_view kDefaultPolarity = "NN";
inline constexpr std::string_view kDefaultCrossMode = "Tone->Tone";
inline constexpr std::string_view kZeroOffset = "0.000000";
inline constexpr std::string_view kTuningStep = "6.25";

// Nominal power values: this radio only knows High and Low.
inline constexpr std::string_view kHighPowerText = "2.0W";
inline constexpr std::string_view kLowPowerText = "0.5W";
inline constexpr double kHighPowerThresholdWatts = 1.0;

inline constexpr std::string_view kCsvLineEnd = "\r\n";

// True when CHIRP's CTCSS list (its standard and extra tones) holds the tone.
bool ChirpAcceptsToneTenths(int tenths);

// Tone of a CTCSS code in tenths of a hertz, read from its label; 0 for none.
int CtcssTenths(int code);
// "88.5" for 885.
std::string TenthsText(int tenths);
// The CTCSS code whose tone is tenths; 0 when this radio has no such tone.
int CtcssCodeOfTenths(int tenths);

// The three octal digits and the polarity of a DCS label; nullopt for OFF.
struct DcsParts {
    std::string digits;
    bool inverted = false;
};
std::optional<DcsParts> DcsPartsOf(std::string_view label);
// The code of the edition's label with these digits and polarity; 0 if none.
int DcsCodeOf(std::string_view digits, bool inverted, int16_t edition);

// Exact decimal texts: "446.00625" MHz to 446006250 Hz; more than six
// decimals only when the extra digits are zeros. nullopt for anything else.
std::optional<int64_t> ParseMegahertz(std::string_view text);
// Why ParseMegahertz gave no hertz: a number it is, only finer than a hertz
// ("446.0437500000001") or far too large or below zero for a frequency.
enum class NotMegahertz { NotANumber, FinerThanAHertz, OutOfRange };
NotMegahertz WhyNotMegahertz(std::string_view text);
// "88.5" to 885, "100" to 1000; nullopt for anything else or finer values.
std::optional<int> ParseTenths(std::string_view text);
// Plain decimal integer, at most nine digits; nullopt otherwise.
std::optional<int> ParseWholeNumber(std::string_view text);

std::string_view Trimmed(std::string_view text);

// "1 channel", "2 channels".
std::string CountOf(std::size_t count, std::string_view noun);

// One CSV record: the file line it starts on and its fields, unquoted.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
    bool unterminatedQuote = false;
};
// RFC 4180 records with doubled quotes, CR LF, LF or CR line ends. A UTF-8
// byte-order mark, blank lines and lines starting with '#' are dropped.
std::vector<CsvRecord> SplitCsvRecords(std::string_view text);

// The field as written to a file: quoted when it holds a comma, a quote or a
// line break, inner quotes doubled.
std::string CsvField(std::string_view text);

}  // namespace corvane::chirpcsv
