#pragma once
// Shared pieces of the window tests: a message sink that records instead of
// blocking, and the link engine on a fake serial line and simulated time.
#include <QAbstractItemView>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "../core/link_harness.h"
#include "app/MessageBoxes.h"
#include "image/MemoryImage.h"
#include "link/LinkOwner.h"
#include "model/ChannelDefaults.h"

namespace corvane::guitest {

class RecordingMessages final : public MessageSink {
public:
    void Show(QWidget* owner, const QString& text, MessageIcon icon) override {
        texts << text;
        icons.push_back(icon);
        owners.emplace_back(owner != nullptr ? owner->window() : nullptr);
        if (onShow) onShow(text);
    }
    void Beep() override { ++beeps; }

    QString Last() const { return texts.isEmpty() ? QString() : texts.last(); }
    void Clear() {
        onShow = nullptr;
        texts.clear();
        icons.clear();
        owners.clear();
        beeps = 0;
    }

    QStringList texts;
    std::vector<MessageIcon> icons;
    std::vector<QPointer<QWidget>> owners;  // the window each message belonged to
    int beeps = 0;
    // Runs while the box would be up.
    std::function<void(const QString&)> onShow;
};

// The engine of the window under test, on a fake port.
class FakeLink final : public LinkOwner {
public:
    FakeLink(Workspace& ws, LinkListener& listener, const ManualClock& clock)
        : port(clock), storage(ws), engine(ws, port, listener, clock, PortMap::WithSerialDir("/sim")) {
        engine.SetStorage(&storage);
    }
    LinkEngine& Engine() override { return engine; }

    linktest::FakePort port;
    LinkFileStorage storage;
    LinkEngine engine;
};

// Hands out the link and steps simulated time for it, a millisecond at a time.
class SimulatedLink {
public:
    LinkFactory Factory() {
        return [this](Workspace& ws, LinkListener& listener) {
            auto link = std::make_unique<FakeLink>(ws, listener, clock);
            link_ = link.get();
            return std::unique_ptr<LinkOwner>(std::move(link));
        };
    }
    FakeLink& Link() { return *link_; }
    bool Exists() const { return link_ != nullptr; }
    // The engine is inside Service() (as the program's timer would call it).
    bool InService() const { return inService_; }

    void ReceiveAt(int64_t atMs, std::vector<uint8_t> bytes) { incoming_.emplace(atMs, std::move(bytes)); }
    void ReceiveIn(int64_t delayMs, std::vector<uint8_t> bytes) { ReceiveAt(clock.NowMs() + delayMs, std::move(bytes)); }
    void RunFor(int64_t ms) {
        const int64_t end = clock.NowMs() + ms;
        while (clock.NowMs() < end) Step();
    }
    template <typename Condition>
    bool RunUntilTrue(Condition condition, int64_t limitMs) {
        const int64_t end = clock.NowMs() + limitMs;
        while (!condition() && clock.NowMs() < end) Step();
        return condition();
    }
    // Answers the connection request that is outstanding.
    void AnswerConnection() {
        ReceiveIn(150, linktest::kConnReply);
        RunFor(400);
    }

    ManualClock clock;

private:
    void Step() {
        clock.Advance(1);
        while (!incoming_.empty() && incoming_.begin()->first <= clock.NowMs()) {
            const std::vector<uint8_t> bytes = incoming_.begin()->second;
            incoming_.erase(incoming_.begin());
            link_->engine.OnBytesReceived(bytes);
        }
        const std::optional<int64_t> next = link_->engine.NextDeadline();
        if (next && *next <= clock.NowMs()) {
            inService_ = true;
            link_->engine.Service();
            inService_ = false;
        }
        // What the windows queued for after the engine's call: its messages.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }

    FakeLink* link_ = nullptr;
    bool inService_ = false;
    std::multimap<int64_t, std::vector<uint8_t>> incoming_;
};

// Per-user settings go to a folder of this test run, never the user's own.
inline void IsolateUserSettings() {
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
}

// Clicks table cell (row 1..255, col) of a grid whose model row is row - 1.
inline void ClickCell(QAbstractItemView& view, int row, int col) {
    const QModelIndex index = view.model()->index(row - 1, col);
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
}

// What the tests' radio holds: a Korea image in Custom mode with channel 3 on 433.2 MHz.
inline MemoryImage KoreaCustomImage() {
    Workspace radio;
    radio.edition = kEditionKorea;
    radio.channelMode = kModeCustom;
    FillDefaults(radio);
    radio.channels.SetFrequencyCell(433.2, 3, ColRxFreq);
    radio.channels.SetFrequencyCell(433.2, 3, ColTxFreq);
    const Result<MemoryImage> image = BuildImage(radio);
    if (!image.ok()) qFatal("%s", image.message().c_str());
    return *image;
}

}  // namespace corvane::guitest
