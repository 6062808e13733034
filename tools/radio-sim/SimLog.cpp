#include "SimLog.h"

#include <cstdio>

namespace corvane::sim {

SimLog::SimLog(const std::string& file) : enabled_(!file.empty()) {
    if (enabled_) out_.open(file, std::ios::trunc);
}

void SimLog::Line(const std::string& text) {
    if (!enabled_) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    out_ << ms << ' ' << text << '\n';
    out_.flush();  // tests read the log while the radio runs
}

void SimLog::Bytes(const std::string& tag, std::span<const uint8_t> bytes) {
    if (!enabled_ || bytes.empty()) return;
    Line(tag + ' ' + HexBytes(bytes));
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    std::string text;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!text.empty()) text += ' ';
        text += buf;
    }
    return text;
}

}  // namespace corvane::sim
