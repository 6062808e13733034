#pragma once
// Line log of what the radio saw and did, for tests and for bench runs.
#include <chrono>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>

namespace corvane::sim {

class SimLog {
public:
    explicit SimLog(const std::string& file);  // empty: log nothing
    bool ok() const { return !enabled_ || out_.good(); }
    void Line(const std::string& text);
    void Bytes(const std::string& tag, std::span<const uint8_t> bytes);

private:
    bool enabled_ = false;
    std::ofstream out_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace corvane::sim
