#pragma once
// What the write, read and detect verbs share: choosing the port, running
// the link engine on a Qt event loop and showing its progress and messages.
#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "link/LinkEngine.h"
#include "link/qt/LinkDriver.h"
#include "store/LinkFileStorage.h"

namespace corvane::cli {

// --port N (1 to 12, sets PortName) or --port PATH (opened as it is);
// without it PortName from Port.txt and the serial folder of ctx.
Result<PortMap> ChoosePort(const CliContext& ctx, const std::string& port, Workspace& ws);

class CliLinkSession : public LinkListener {
public:
    CliLinkSession(CliContext& ctx, Workspace& ws, PortMap portMap);
    ~CliLinkSession() override;

    LinkEngine& Engine() { return driver_->Engine(); }

    // Runs the event loop until done() holds or limit passes; true when it held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // The connection test at start: open PortName, connection request.
    // Prints why when the port cannot be opened or nobody answers.
    bool Connect();

    // The last message the engine showed, "" when none.
    std::string LastMessage() const { return messages_.empty() ? std::string() : messages_.back(); }
    const std::vector<uint8_t>& ReceivedImage() const { return receivedImage_; }
    // Where PortName leads, for messages.
    std::string PortDescription();

    void OnMessage(const std::string& text, MessageKind kind) override;
    void OnProgress(int value) override;
    void OnImageReceived(std::span<const uint8_t> image) override;
    void OnBackupSaved(const std::string& path) override;
    void OnBackupFailed(const std::string& text) override;

private:
    void EndProgressLine();

    CliContext& ctx_;
    Workspace& ws_;
    int argc_ = 1;
    std::string programName_;
    std::vector<char*> argv_;
    std::unique_ptr<QCoreApplication> app_;
    LinkFileStorage storage_;
    std::unique_ptr<LinkDriver> driver_;
    std::vector<std::string> messages_;
    std::vector<uint8_t> receivedImage_;
    std::string lastProgressLine_;
    bool progressShown_ = false;
    bool progressOnTerminal_ = false;
    std::optional<std::chrono::steady_clock::time_point> progressStart_;
};

}  // namespace corvane::cli
