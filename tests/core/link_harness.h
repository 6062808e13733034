#pragma once
// A fake serial line, a recording listener and a millisecond-stepped clock
// for driving LinkEngine without real time.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/LinkEngine.h"
#include "model/ChannelDefaults.h"
#include "model/Workspace.h"
#include "store/LinkFileStorage.h"

namespace corvane::linktest {

// About one byte time at 2400 baud, 11 bits.
inline constexpr int64_t kLineByteMs = 5;
// A frame that is not the radio's answer.
inline const std::vector<uint8_t> kForeignReply = {0x02, 0x07, 'C', 'O', 'N', 'X', 0x00, 0x03};

struct SentBytes {
    int64_t atMs;
    std::vector<uint8_t> bytes;
};

class FakePort : public SerialPort {
public:
    explicit FakePort(const LinkClock& clock) : clock_(clock) {}

    Status Open(const std::string& device) override {
        opened.push_back(device);
        if (missing.count(device)) {
            lastProblem = {OpenFailure::NoSuchDevice, {}};
            return Status::Error("cannot open " + device);
        }
        if (const auto refusal = refused.find(device); refusal != refused.end()) {
            lastProblem = refusal->second;
            return Status::Error("cannot open " + device);
        }
        open_ = true;
        device_ = device;
        return Status::Ok();
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    Status Write(std::span<const uint8_t> bytes) override {
        if (failWritesFrom && sent.size() >= *failWritesFrom) return Status::Error("write refused");
        if (beforeHandOver) beforeHandOver(sent.size());
        sent.push_back({clock_.NowMs(), {bytes.begin(), bytes.end()}});
        sentTo.push_back(device_);
        return Status::Ok();
    }
    std::size_t BytesToWrite() const override { return 0; }
    void DiscardBuffers() override {}
    // Like a pseudo-terminal until a test sets counters.
    std::optional<LineErrorCounts> LineErrorCounters() const override { return open_ ? counters : std::nullopt; }
    OpenProblem LastOpenProblem() const override { return lastProblem; }

    // All bytes written, in order.
    std::vector<uint8_t> AllSent() const {
        std::vector<uint8_t> all;
        for (const SentBytes& s : sent) all.insert(all.end(), s.bytes.begin(), s.bytes.end());
        return all;
    }

    std::vector<std::string> opened;
    std::map<std::string, bool> missing;
    std::map<std::string, OpenProblem> refused;  // opening fails for this reason
    OpenProblem lastProblem;
    std::vector<SentBytes> sent;
    std::vector<std::string> sentTo;
    std::optional<std::size_t> failWritesFrom;
    // Runs before write number n is taken (and its time recorded): a test
    // moves the clock here for a process held up on its way to the port.
    std::function<void(std::size_t n)> beforeHandOver;
    std::optional<LineErrorCounts> counters;

private:
    const LinkClock& clock_;
    bool open_ = false;
    std::string device_;
};

struct Message {
    std::string text;
    MessageKind kind;
};

class RecordingListener : public LinkListener {
public:
    void OnLinkStatus(const std::string& text, StatusColour colour) override {
        labels.push_back(text);
        this->colour = colour;
    }
    // Both calls reach Down and Up: a face shows whichever came last.
    void OnWriteReadEnabled(bool enabled) override { writeReadEnabled = downUpShown = enabled; }
    void OnTransferButtonsEnabled(bool enabled) override { transferButtons = downUpShown = enabled; }
    void OnPortInUse(bool inUse) override {
        // Locked and unlocked only together with the toolbar, never alone.
        if (!inUse) unlockedWithButtons.push_back(transferButtons);
        portInUse = inUse;
    }
    void OnProgress(int value) override {
        progress = value;
        progressMin = std::min(progressMin, value);
        progressMax = std::max(progressMax, value);
    }
    void OnMessage(const std::string& text, MessageKind kind) override { messages.push_back({text, kind}); }
    void OnCloseCellEditors() override { ++editorsClosed; }
    void OnImageAccepted() override { ++imagesAccepted; }
    void OnImageSent(const MemoryImage&) override { ++imagesSent; }
    void OnImageForCompare(std::span<const uint8_t> image) override {
        imagesForCompare.emplace_back(image.begin(), image.end());
    }
    void OnBackupSaved(const std::string& path) override { backupsSaved.push_back(path); }
    void OnBackupFailed(const std::string& text) override { backupFailures.push_back(text); }

    std::string Label() const { return labels.empty() ? std::string() : labels.back(); }
    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back().text; }

    std::vector<std::string> labels;
    StatusColour colour = StatusColour::Red;
    bool writeReadEnabled = false;
    bool transferButtons = true;
    bool downUpShown = true;  // "program" and "upload" as the toolbar shows them
    bool portInUse = false;
    std::vector<bool> unlockedWithButtons;
    int progress = 0;
    int progressMin = 0;
    int progressMax = 0;
    std::vector<Message> messages;
    int editorsClosed = 0;
    int imagesAccepted = 0;
    int imagesSent = 0;
    std::vector<std::vector<uint8_t>> imagesForCompare;
    std::vector<std::string> backupsSaved;
    std::vector<std::string> backupFailures;
};

inline const std::vector<uint8_t> kConnReply = {0x02, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x03};

// Owns a workspace, the fake line and the engine; Run() steps the clock
// one millisecond at a time, handing scheduled bytes to the engine first.
class LinkBench {
public:
    LinkBench() : port(clock), storage(ws), engine(ws, port, listener, clock, PortMap::WithSerialDir("/sim")) {
        engine.SetStorage(&storage);
        ws.edition = kEditionPmrLpd;
        ws.previousEdition = kEditionPmrLpd;
        ws.portName = "5";
        ResetToEditionDefaults(ws);
        folder = std::filesystem::temp_directory_path() /
                 ("corvane-link-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(folder);
        ws.programFolder = folder;
    }
    ~LinkBench() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void ReceiveAt(int64_t atMs, std::vector<uint8_t> bytes) { incoming.emplace(atMs, std::move(bytes)); }
    // One byte every gapMs starting at atMs.
    void ReceiveStream(int64_t atMs, const std::vector<uint8_t>& bytes, int64_t gapMs) {
        for (std::size_t i = 0; i < bytes.size(); ++i) ReceiveAt(atMs + static_cast<int64_t>(i) * gapMs, {bytes[i]});
    }

    void RunUntil(int64_t endMs) {
        while (clock.NowMs() < endMs) Step();
    }
    void RunFor(int64_t ms) { RunUntil(clock.NowMs() + ms); }
    // Time passes with nobody servicing the engine (a busy event loop).
    void StallFor(int64_t ms) { clock.Advance(ms); }
    // Steps until the condition holds or the limit passes; true when it held.
    template <typename Condition>
    bool RunUntilTrue(Condition condition, int64_t limitMs) {
        const int64_t end = clock.NowMs() + limitMs;
        while (!condition() && clock.NowMs() < end) Step();
        return condition();
    }

    // The time the last frame went out (the last write before now).
    int64_t LastSentAt() const { return port.sent.empty() ? -1 : port.sent.back().atMs; }

    // Reconnect and answer the connection request after replyDelayMs.
    void Connect(int64_t replyDelayMs = 200) {
        engine.ReconnectPort();
        RunUntilTrue([this] { return !port.sent.empty(); }, 1000);
        ReceiveAt(LastSentAt() + replyDelayMs, kConnReply);
        RunFor(replyDelayMs + 200);
    }

    ManualClock clock;
    Workspace ws;
    FakePort port;
    RecordingListener listener;
    LinkFileStorage storage;
    LinkEngine engine;
    std::multimap<int64_t, std::vector<uint8_t>> incoming;
    std::filesystem::path folder;

private:
    void Step() {
        clock.Advance(1);
        while (!incoming.empty() && incoming.begin()->first <= clock.NowMs()) {
            const std::vector<uint8_t> bytes = incoming.begin()->second;
            incoming.erase(incoming.begin());
            engine.OnBytesReceived(bytes);
        }
        // Like the real driver: service only when the engine asked for it.
        const std::optional<int64_t> next = engine.NextDeadline();
        if (next && *next <= clock.NowMs()) engine.Service();
    }
};

}  // namespace corvane::linktest
