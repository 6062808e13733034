#include "RadioSim.h"

#include <algorithm>
#include <string>

namespace corvane::sim {
namespace {

constexpr uint8_t kConnectLastIndex = 7;
constexpr uint8_t kCommandLastIndex = 5;
constexpr uint8_t kWriteCommand = 'M';
constexpr uint8_t kReadCommand = 'R';
constexpr std::size_t kModeIndex = 3;
constexpr std::size_t kNoiseLength = 6;
constexpr uint8_t kExtraByte = 0xA5;
constexpr uint8_t kBadEndByte = 0x04;
constexpr std::size_t kForeignLetterIndex = 5;

bool IsConnect(const Frame& f) {
    return f.size() == kConnectLastIndex + 1u && f[2] == 'C' && f[3] == 'O' && f[4] == 'N' && f[5] == 'N';
}

bool IsCommand(const Frame& f, uint8_t letter) { return f.size() == kCommandLastIndex + 1u && f[2] == letter; }

}  // namespace

RadioSim::RadioSim(const SimOptions& options, RadioMemory& memory, SimLog& log, Writer writer)
    : options_(options), memory_(memory), log_(log), writer_(std::move(writer)), random_(options.seed) {}

void RadioSim::OnBytes(std::span<const uint8_t> bytes, Clock::time_point now) {
    for (uint8_t byte : bytes) {
        if (collecting_) {
            CollectImageByte(byte, now);
            continue;
        }
        if (auto frame = frames_.Feed(byte, now)) {
            log_.Bytes("RX STRAY", frames_.TakeStrays());
            OnFrame(*frame, now);
        }
    }
    log_.Bytes("RX STRAY", frames_.TakeStrays());
}

void RadioSim::OnFrame(const Frame& frame, Clock::time_point now) {
    if (IsConnect(frame)) {
        log_.Line("RX CONN");
        AnswerConnect(frame, now);
    } else if (IsCommand(frame, kWriteCommand)) {
        log_.Line("RX WRITE mode=" + std::to_string(frame[kModeIndex]));
        collecting_ = true;
        incoming_.clear();
        arrivals_.clear();
        lastIncoming_ = now;
    } else if (IsCommand(frame, kReadCommand)) {
        log_.Line("RX READ mode=" + std::to_string(frame[kModeIndex]));
        StartBurst(now + options_.readDelay);
    } else {
        log_.Bytes("RX FRAME", frame);
    }
}

void RadioSim::AnswerConnect(const Frame& request, Clock::time_point now) {
    if (options_.noAnswer) return;
    if (options_.noise) {
        std::uniform_int_distribution<int> dist(0, 255);
        std::vector<uint8_t> noise;
        while (noise.size() < kNoiseLength) {
            const auto b = static_cast<uint8_t>(dist(random_));
            if (b != kFrameStart) noise.push_back(b);  // never a frame start
        }
        Schedule(noise, now);
    }
    Frame reply = request;
    if (options_.malformed) reply.back() = kBadEndByte;
    if (options_.foreign) reply[kForeignLetterIndex] = 'X';
    log_.Bytes("TX REPLY", reply);
    Schedule(reply, now + options_.replyDelay);
}

void RadioSim::StartBurst(Clock::time_point start) {
    const MemoryImage& image = memory_.image();
    const std::size_t imageBytes = std::min(options_.shortImage.value_or(image.size()), image.size());
    const std::size_t total = imageBytes + options_.extraBytes;
    if (total == 0) return;
    burstSize_ = total;
    auto due = start;
    Scheduled item{};
    for (std::size_t i = 0; i < total; ++i) {
        if (options_.pause && i == options_.pause->afterBytes && i > 0) due += options_.pause->length;
        uint8_t byte = i < imageBytes ? image[i] : kExtraByte;
        if (options_.corruptIndex && i == *options_.corruptIndex) byte = static_cast<uint8_t>(~byte);
        item = {due, byte, i + 1 == total};
        auto pos = std::upper_bound(outbox_.begin(), outbox_.end(), due,
                                    [](auto t, const Scheduled& s) { return t < s.due; });
        outbox_.insert(pos, item);
        due += options_.byteTime;
    }
}

void RadioSim::Schedule(std::span<const uint8_t> bytes, Clock::time_point due) {
    for (uint8_t b : bytes) {
        auto pos = std::upper_bound(outbox_.begin(), outbox_.end(), due,
                                    [](auto t, const Scheduled& s) { return t < s.due; });
        outbox_.insert(pos, Scheduled{due, b, false});
    }
}

void RadioSim::CollectImageByte(uint8_t byte, Clock::time_point now) {
    incoming_.push_back(byte);
    arrivals_.push_back(now);
    lastIncoming_ = now;
    if (incoming_.size() < kImageLength) return;
    collecting_ = false;
    log_.Line("RX IMAGE " + std::to_string(incoming_.size()));
    WriteArrivals();
    if (Status s = memory_.Store(incoming_); !s) log_.Line("ERROR " + s.message());
    if (!options_.receivedImageFile.empty()) {
        if (Status s = WriteBytesFile(options_.receivedImageFile, incoming_); !s) log_.Line("ERROR " + s.message());
    }
    ++completed_;
}

void RadioSim::WriteArrivals() {
    if (options_.arrivalsFile.empty() || arrivals_.empty()) return;
    std::string text;
    for (const Clock::time_point at : arrivals_) {
        text += std::to_string(std::chrono::duration_cast<Micros>(at - arrivals_.front()).count()) + '\n';
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (Status s = WriteBytesFile(options_.arrivalsFile, std::span<const uint8_t>(bytes, text.size())); !s) {
        log_.Line("ERROR " + s.message());
    }
}

void RadioSim::OnTick(Clock::time_point now) {
    if (collecting_ && now - lastIncoming_ >= options_.collectTimeout) {
        // The programmer gave up mid-write; the memory keeps its old contents.
        log_.Line("RX IMAGE INCOMPLETE " + std::to_string(incoming_.size()));
        collecting_ = false;
        incoming_.clear();
    }
    std::vector<uint8_t> due;
    bool burstDone = false;
    while (!outbox_.empty() && outbox_.front().due <= now) {
        due.push_back(outbox_.front().byte);
        burstDone = burstDone || outbox_.front().lastOfBurst;
        outbox_.pop_front();
    }
    if (due.empty()) return;
    writer_(due);
    if (burstDone) {
        log_.Line("TX IMAGE " + std::to_string(burstSize_));
        ++completed_;
    }
}

std::optional<RadioSim::Clock::time_point> RadioSim::NextDeadline() const {
    std::optional<Clock::time_point> next;
    if (!outbox_.empty()) next = outbox_.front().due;
    if (collecting_) {
        const auto stall = lastIncoming_ + options_.collectTimeout;
        if (!next || stall < *next) next = stall;
    }
    return next;
}

}  // namespace corvane::sim
