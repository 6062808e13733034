#include "model/ChannelTable.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "model/Frequency.h"

namespace corvane {

const std::array<std::string_view, kColumnCount> kColumnHeaders = {
    "No", "GROUP", "RX - FREQ", "TX - FREQ", "CTCSS", "DCS", "SCAN", "BAND", "POWER", "SCR", "COM",
};

std::string ChannelLabel(int channel) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "[CH-%03d]", channel);
    return buffer;
}

namespace {

// Above this many hertz the value no longer fits the integer path.
constexpr double kLargestExactHertz = 9.0e18;

}  // namespace

std::string FormatFrequency(double mhz) {
    if (mhz == 0.0 || !std::isfinite(mhz)) return "";
    const double hertz = mhz * static_cast<double>(kHertzPerMegahertz);
    if (std::fabs(hertz) < kLargestExactHertz) return FormatHertz(std::llround(hertz));
    // Far outside any radio range; the decimals cannot matter any more.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.6f", mhz);
    return buffer;
}

ChannelTable::ChannelTable() {
    for (int col = 0; col < kColumnCount; ++col) cells_[0][col] = std::string(kColumnHeaders[col]);
}

const std::string& ChannelTable::GetCell(int row, int col) const {
    static const std::string kNone;
    if (!IsValidCell(row, col)) return kNone;
    return cells_[row][col];
}

void ChannelTable::SetCell(int row, int col, std::string text) {
    if (!IsValidCell(row, col)) return;
    cells_[row][col] = std::move(text);
    if (listener_) listener_(row, col);
}

void ChannelTable::SetFrequencyCell(double mhz, int row, int col) {
    SetCell(row, col, mhz != 0.0 ? FormatFrequency(mhz) : std::string());
}

}  // namespace corvane
