#pragma once
// A main frame over a fresh folder whose files a previous run left behind,
// shared by the window tests that drive the whole frame.
#include <QAction>
#include <QTest>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "gui_support.h"
#include "model/ChannelDefaults.h"
#include "session/ProgramSession.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

namespace corvane::guitest {

class FrameFixture : public QObject {
protected:
    // Port.txt and the channel files as a previous run left them, then the
    // frame's load. Without a simulated link the frame gets no radio at all.
    void OpenFrame(int16_t edition, uint8_t mode = kModeDefault, const std::string& port = "5",
                   bool simulatedLink = true) {
        frame_.reset();
        session_.reset();
        IsolateUserSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        {
            Workspace stored;
            stored.programFolder = dir_->path().toStdString();
            stored.edition = stored.previousEdition = edition;
            stored.channelMode = mode;
            stored.portName = port;
            FillDefaults(stored);
            QVERIFY(SaveConfigFile(stored).ok());
            QVERIFY(SaveChannelFiles(stored).ok());
        }
        messages_.Clear();
        sim_ = simulatedLink ? std::make_unique<SimulatedLink>() : nullptr;
        session_ = std::make_unique<ProgramSession>(dir_->path().toStdString(), SavePolicy::AtSavePoints,
                                                    sim_ ? sim_->Factory() : LinkFactory{});
        Ws() = Workspace{};
        Ws().programFolder = dir_->path().toStdString();
        Ws().edition = Ws().previousEdition = edition;
        frame_ = std::make_unique<MainWindow>(*session_, messages_);
        frame_->OpenFrame();
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        if (sim_) sim_->RunFor(300);  // the start-up connection request has gone out
    }
    // The run's workspace, which the session owns.
    Workspace& Ws() { return session_->Ws(); }
    const Workspace& Ws() const { return session_->Ws(); }
    QAction& Action(const char* name) {
        auto* action = frame_->findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr) qFatal("no action %s", name);
        return *action;
    }
    QString Cell(int row, int col) const { return QString::fromStdString(Ws().channels.GetCell(row, col)); }

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingMessages messages_;
    std::unique_ptr<SimulatedLink> sim_;
    // The session before the frame and after the link's simulation, which its link uses.
    std::unique_ptr<ProgramSession> session_;
    std::unique_ptr<MainWindow> frame_;
};

}  // namespace corvane::guitest
