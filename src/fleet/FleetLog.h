#pragma once
// The record of a fleet run: one CSV row per radio, appended as each one
// finishes, so the file stays a valid log however the run ends.
#include <array>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"

namespace corvane {

enum class UnitOutcome { Verified, Failed, Stopped };
// "verified", "failed", "stopped".
std::string_view OutcomeText(UnitOutcome outcome);

struct FleetLogRow {
    std::string time;    // FleetTimeText
    std::string label;
    std::string nameId;
    std::string dtmfId;
    std::string port;    // "COM5", or the device a fixed path named
    UnitOutcome outcome = UnitOutcome::Failed;
    std::string sha256;  // of the image written to this radio
    std::string details;  // the differences found, or why it failed or stopped

    bool operator==(const FleetLogRow&) const = default;
};

inline constexpr std::array<std::string_view, 8> kFleetLogColumns = {
    "time", "label", "name_id", "dtmf_id", "port", "result", "sha256", "differences"};

// The header line and one row, each without its line end (CR LF).
std::string FleetLogHeader();
std::string FleetLogLine(const FleetLogRow& row);
inline constexpr std::string_view kFleetLogLineEnd = "\r\n";

// The rows of a log's text. A line that is not a whole row (the torn end of
// a run that was killed) is passed over; a text that does not start with
// the header is not a fleet log.
Result<std::vector<FleetLogRow>> ParseFleetLog(std::string_view text);

// Where the rows go. Append returns once the row is safely kept.
class FleetLog {
public:
    virtual ~FleetLog() = default;
    virtual Status Append(const FleetLogRow& row) = 0;
};

// Local time with its offset: "2026-03-01T14:03:22+01:00".
std::string FleetTimeText(std::chrono::system_clock::time_point when);
// "fleet-2026-03-01_140322.csv", in local time.
std::string FleetLogFileName(std::chrono::system_clock::time_point when);

}  // namespace corvane
