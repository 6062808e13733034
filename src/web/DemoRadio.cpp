#include "web/DemoRadio.h"

#include <chrono>

namespace corvane::web {

DemoRadio::DemoRadio(const std::string& memoryFile)
    : memory_(memoryFile),
      sim_(std::make_unique<sim::RadioSim>(options_, memory_, log_,
                                           [this](std::span<const uint8_t> bytes) { Send(bytes); })) {}

sim::RadioSim::Clock::time_point DemoRadio::At(double nowMs) {
    const auto micros = std::chrono::microseconds(static_cast<int64_t>(nowMs * 1000.0));
    return sim::RadioSim::Clock::time_point(std::chrono::duration_cast<sim::RadioSim::Clock::duration>(micros));
}

void DemoRadio::Receive(const std::vector<uint8_t>& bytes, double nowMs) { sim_->OnBytes(bytes, At(nowMs)); }

void DemoRadio::Tick(double nowMs) { sim_->OnTick(At(nowMs)); }

double DemoRadio::NextDeadline() const {
    const auto next = sim_->NextDeadline();
    if (!next) return -1;
    return std::chrono::duration<double, std::milli>(next->time_since_epoch()).count();
}

void DemoRadio::Send(std::span<const uint8_t> bytes) {
    if (output_.isUndefined()) return;
    const emscripten::val view(emscripten::typed_memory_view(bytes.size(), bytes.data()));
    output_(emscripten::val::global("Uint8Array").new_(view));
}

}  // namespace corvane::web
