// The main frame: start-up order, caption, menus and toolbar, what each
// command does, and whole transfers through the window on simulated time.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include "app/AboutWindow.h"
#include "app/AccessCodeDialog.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "editor/ChannelTableModel.h"
#include "editor/ChannelWindow.h"
#include "editor/FrozenColumnTableView.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"

using namespace corvane;
using namespace corvane::guitest;

class MainFrameTest : public FrameFixture {
    Q_OBJECT

private:
    // Port.txt as a previous run left it, then the frame's load.
    void Open(int16_t edition, uint8_t mode = kModeDefault, const std::string& port = "5") {
        OpenFrame(edition, mode, port);
    }
    void Connect() {
        sim_->AnswerConnection();
        QVERIFY(Engine().Connected());
    }
    LinkEngine& Engine() { return sim_->Link().engine; }
    linktest::FakePort& Port() { return sim_->Link().port; }
    void Press(const char* key) { Action(key).trigger(); }
    QLabel& Label1() { return frame_->Editor().StatusLabel(); }
    QColor LabelColour() { return Label1().palette().color(QPalette::WindowText); }
    Workspace Reread() const {
        Workspace reread;
        reread.programFolder = Ws().programFolder;
        // The files are compared, not the load's report.
        (void)LoadConfigFile(reread);
        (void)LoadGroupFile(reread);
        (void)LoadChannelFiles(reread);
        return reread;
    }
    // Presses a transfer button and answers its handshake.
    void StartTransfer(const char* key) {
        const std::size_t before = Port().sent.size();
        Press(key);
        QVERIFY(sim_->RunUntilTrue([&] { return Port().sent.size() > before; }, 1000));
        sim_->ReceiveIn(150, linktest::kConnReply);
    }

private slots:
    void captionBySavedEdition() {
        QCOMPARE(MainWindow::CaptionFor(kEditionPmrLpd), QStringLiteral("Corvane PC Programmer - Kestrel : PMR + LPD"));
        QCOMPARE(MainWindow::CaptionFor(kEditionKorea), QStringLiteral("Corvane PC Programmer - Kestrel : Korea"));
        QCOMPARE(MainWindow::CaptionFor(7), QStringLiteral("Corvane PC Programmer"));
        Open(kEditionKorea);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : Korea"));
    }

    void frameLayout() {
        Open(kEditionPmrLpd);
        QCOMPARE(frame_->width(), frame_->Editor().width() + 230 / 15);
        QCOMPARE(frame_->height(), frame_->Editor().height() + 900 / 15 + frame_->Toolbar().sizeHint().height());
        QCOMPARE(frame_->minimumSize(), frame_->maximumSize());
        QVERIFY(!(frame_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame_->pos(), QPoint(0, 0));
        QVERIFY(frame_->Editor().isVisible());
        QVERIFY(frame_->Editor().Progress().isVisible());
        QCOMPARE(frame_->Editor().Progress().maximum(), 1936);
    }

    void menusAndToolbar() {
        Open(kEditionPmrLpd);
        const QList<QPair<QString, QString>> menus{
            {"mnuFile", "File(&F)"}, {"mnuEdit", "Edit(&E)"}, {"comport", "Port(&P)"},
            {"mode", "Mode(&M)"}, {"information", "Help(&H)"}};
        const QList<QAction*> bar = frame_->menuBar()->actions();
        QCOMPARE(bar.size(), menus.size());
        for (int i = 0; i < menus.size(); ++i) {
            QCOMPARE(bar[i]->menu()->objectName(), menus[i].first);
            QCOMPARE(bar[i]->text(), menus[i].second);
        }
        auto names = [](QMenu* menu) {
            QStringList list;
            for (QAction* action : menu->actions()) list << (action->isSeparator() ? "-" : action->objectName());
            return list;
        };
        QCOMPARE(names(bar[0]->menu()),
                 (QStringList{"openFile", "-", "saveFile", "-", "openImage", "saveImage", "-", "exportCsv", "importCsv", "-",
                               "compareRadio", "compareImage", "-",
                               "printChannelList", "-", "mnuRecover", "-", "mnuExit"}));
        QCOMPARE(names(bar[1]->menu()), (QStringList{"mnuUndo", "mnuRedo", "-", "mnuCopy", "mnuPaste"}));
        QCOMPARE(names(bar[2]->menu()), (QStringList{"com1", "com2", "com3", "com4", "-", "com5", "com6", "com7",
                                                      "com8", "-", "com9", "com10", "com11", "com12", "-",
                                                      "verifyAfterWrite", "showChangesBeforeWrite", "-",
                                                      "fleet", "diagnoseConnection"}));
        QCOMPARE(names(bar[3]->menu()), (QStringList{"default", "custom"}));
        QCOMPARE(names(bar[4]->menu()), (QStringList{"help"}));
        QCOMPARE(Action("mnuExit").text(), QStringLiteral("Exit(&X)"));

        const QStringList keys{"exit", "-", "program", "upload", "-", "auto", "-",
                               "nFile", "oFile", "sFile", "-", "setup", "-", "group"};
        const QStringList captions{"Exit", "", "Down", "Up", "", "Auto", "", "New File", "Open File", "Save File",
                                   "", "Set Up", "", "Group"};
        const QList<QAction*> buttons = frame_->Toolbar().actions();
        QCOMPARE(buttons.size(), 14);
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->isSeparator() ? QStringLiteral("-") : buttons[i]->objectName(), keys[i]);
            if (!buttons[i]->isSeparator()) QCOMPARE(buttons[i]->text(), captions[i]);
        }
        QCOMPARE(Action("program").toolTip(), QStringLiteral("Write to Radio"));
        QCOMPARE(Action("upload").toolTip(), QStringLiteral("Read from Radio"));
        QCOMPARE(Action("auto").toolTip(), QStringLiteral("Auto Detect"));
    }

    void portMenuTicksAndStatus() {
        Open(kEditionPmrLpd);
        QVERIFY(Action("com5").isChecked());
        QCOMPARE(Label1().text(), QStringLiteral("(COM5)  Connection Failed..."));
        QCOMPARE(LabelColour(), QColor(255, 0, 0));
        QVERIFY(!Action("program").isEnabled());
        Connect();
        QCOMPARE(Label1().text(), QStringLiteral("(COM5)  Connected ..."));
        QCOMPARE(LabelColour(), QColor(0, 0, 255));
        QVERIFY(Action("program").isEnabled() && Action("upload").isEnabled());

        Action("com7").trigger();
        for (int number = 1; number <= kPortMenuCount; ++number)
            QCOMPARE(frame_->PortAction(number)->isChecked(), number == 7);
        QCOMPARE(Ws().portName, std::string("7"));
        QCOMPARE(Reread().portName, std::string("7"));
        QCOMPARE(Label1().text(), QStringLiteral("(COM7)  Connection Failed..."));
        QCOMPARE(LabelColour(), QColor(255, 0, 0));
        QVERIFY(!Action("program").isEnabled());
        sim_->RunFor(300);
        QCOMPARE(Port().opened.back(), std::string("/sim/ttyUSB2"));
        Connect();
        QCOMPARE(Label1().text(), QStringLiteral("(COM7)  Connected ..."));
    }

    void emptyPortStartsOnCom5() {
        Open(kEditionPmrLpd, kModeDefault, "");
        QCOMPARE(Ws().portName, std::string("5"));
        QVERIFY(Action("com5").isChecked());
        Open(kEditionPmrLpd, kModeDefault, "13");
        for (int number = 1; number <= kPortMenuCount; ++number) QVERIFY(!frame_->PortAction(number)->isChecked());
    }

    void modeMenu() {
        Open(kEditionPmrLpd);
        QVERIFY(Action("default").isChecked() && !Action("custom").isChecked());
        Ws().settings.BandSelect = kBandPmr;
        Action("custom").trigger();
        QCOMPARE(Ws().channelMode, kModeCustom);
        QCOMPARE(Ws().settings.BandSelect, kBandPmrLpd);
        QVERIFY(!Action("default").isChecked() && Action("custom").isChecked());
        QCOMPARE(Cell(1, ColRxFreq), QString());
        QCOMPARE(Cell(20, ColBand), QStringLiteral("Narrow"));
        QCOMPARE(Reread().channelMode, kModeCustom);

        Ws().groups.GroupSize[0] = 3;
        Ws().groups.GroupSlotCount = 1;
        Ws().groups.GroupSlotEnd[0] = 3;
        Ws().channels.SetCell(2, ColGroup, "A-2");
        Action("default").trigger();
        QCOMPARE(Ws().channelMode, kModeDefault);
        QCOMPARE(Cell(2, ColGroup), QString());
        QCOMPARE(Ws().groups.GroupSlotCount, uint8_t{0});
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
        QVERIFY(Action("default").isChecked() && !Action("custom").isChecked());
        QCOMPARE(Reread().groups.GroupSize[0], uint8_t{0});
    }

    void newFileAndGroupWindow() {
        Open(kEditionPmrLpd);
        Press("group");  // Default mode: nothing
        QVERIFY(frame_->ShownGroupWindow() == nullptr);
        Action("custom").trigger();
        Press("group");
        QVERIFY(frame_->ShownGroupWindow() != nullptr && frame_->ShownGroupWindow()->isVisible());

        Ws().channels.SetFrequencyCell(433.2, 9, ColRxFreq);
        Ws().groups.GroupSize[1] = 4;
        Press("nFile");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame_->ShownGroupWindow() == nullptr);
        QCOMPARE(Cell(9, ColRxFreq), QString());
        QCOMPARE(Ws().groups.GroupSize[1], uint8_t{0});
        QCOMPARE(Reread().groups.GroupSize[1], uint8_t{0});
    }

    void toolbarClicksCloseTheCellEditor() {
        Open(kEditionPmrLpd);
        ClickCell(frame_->Editor().Grid(), 3, ColPower);
        QVERIFY(frame_->findChild<QWidget*>(QStringLiteral("Combo5"))->isVisible());
        Press("auto");
        QVERIFY(!frame_->findChild<QWidget*>(QStringLiteral("Combo5"))->isVisible());
        QVERIFY(Engine().AutoDetectRunning());
        sim_->RunFor(30);
        QCOMPARE(Label1().text(), QStringLiteral("[COM5] Testing Connect ....."));
    }

    void helpWindow() {
        Open(kEditionPmrLpd);
        Action("help").trigger();
        AboutWindow* help = frame_->HelpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("About Corvane"));
        QStringList texts;
        for (QLabel* label : help->findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        const QString files = QStringLiteral("Files: ") + QString::fromStdString(Ws().programFolder.string());
        QCOMPARE(texts, (QStringList{"Velta Series PC Programmer", "Version: 1.00.15", "Date: May 12, 2012",
                                     "Frequency Range: 420 ~ 450 [MHz]", files}));
        QVERIFY(help->windowFlags() & Qt::WindowStaysOnTopHint);
        QTest::mouseClick(help->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame_->HelpWindow() == nullptr);
    }

    void setupHidesTheFrame() {
        Open(kEditionPmrLpd);
        Press("setup");
        QVERIFY(frame_->ShownSettingsWindow() != nullptr && frame_->ShownSettingsWindow()->isVisible());
        QVERIFY(!frame_->isVisible());
        frame_->ShownSettingsWindow()->close();
        QVERIFY(frame_->isVisible());
    }

    void transferRefusals() {
        Open(kEditionPmrLpd);
        Press("program");  // not connected: nothing at all
        Press("upload");
        sim_->RunFor(300);
        QVERIFY(messages_.texts.isEmpty());
        Connect();
        Ws().channels.SetCell(1, ColRxFreq, "");
        Press("program");
        QCOMPARE(messages_.Last(), QStringLiteral("There is no Frequency Datas ..."));
        Port().Close();
        Press("program");
        QCOMPARE(messages_.Last(), QStringLiteral("[4] Could not Open COM: 5"));
        Press("upload");
        QCOMPARE(messages_.Last(), QStringLiteral("[5] Could not Open COM: 5"));
        QVERIFY(!Engine().WriteRunning() && !Engine().ReadRunning());
    }

    void writeThroughTheWindow() {
        Open(kEditionPmrLpd);
        Connect();
        StartTransfer("program");
        QVERIFY(sim_->RunUntilTrue([&] { return Engine().TxIndex() > 100; }, 5000));
        QCOMPARE(Label1().text(), QStringLiteral("Download"));
        QCOMPARE(frame_->Editor().Progress().value(), Engine().TxIndex());
        for (const char* key : {"program", "upload", "auto", "nFile", "oFile", "sFile", "setup", "group"})
            QVERIFY2(!Action(key).isEnabled(), key);
        QVERIFY(Action("exit").isEnabled());
        QVERIFY(sim_->RunUntilTrue([&] { return !Engine().WriteRunning(); }, 60000));
        QCOMPARE(messages_.Last(), QStringLiteral("DOWNLOAD COMPLETE"));
        QCOMPARE(messages_.icons.back(), MessageIcon::Exclamation);
        QCOMPARE(frame_->Editor().Progress().value(), 0);
        QCOMPARE(Label1().text(), QStringLiteral("(COM5)  Connected ..."));
        for (const char* key : {"program", "upload", "auto", "nFile", "oFile", "sFile", "setup", "group"})
            QVERIFY2(Action(key).isEnabled(), key);
        const Result<MemoryImage> expected = BuildImage(Ws());
        QVERIFY(expected.ok());
        const std::vector<uint8_t> sent = Port().AllSent();
        QVERIFY(std::equal(expected->begin(), expected->end(), sent.end() - kImageLength));
    }

    void readThroughTheWindow() {
        Open(kEditionPmrLpd);
        const MemoryImage image = KoreaCustomImage();

        Connect();
        StartTransfer("upload");
        QVERIFY(sim_->RunUntilTrue([&] { return Port().sent.back().bytes.size() > 2 && Port().sent.back().bytes[2] == 'R'; }, 2000));
        sim_->ReceiveIn(300, std::vector<uint8_t>(image.begin(), image.end()));
        QVERIFY(sim_->RunUntilTrue([&] { return messages_.texts.contains("UPLOAD COMPLETE"); }, 5000));
        QCOMPARE(messages_.icons.back(), MessageIcon::Exclamation);
        QCOMPARE(Cell(3, ColRxFreq), QStringLiteral("433.200000"));
        QCOMPARE(frame_->Editor().Model().data(frame_->Editor().Model().IndexOf(3, ColRxFreq)).toString(),
                 QStringLiteral("433.200000"));
        QCOMPARE(Ws().edition, kEditionKorea);
        QVERIFY(Action("custom").isChecked());
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : Korea"));
        QCOMPARE(frame_->findChild<QComboBox*>(QStringLiteral("Combo2"))->itemText(84), QStringLiteral("[084] D036"));
        QCOMPARE(Reread().edition, kEditionKorea);
        QCOMPARE(frame_->Editor().Progress().value(), 0);
    }

    void exitSavesEverything() {
        Open(kEditionPmrLpd, kModeCustom);
        QSignalSpy ended(frame_.get(), &MainWindow::programEnded);
        Ws().channels.SetFrequencyCell(433.2, 4, ColRxFreq);
        Ws().groups.GroupSize[2] = 5;
        Press("exit");
        QCOMPARE(ended.count(), 1);
        QVERIFY(!Port().IsOpen());
        const Workspace reread = Reread();
        QCOMPARE(reread.channels.GetCell(4, ColRxFreq), std::string("433.200000"));
        QCOMPARE(reread.groups.GroupSize[2], uint8_t{5});
        QVERIFY(messages_.texts.isEmpty());
    }

    void closeBoxSavesTheChannelsOnly() {
        Open(kEditionPmrLpd, kModeCustom);
        QSignalSpy ended(frame_.get(), &MainWindow::programEnded);
        Ws().channels.SetFrequencyCell(433.2, 4, ColRxFreq);
        Ws().groups.GroupSize[2] = 5;
        frame_->close();
        QCOMPARE(ended.count(), 1);
        const Workspace reread = Reread();
        QCOMPARE(reread.channels.GetCell(4, ColRxFreq), std::string("433.200000"));
        QCOMPARE(reread.groups.GroupSize[2], uint8_t{0});
    }

    void aFailedSaveAtExitIsTold() {
        Open(kEditionPmrLpd);
        QSignalSpy ended(frame_.get(), &MainWindow::programEnded);
        // The folder turned into a file: nothing can be written any more.
        QVERIFY(QDir(dir_->path()).removeRecursively());
        QFile blocker(dir_->path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Press("exit");
        QCOMPARE(messages_.texts.size(), 1);
        QCOMPARE(ended.count(), 1);
        QFile::remove(dir_->path());
    }

    void editionSwitchAtStartUp() {
        // A previous run left Korea files; the PMR + LPD code starts from its plan.
        dir_ = std::make_unique<QTemporaryDir>();
        {
            Workspace before;
            before.programFolder = dir_->path().toStdString();
            before.edition = kEditionKorea;
            before.portName = "5";
            FillDefaults(before);
            QVERIFY(SaveConfigFile(before).ok());
            QVERIFY(SaveChannelFiles(before).ok());
        }
        AppOptions options;
        options.folder = dir_->path();
        options.accessCode = QStringLiteral("qzv");
        SimulatedLink sim;
        Application program(options, messages_, sim.Factory());
        program.Start();
        QTRY_VERIFY(program.MainFrame() != nullptr);
        Workspace& ws = program.workspace();
        QCOMPARE(ws.previousEdition, kEditionKorea);
        QCOMPARE(ws.edition, kEditionPmrLpd);
        QCOMPARE(ws.channels.GetCell(1, ColRxFreq), std::string("446.006250"));
        QCOMPARE(program.MainFrame()->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : PMR + LPD"));
        Workspace reread;
        reread.programFolder = ws.programFolder;
        // The files are compared, not the load's report.
        (void)LoadConfigFile(reread);
        QVERIFY(LoadChannelFiles(reread).ok());
        QCOMPARE(reread.edition, kEditionPmrLpd);
        QCOMPARE(reread.channels.GetCell(1, ColRxFreq), std::string("446.006250"));
        QSignalSpy finished(&program, &Application::finished);
        program.MainFrame()->RunCommand(Command::Exit);
        QTRY_COMPARE(finished.count(), 1);
    }

    void commandLine() {
        const AppOptions all = ParseAppOptions({"corvane", "--folder", "/f", "--serial-dir", "/s", "--demo",
                                                "--access-code", "qzv"});
        QVERIFY(all.error.isEmpty());
        QCOMPARE(all.folder, QStringLiteral("/f"));
        QCOMPARE(all.serialDir, QStringLiteral("/s"));
        QVERIFY(all.demo);
        QCOMPARE(all.accessCode, QStringLiteral("qzv"));
        QCOMPARE(ProgramFolderFor(all), std::filesystem::path("/f"));
        QVERIFY(!ParseAppOptions({"corvane", "--demo", "--no-demo"}).demo);
        QVERIFY(ParseAppOptions({"corvane", "--version"}).showVersion);
        QVERIFY(!ParseAppOptions({"corvane", "--bogus"}).error.isEmpty());
        QVERIFY(!ParseAppOptions({"corvane", "stray"}).error.isEmpty());
    }

    void aRefusedCodeEndsTheProgram() {
        dir_ = std::make_unique<QTemporaryDir>();
        AppOptions options;
        options.folder = dir_->path();
        options.accessCode = QStringLiteral("Wbn");
        SimulatedLink sim;
        messages_.Clear();
        Application program(options, messages_, sim.Factory());
        QSignalSpy finished(&program, &Application::finished);
        program.Start();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(messages_.texts, QStringList{"Invalid Password !!!!! "});
        QVERIFY(program.MainFrame() == nullptr);
    }

    void aDamagedFileIsKeptAndSaidOnceTheFrameIsOpen() {
        dir_ = std::make_unique<QTemporaryDir>();
        const std::filesystem::path folder = dir_->path().toStdString();
        { std::ofstream(folder / "Tx_Freq.txt", std::ios::binary) << "0\r\n446.006250\r\n"; }
        { std::ofstream(folder / "Rx_Freq.txt", std::ios::binary) << "0\r\n446.006250\r\n"; }
        AppOptions options;
        options.folder = dir_->path();
        options.accessCode = QStringLiteral("wbn");
        SimulatedLink sim;
        messages_.Clear();
        Application program(options, messages_, sim.Factory());
        program.Start();
        QTRY_VERIFY(program.MainFrame() != nullptr);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().startsWith(QStringLiteral("Rx_Freq.txt has only 2 of its 256 lines and Tx_Freq.txt has "
                                                           "only 2 of its 256 lines, so both frequency files were reset.")));
        QVERIFY(messages_.Last().contains(QString::fromStdString((folder / "Data" / "backups" / "damaged-").string())));
        QSignalSpy finished(&program, &Application::finished);
        program.MainFrame()->RunCommand(Command::Exit);
        QTRY_COMPARE(finished.count(), 1);

        // No copy possible: said, nothing reset, the program ends.
        { std::ofstream(folder / "Tx_Freq.txt", std::ios::binary) << "0\r\n"; }
        std::filesystem::remove_all(folder / "Data");
        { std::ofstream(folder / "Data") << "not a folder"; }
        messages_.Clear();
        Application again(options, messages_, sim.Factory());
        QSignalSpy ended(&again, &Application::finished);
        again.Start();
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().contains(QStringLiteral("no copy could be kept")));
        QVERIFY(again.MainFrame() == nullptr);
        std::ifstream kept(folder / "Tx_Freq.txt", std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(kept), {}), std::string("0\r\n"));
    }

    void aFileTooLargeToReadEndsTheStartAndStaysUntouched() {
        dir_ = std::make_unique<QTemporaryDir>();
        // A --folder that does not exist yet is made.
        const std::filesystem::path folder = std::filesystem::path(dir_->path().toStdString()) / "new" / "set";
        AppOptions options;
        options.folder = QString::fromStdString(folder.string());
        options.accessCode = QStringLiteral("qzv");
        SimulatedLink sim;
        messages_.Clear();
        {
            Application program(options, messages_, sim.Factory());
            QVERIFY(std::filesystem::is_directory(folder));
        }
        const std::string huge(kMaxBytesRead + 10, '5');
        { std::ofstream(folder / "Rx_Freq.txt", std::ios::binary) << huge; }
        { std::ofstream(folder / "Port.txt.tmp-12345") << "left by a crash"; }
        Application program(options, messages_, sim.Factory());
        QSignalSpy finished(&program, &Application::finished);
        program.Start();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.texts.front().contains(QStringLiteral("too large")));
        QVERIFY(program.PasswordWindow() == nullptr);
        QVERIFY(program.MainFrame() == nullptr);
        QCOMPARE(std::filesystem::file_size(folder / "Rx_Freq.txt"), huge.size());
        QVERIFY(!std::filesystem::exists(folder / "Port.txt"));
        QVERIFY(!std::filesystem::exists(folder / "Port.txt.tmp-12345"));
    }
};

QTEST_MAIN(MainFrameTest)
#include "mainframe_test.moc"
