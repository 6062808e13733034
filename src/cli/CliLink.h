#pragma once
// What the write, read, detect and diff verbs share: the program's session
// with its link, choosing the port, running the link engine on a Qt event
// loop and showing its progress and messages.
#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "link/LinkEngine.h"
#include "session/ProgramSession.h"

namespace corvane::cli {

// How often a verb looks at the link while it waits.
inline constexpr int kPollMs = 20;
// The read gives up on its own 20 s after its read command.
inline constexpr std::chrono::milliseconds kReadLimit{kReadGiveUpMs + 10000};

// "[####------] 40%": value bytes of the image sent or received.
std::string ProgressBar(int value);

// --port N (1 to 12, sets PortName) or --port PATH (opened as it is);
// without it PortName from Port.txt and the serial folder of ctx.
Result<PortMap> ChoosePort(const CliContext& ctx, const std::string& port, Workspace& ws);

// A verb's run of the program: its workspace, and a link on the system's
// serial ports that keeps backups where --backup-dir and --no-backup say.
ProgramSession CliProgram(const CliContext& ctx);

// The run's link, listened to by the verb while this lives.
class CliLinkSession : public LinkListener {
public:
    CliLinkSession(CliContext& ctx, ProgramSession& program, PortMap portMap);
    ~CliLinkSession() override;

    LinkEngine& Engine() { return *program_.Link(); }

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
    ProgramSession& program_;
    int argc_ = 1;
    std::string programName_;
    std::vector<char*> argv_;
    std::unique_ptr<QCoreApplication> app_;
    std::vector<std::string> messages_;
    std::vector<uint8_t> receivedImage_;
    std::string lastProgressLine_;
    bool progressShown_ = false;
    bool progressOnTerminal_ = false;
    std::optional<std::chrono::steady_clock::time_point> progressStart_;
};

}  // namespace corvane::cli
