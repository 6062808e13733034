#include "fleet/FleetLog.h"

#include <algorithm>
#include <ctime>

#include "store/ChirpCsvFields.h"

namespace corvane {
namespace {

enum LogColumn : std::size_t { kTime, kLabel, kNameId, kDtmfId, kPort, kResult, kSha256, kDetails };
constexpr std::array kOutcomes = {UnitOutcome::Verified, UnitOutcome::Failed, UnitOutcome::Stopped};
constexpr std::size_t kTimeTextSize = 64;

std::tm LocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&seconds)) local = *converted;
    return local;
}

std::string Formatted(const std::tm& time, const char* format) {
    char text[kTimeTextSize] = {};
    const std::size_t length = std::strftime(text, sizeof text, format, &time);
    return std::string(text, length);
}

}  // namespace

std::string_view OutcomeText(UnitOutcome outcome) {
    switch (outcome) {
        case UnitOutcome::Verified: return "verified";
        case UnitOutcome::Failed: return "failed";
        case UnitOutcome::Stopped: return "stopped";
    }
    return "failed";
}

std::string FleetLogHeader() {
    std::string line;
    for (const std::string_view column : kFleetLogColumns) line += (line.empty() ? "" : ",") + std::string(column);
    return line;
}

std::string FleetLogLine(const FleetLogRow& row) {
    const std::array<std::string_view, kFleetLogColumns.size()> fields = {
        row.time, row.label, row.nameId, row.dtmfId, row.port, OutcomeText(row.outcome), row.sha256, row.details};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + chirpcsv::CsvField(fields[i]);
    return line;
}

Result<std::vector<FleetLogRow>> ParseFleetLog(std::string_view text) {
    const std::vector<chirpcsv::CsvRecord> records = chirpcsv::SplitCsvRecords(text);
    if (records.empty() || records.front().fields.size() != kFleetLogColumns.size() ||
        !std::equal(kFleetLogColumns.begin(), kFleetLogColumns.end(), records.front().fields.begin())) {
        return Status::Error("not a fleet log: the first line is not \"" + FleetLogHeader() + "\"");
    }
    std::vector<FleetLogRow> rows;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const chirpcsv::CsvRecord& record = records[i];
        if (record.unterminatedQuote || record.fields.size() != kFleetLogColumns.size()) continue;
        const auto& f = record.fields;
        for (const UnitOutcome outcome : kOutcomes) {
            if (f[kResult] != OutcomeText(outcome)) continue;
            rows.push_back(FleetLogRow{f[kTime], f[kLabel], f[kNameId], f[kDtmfId], f[kPort], outcome, f[kSha256], f[kDetails]});
        }
    }
    return rows;
}

std::string FleetTimeText(std::chrono::system_clock::time_point when) {
    const std::tm local = LocalTime(when);
    // strftime's %z gives +0100; ISO 8601 wants +01:00.
    std::string offset = Formatted(local, "%z");
    if (offset.size() == 5) offset.insert(3, ":");
    return Formatted(local, "%Y-%m-%dT%H:%M:%S") + offset;
}

std::string FleetLogFileName(std::chrono::system_clock::time_point when) {
    return "fleet-" + Formatted(LocalTime(when), "%Y-%m-%d_%H%M%S") + ".csv";
}

}  // namespace corvane
