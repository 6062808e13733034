#include "RadioSim.h"

#include <algorithm>
#include <string>

#include "LineFaults.h"

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
constexpr std::size_t kGarbageLength = 16;

bool IsConnect(const Frame& f) {
    return f.size() == kConnectLastIndex + 1u && f[2] == 'C' && f[3] == 'O' && f[4] == 'N' && f[5] == 'N';
}

bool IsCommand(const Frame& f, uint8_t letter) { return f.size() == kCommandLastIndex + 1u && f[2] == letter; }

}  // namespace

RadioSim::RadioSim(const SimOptions& options, RadioMemory& memory, SimLog& log, Writer writer)
    : options_(options), memory_(memory), log_(log), writer_(std::move(writer)), random_(options.seed) {
    if (options_.units > 0) StartUnit(1);
}

void RadioSim::OnBytes(std::span<const uint8_t> bytes, Clock::time_point now) {
    if (options_.silent) return;
    if (options_.echo) {
        log_.Bytes("ECHO", bytes);
        writer_(bytes);
        return;
    }
    if (!plugged_) {
        HearWhileUnplugged(bytes, now);
        return;
    }
    for (uint8_t byte : bytes) {
        if (!plugged_) break;  // dropped part-way through this chunk
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
    if (options_.garbage) reply = Garbage(random_, kGarbageLength);
    if (options_.wrongSpeed) reply = AsReadAtLineSpeed(reply, *options_.wrongSpeed);
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
    if (DropsNow()) {
        // Gone mid-write: the memory keeps what it held.
        const std::size_t heard = incoming_.size();
        collecting_ = false;
        incoming_.clear();
        Unplug("after " + std::to_string(heard) + " bytes of the write");
        return;
    }
    if (incoming_.size() < kImageLength) return;
    collecting_ = false;
    log_.Line("RX IMAGE " + std::to_string(incoming_.size()));
    WriteArrivals();
    if (Status s = memory_.Store(incoming_); !s) log_.Line("ERROR " + s.message());
    if (!options_.receivedImageFile.empty()) {
        if (Status s = WriteBytesFile(options_.receivedImageFile, incoming_); !s) log_.Line("ERROR " + s.message());
    }
    ++completed_;
    unitWritten_ = true;
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
    SwapIfDue(now);
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
        // Written and read back: this radio is done and taken off the cable.
        if (options_.units > 0 && unitWritten_) Unplug("after its read-back");
    }
}

// ---------------------------------------------------------------- radios in turn

void RadioSim::StartUnit(std::size_t unit) {
    unit_ = unit;
    plugged_ = true;
    unitWritten_ = false;
    swapAt_.reset();
    const std::string file = options_.memoryFile.empty() ? std::string() : options_.memoryFile + "." + std::to_string(unit);
    if (Status s = memory_.StartFresh(file); !s) log_.Line("ERROR " + s.message());
    log_.Line("UNIT " + std::to_string(unit) + " plugged in");
}

void RadioSim::Unplug(const std::string& why) {
    plugged_ = false;
    collecting_ = false;
    outbox_.clear();
    swapAt_.reset();
    log_.Line("UNIT " + std::to_string(unit_) + " unplugged " + why);
}

bool RadioSim::DropsNow() const {
    for (const UnitDrop& drop : options_.drops) {
        if (drop.unit == unit_ && drop.afterBytes == incoming_.size()) return true;
    }
    return false;
}

// Nothing answers; the first connection request that finds the line dead
// starts the swap to the next radio.
void RadioSim::HearWhileUnplugged(std::span<const uint8_t> bytes, Clock::time_point now) {
    for (uint8_t byte : bytes) {
        const auto frame = frames_.Feed(byte, now);
        if (!frame || !IsConnect(*frame) || swapAt_) continue;
        swapAt_ = now + options_.swapTime;
        log_.Line("RX CONN unanswered");
    }
    frames_.TakeStrays();
}

void RadioSim::SwapIfDue(Clock::time_point now) {
    if (plugged_ || !swapAt_ || now < *swapAt_) return;
    swapAt_.reset();
    if (unit_ < options_.units) {
        StartUnit(unit_ + 1);
    } else {
        log_.Line("NO MORE UNITS");
    }
}

std::optional<RadioSim::Clock::time_point> RadioSim::NextDeadline() const {
    std::optional<Clock::time_point> next;
    if (!outbox_.empty()) next = outbox_.front().due;
    if (!plugged_ && swapAt_ && (!next || *swapAt_ < *next)) next = swapAt_;
    if (collecting_) {
        const auto stall = lastIncoming_ + options_.collectTimeout;
        if (!next || stall < *next) next = stall;
    }
    return next;
}

}  // namespace corvane::sim
