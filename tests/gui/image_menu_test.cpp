// File > Open Image... / Save Image... and the note of a failed backup: the
// commands run on a path (as after their dialogs) against the whole frame.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "app/MainWindow.h"
#include "editor/ChannelTableModel.h"
#include "editor/ChannelWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/ImageBackups.h"

using namespace corvane;
using namespace corvane::guitest;

class ImageMenuTest : public FrameFixture {
    Q_OBJECT

private:
    void Open(int16_t edition) { OpenFrame(edition); }
    QString Path(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
    static void WriteRaw(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadRaw(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray Bytes(const MemoryImage& image) {
        return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<int>(image.size()));
    }
    Workspace Reread() const {
        Workspace reread;
        reread.programFolder = Ws().programFolder;
        // The files are compared, not the load's report.
        (void)LoadConfigFile(reread);
        (void)LoadGroupFile(reread);
        return reread;
    }

private slots:
    void menuPlacesTheCommandsAfterSaveFile() {
        Open(kEditionPmrLpd);
        QMenu* file = frame_->menuBar()->actions().at(0)->menu();
        QStringList names;
        for (QAction* action : file->actions()) names << (action->isSeparator() ? "-" : action->objectName());
        QCOMPARE(names, (QStringList{"openFile", "-", "saveFile", "-", "openImage", "saveImage", "-", "exportCsv", "importCsv", "-",
                                      "compareRadio", "compareImage", "-",
                                      "printChannelList", "-", "mnuRecover", "-", "mnuExit"}));
        QCOMPARE(Action("openImage").text(), QStringLiteral("Open Image..."));
        QCOMPARE(Action("saveImage").text(), QStringLiteral("Save Image..."));
        QCOMPARE(Action("saveFile").text(), QStringLiteral("SaveFile(&S)"));
    }

    void saveImageWritesWhatAWriteWouldSend() {
        Open(kEditionPmrLpd);
        Ws().channels.SetFrequencyCell(446.00625, 2, ColRxFreq);
        const Result<MemoryImage> expected = BuildImage(Ws());
        QVERIFY(expected.ok());
        QVERIFY(frame_->RunSaveImage(Path("out.img")));
        QCOMPARE(ReadRaw(Path("out.img")), Bytes(*expected));
        QVERIFY(messages_.texts.isEmpty());

        // The builder's refusal is told and nothing is written.
        Ws().settings.NameId = "1";
        const Result<MemoryImage> refused = BuildImage(Ws());
        QVERIFY(!refused.ok());
        QVERIFY(!frame_->RunSaveImage(Path("refused.img")));
        QCOMPARE(messages_.Last(), QString::fromStdString(refused.message()));
        QVERIFY(!QFile::exists(Path("refused.img")));
    }

    void openImageActsLikeARead() {
        Open(kEditionPmrLpd);
        QVERIFY(Action("default").isChecked());
        WriteRaw(Path("korea.img"), Bytes(KoreaCustomImage()));
        QVERIFY(frame_->RunOpenImage(Path("korea.img")));
        QVERIFY(messages_.texts.isEmpty());
        QCOMPARE(Ws().channels.GetCell(3, ColRxFreq), std::string("433.200000"));
        auto& model = frame_->Editor().Model();
        QCOMPARE(model.data(model.IndexOf(3, ColRxFreq)).toString(), QStringLiteral("433.200000"));
        QCOMPARE(Ws().edition, kEditionKorea);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : Korea"));
        QVERIFY(Action("custom").isChecked());
        QCOMPARE(frame_->findChild<QComboBox*>(QStringLiteral("Combo2"))->itemText(84), QStringLiteral("[084] D036"));
        // Port.txt and Group.txt follow, as after a read.
        QCOMPARE(Reread().edition, kEditionKorea);
        QCOMPARE(Reread().channelMode, kModeCustom);

        // And it builds back to the same bytes.
        QVERIFY(frame_->RunSaveImage(Path("again.img")));
        QCOMPARE(ReadRaw(Path("again.img")), ReadRaw(Path("korea.img")));
    }

    void openImageRefusals() {
        Open(kEditionPmrLpd);
        const std::string before = Ws().channels.GetCell(1, ColRxFreq);

        WriteRaw(Path("short.img"), QByteArray(100, '\0'));
        QVERIFY(!frame_->RunOpenImage(Path("short.img")));
        QVERIFY(messages_.Last().contains(QStringLiteral("only 100 bytes")));
        QVERIFY(!frame_->RunOpenImage(Path("missing.img")));
        QVERIFY(messages_.Last().contains(QStringLiteral("missing.img")));
        QVERIFY(!frame_->RunOpenImage(dir_->path()));

        // An image the decoder refuses changes nothing and is told.
        QByteArray bad = Bytes(KoreaCustomImage());
        bad[14] = 7;
        WriteRaw(Path("bad.img"), bad);
        messages_.Clear();
        QVERIFY(!frame_->RunOpenImage(Path("bad.img")));
        QCOMPARE(messages_.texts.size(), 1);
        QCOMPARE(Ws().edition, kEditionPmrLpd);
        QCOMPARE(Ws().channels.GetCell(1, ColRxFreq), before);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : PMR + LPD"));
        QCOMPARE(Reread().edition, kEditionPmrLpd);
    }

    void readKeepsABackupAndAFailedOneIsOnlyNoted() {
        Open(kEditionPmrLpd);
        const int heightBefore = frame_->height();
        sim_->AnswerConnection();
        QVERIFY(sim_->Link().engine.Connected());
        // The backup folder cannot be made: a plain file sits at Data/backups.
        WriteRaw(QString::fromStdString(DefaultBackupFolder(Ws()).string()), "x");

        const std::size_t before = sim_->Link().port.sent.size();
        Action("upload").trigger();
        QVERIFY(sim_->RunUntilTrue([&] { return sim_->Link().port.sent.size() > before; }, 1000));
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return sim_->Link().engine.ReadRunning(); }, 2000));
        QVERIFY(!Action("openImage").isEnabled());
        QVERIFY(!Action("saveImage").isEnabled());
        QVERIFY(sim_->RunUntilTrue([&] { return sim_->Link().port.sent.back().bytes.size() > 2 &&
                                                sim_->Link().port.sent.back().bytes[2] == 'R'; }, 2000));
        const MemoryImage image = KoreaCustomImage();
        sim_->ReceiveIn(300, std::vector<uint8_t>(image.begin(), image.end()));
        QVERIFY(sim_->RunUntilTrue([&] { return !sim_->Link().engine.ReadRunning(); }, 5000));

        QCOMPARE(messages_.texts, QStringList{"UPLOAD COMPLETE"});
        QCOMPARE(Ws().edition, kEditionKorea);
        auto* bar = frame_->findChild<QStatusBar*>();
        QVERIFY(bar != nullptr);
        QVERIFY(bar->currentMessage().contains(QStringLiteral("backup")));
        QVERIFY(frame_->height() > heightBefore);
        QVERIFY(Action("openImage").isEnabled());
        QVERIFY(Action("saveImage").isEnabled());
    }

    void cleanup() { frame_.reset(); }
};

QTEST_MAIN(ImageMenuTest)
#include "image_menu_test.moc"
