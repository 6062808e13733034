// While a transfer or the detection holds the port, nothing that re-opens
// it or replaces the channel table can run: menu items are disabled, their
// handlers refuse, and all of it comes back together with the toolbar.
#include <QAction>
#include <QFile>
#include <QMap>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "editor/UndoHistory.h"
#include "forms/GroupWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "image/MemoryImage.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {

// Everything that must wait, menus and toolbar.
const QStringList kWaitingItems{"com1",     "com5",      "com12",     "verifyAfterWrite", "default", "custom",
                                "openFile", "saveFile",  "openImage", "saveImage",        "importCsv", "exportCsv",
                                "mnuUndo",  "mnuRedo",   "mnuPaste",  "nFile",            "oFile",     "sFile",
                                "setup",    "group",     "auto",      "compareRadio",     "compareImage", "showChangesBeforeWrite",
                                "fleet"};

}  // namespace

class TransferMenusTest : public FrameFixture {
    Q_OBJECT

private:
    LinkEngine& Engine() { return sim_->Link().engine; }
    linktest::FakePort& Port() { return sim_->Link().port; }
    QMap<QString, bool> Enabled() {
        QMap<QString, bool> states;
        for (const QString& name : kWaitingItems) states[name] = Action(qPrintable(name)).isEnabled();
        return states;
    }
    static QMap<QString, bool> All(bool enabled) {
        QMap<QString, bool> states;
        for (const QString& name : kWaitingItems) states[name] = enabled;
        return states;
    }
    // Every command tried the way a shortcut or a stale click would reach it.
    void TryEverythingThatMustWait() {
        frame_->SelectPort(7);
        frame_->SelectCustomMode();
        frame_->RunCommand(Command::NewFile);
        frame_->RunOpenImage(QString::fromStdString((Ws().programFolder / "none.img").string()));
        frame_->RunImportCsv(QString::fromStdString((Ws().programFolder / "none.csv").string()));
        for (const char* name : {"com7", "custom", "default", "mnuUndo", "mnuPaste"}) Action(name).trigger();
    }
    // Undo and Redo have a step each, so their states mean something.
    void OpenWithHistory() {
        OpenFrame(kEditionPmrLpd);
        UndoHistory& history = frame_->Editor().History();
        for (int row : {20, 21}) {
            const UndoHistory::Step step(&history, QStringLiteral("Edit"));
            Ws().channels.SetFrequencyCell(446.1, row, ColRxFreq);
        }
        QVERIFY(history.Undo().ok());
        sim_->AnswerConnection();
        QVERIFY(Engine().Connected());
        QCOMPARE(Enabled(), All(true));
    }

private slots:
    void writeHoldsTheCommandsUntilTheButtonsReturn() {
        OpenWithHistory();
        const std::string table = Ws().channels.GetCell(3, ColRxFreq);
        QMap<QString, bool> atCompletion;
        // The box's own event loop must not run inside the engine's call.
        bool shownInService = false;
        messages_.onShow = [&](const QString&) {
            atCompletion = Enabled();
            shownInService = sim_->InService();
        };

        Action("program").trigger();
        // From the click on, before the handshake is even answered.
        QCOMPARE(Enabled(), All(false));
        TryEverythingThatMustWait();
        const std::size_t handshake = Port().sent.size();
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Engine().TxIndex() > 50; }, 2000));
        QCOMPARE(Enabled(), All(false));
        TryEverythingThatMustWait();
        QCOMPARE(Ws().portName, std::string("5"));
        QCOMPARE(Ws().channelMode, kModeDefault);
        QCOMPARE(Ws().channels.GetCell(3, ColRxFreq), table);

        QVERIFY(sim_->RunUntilTrue([&] { return !Engine().WriteRunning(); }, 60000));
        QCOMPARE(messages_.texts, QStringList{"DOWNLOAD COMPLETE"});
        QCOMPARE(atCompletion, All(true));
        QVERIFY(!shownInService);
        // The radio got the handshake, the command and the image, nothing else.
        QCOMPARE(Port().sent.size(), handshake + 1 + kImageLength);
        QCOMPARE(Port().opened.size(), std::size_t{2});

        Action("com7").trigger();
        QCOMPARE(Ws().portName, std::string("7"));
    }

    void detectionAndReadHoldThemToo() {
        OpenWithHistory();
        Action("auto").trigger();
        QCOMPARE(Enabled(), All(false));  // the toolbar's file buttons, Set Up and Group too
        TryEverythingThatMustWait();
        QVERIFY(Ws().portName != "7");
        QVERIFY(sim_->RunUntilTrue([&] { return !Engine().AutoDetectRunning(); }, 12 * 420 + 500));
        QCOMPARE(Enabled(), All(true));

        frame_->SelectPort(5);
        sim_->RunFor(300);
        sim_->AnswerConnection();
        QVERIFY(Engine().Connected());
        QMap<QString, bool> atCompletion;
        messages_.onShow = [&](const QString&) { atCompletion = Enabled(); };
        const Result<MemoryImage> image = BuildImage(Ws());
        QVERIFY(image.ok());
        Action("upload").trigger();
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Port().sent.back().bytes.size() > 2 && Port().sent.back().bytes[2] == 'R'; }, 2000));
        QCOMPARE(Enabled(), All(false));
        TryEverythingThatMustWait();
        sim_->ReceiveIn(300, std::vector<uint8_t>(image->begin(), image->end()));
        QVERIFY(sim_->RunUntilTrue([&] { return !messages_.texts.isEmpty(); }, 5000));
        QCOMPARE(messages_.texts, QStringList{"UPLOAD COMPLETE"});
        QCOMPARE(atCompletion, All(true));
        QCOMPARE(Ws().portName, std::string("5"));
    }

    // Auto and Reset rewrite the channel table: the group window waits too,
    // also when it opens while the port is held (before the radio answered).
    void groupWindowWaitsForTheWrite() {
        OpenFrame(kEditionPmrLpd);
        frame_->SelectCustomMode();
        Ws().channels.SetFrequencyCell(446.1, 1, ColRxFreq);
        sim_->AnswerConnection();
        QVERIFY(Engine().Connected());
        const auto commands = [this] {
            GroupWindow* group = frame_->ShownGroupWindow();
            return QList<bool>{group->findChild<QPushButton*>("Command2")->isEnabled(),
                               group->findChild<QPushButton*>("Command5")->isEnabled()};
        };
        Action("group").trigger();
        QCOMPARE(commands(), (QList<bool>{true, true}));
        const ChannelTable table = Ws().channels;
        QList<bool> atCompletion;
        messages_.onShow = [&](const QString&) { atCompletion = commands(); };

        Action("program").trigger();
        QVERIFY(Engine().PortInUse());
        QCOMPARE(commands(), (QList<bool>{false, false}));
        frame_->ShownGroupWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame_->ShownGroupWindow() == nullptr);
        QVERIFY(!Action("group").isEnabled());
        frame_->RunCommand(Command::Group);  // as a stale click would
        QCOMPARE(commands(), (QList<bool>{false, false}));
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Engine().TxIndex() > 50; }, 2000));
        for (const char* slot : {"OnAutoClicked", "OnResetClicked"})
            QVERIFY(QMetaObject::invokeMethod(frame_->ShownGroupWindow(), slot));
        QVERIFY(Ws().channels == table);

        QVERIFY(sim_->RunUntilTrue([&] { return !Engine().WriteRunning(); }, 60000));
        QCOMPARE(messages_.texts, QStringList{"DOWNLOAD COMPLETE"});
        QCOMPARE(atCompletion, (QList<bool>{true, true}));
    }

    // The port goes away mid-write: the toolbar returns, Down and Up stay off
    // (and refuse a stale click) until the radio answers again.
    void portLostMidWriteLeavesDownAndUpOff() {
        OpenWithHistory();
        Action("program").trigger();
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Engine().TxIndex() > 50; }, 2000));
        Engine().OnPortFailure("/sim/ttyUSB0: the device went away");
        sim_->RunFor(500);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().startsWith(QStringLiteral("Write to Radio failed after")));
        QVERIFY(Action("auto").isEnabled());
        QVERIFY(!Action("program").isEnabled());
        QVERIFY(!Action("upload").isEnabled());
        const std::size_t sent = Port().sent.size();
        frame_->RunCommand(Command::Write);
        frame_->RunCommand(Command::Read);
        sim_->RunFor(500);
        QCOMPARE(Port().sent.size(), sent);
        QCOMPARE(messages_.texts.size(), 1);

        Action("com5").trigger();
        sim_->RunFor(300);
        sim_->AnswerConnection();
        QVERIFY(Action("program").isEnabled());
        QVERIFY(Action("upload").isEnabled());
    }

    void verifyAfterWriteIsRememberedPerUserNotInPortTxt() {
        OpenFrame(kEditionPmrLpd);
        QAction& verify = Action("verifyAfterWrite");
        QVERIFY(verify.isCheckable());
        QCOMPARE(verify.text(), QStringLiteral("Verify after Write"));
        QVERIFY(!verify.isChecked());
        QVERIFY(!Engine().VerifyAfterWrite());
        QFile portTxt(QString::fromStdString((Ws().programFolder / "Port.txt").string()));
        QVERIFY(portTxt.open(QIODevice::ReadOnly));
        const QByteArray before = portTxt.readAll();
        portTxt.close();

        verify.trigger();
        QVERIFY(Engine().VerifyAfterWrite());
        QVERIFY(portTxt.open(QIODevice::ReadOnly));
        QCOMPARE(portTxt.readAll(), before);
        portTxt.close();
        OpenFrame(kEditionPmrLpd);  // a new start, a new folder, the same user
        QVERIFY(Action("verifyAfterWrite").isChecked());
        QVERIFY(Engine().VerifyAfterWrite());
        Action("verifyAfterWrite").trigger();
        QVERIFY(!QSettings(QSettings::UserScope, "corvane", "corvane").value("link/verifyAfterWrite").toBool());
    }
};

QTEST_MAIN(TransferMenusTest)
#include "transfer_menus_test.moc"
