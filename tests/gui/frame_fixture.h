#pragma once
// A main frame over a fresh folder whose files a previous run left behind,
// shared by the window tests that drive the whole frame.
#include <QAction>
#include <QtTest>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "gui_support.h"
#include "model/ChannelDefaults.h"
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
        IsolateUserSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        ws_ = Workspace{};
        ws_.programFolder = dir_->path().toStdString();
        ws_.edition = ws_.previousEdition = edition;
        ws_.channelMode = mode;
        ws_.portName = port;
        FillDefaults(ws_);
        QVERIFY(SaveConfigFile(ws_).ok());
        QVERIFY(SaveChannelFiles(ws_).ok());
        ws_ = Workspace{};
        ws_.programFolder = dir_->path().toStdString();
        ws_.edition = ws_.previousEdition = edition;
        messages_.Clear();
        sim_ = simulatedLink ? std::make_unique<SimulatedLink>() : nullptr;
        frame_ = std::make_unique<MainWindow>(ws_, messages_, sim_ ? sim_->Factory() : LinkFactory{});
        frame_->OpenFrame();
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        if (sim_) sim_->RunFor(300);  // the start-up connection request has gone out
    }
    QAction& Action(const char* name) {
        auto* action = frame_->findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr) qFatal("no action %s", name);
        return *action;
    }
    QString Cell(int row, int col) const { return QString::fromStdString(ws_.channels.GetCell(row, col)); }

    std::unique_ptr<QTemporaryDir> dir_;
    Workspace ws_;
    RecordingMessages messages_;
    std::unique_ptr<SimulatedLink> sim_;
    std::unique_ptr<MainWindow> frame_;
};

}  // namespace corvane::guitest
