// The compare window and the fleet window as the frame wires them: a compare
// shows the differences and their count and changes nothing; Show Changes
// before Write writes only after Write is chosen; the fleet window programs
// simulated radios and lets the main link have its port back.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "../core/sim_harness.h"
#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "fleet/FleetLog.h"
#include "forms/CompareWindow.h"
#include "forms/FleetWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "link/SetComparison.h"
#include "store/DifferencesCsv.h"
#include "store/ImageBackups.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {

constexpr int64_t kFleetLimitMs = 4 * 60'000;

std::vector<uint8_t> Bytes(const MemoryImage& image) { return {image.begin(), image.end()}; }

// The working set with two channels changed, as a radio or a file would hold it.
MemoryImage ChangedImage(const Workspace& ws) {
    Workspace other = ws;
    other.channels.SetFrequencyCell(430.0, 2, ColRxFreq);
    other.channels.SetFrequencyCell(430.0, 2, ColTxFreq);
    other.channels.SetFrequencyCell(431.5, 7, ColRxFreq);
    other.channels.SetFrequencyCell(431.5, 7, ColTxFreq);
    const Result<MemoryImage> image = BuildImage(other);
    if (!image.ok()) qFatal("%s", image.message().c_str());
    return *image;
}

// The fleet's engine on the simulated radios' cable.
class BenchLink final : public LinkOwner {
public:
    BenchLink(Workspace& ws, LinkListener& listener, simtest::SimBench& bench)
        : engine(ws, bench.port, listener, bench.clock, PortMap::WithSerialDir("/sim")) {}
    LinkEngine& Engine() override { return engine; }
    LinkEngine engine;
};

}  // namespace

class CompareFleetTest : public FrameFixture {
    Q_OBJECT

private:
    LinkEngine& Engine() { return sim_->Link().engine; }
    linktest::FakePort& Port() { return sim_->Link().port; }
    QString WindowLabel() { return frame_->ShownCompareWindow()->findChild<QLabel*>("Label1")->text(); }
    // Down or a compare: the handshake answered, then the radio sends image.
    void AnswerRead(const MemoryImage& image) {
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Port().sent.back().bytes.size() > 2 && Port().sent.back().bytes[2] == 'R'; }, 2000));
        sim_->ReceiveIn(300, Bytes(image));
        QVERIFY(sim_->RunUntilTrue([&] { return !Engine().PortInUse(); }, 5000));
    }

private slots:
    void compareShowsTheDifferencesAndChangesNothing() {
        OpenFrame(kEditionPmrLpd);
        const ChannelTable table = Ws().channels;
        const MemoryImage changed = ChangedImage(Ws());
        const Result<std::vector<Difference>> expected = CompareSetWithImage(Ws(), changed);
        QVERIFY(expected.ok() && !expected->empty());
        const QString image = dir_->filePath("other.img");
        QVERIFY(WriteImageFile(image.toStdString(), changed).ok());

        QVERIFY(frame_->RunCompareWithImageFile(image));
        CompareWindow* window = frame_->ShownCompareWindow();
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->objectName(), QStringLiteral("frmCompare"));
        QCOMPARE(WindowLabel(), QString::fromStdString(DifferenceCountText(expected->size())));
        QCOMPARE(window->Table().rowCount(), static_cast<int>(expected->size()));
        QCOMPARE(window->Table().horizontalHeaderItem(3)->text(), QStringLiteral("In the file"));
        QCOMPARE(window->Table().item(0, 0)->text(), QString::number(expected->front().channel));
        QVERIFY(window->findChild<QPushButton*>("Command2")->isHidden());  // no Write offered
        const QString csv = dir_->filePath("differences.csv");
        QVERIFY(window->SaveCsvToPath(csv));
        QFile saved(csv);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), DifferencesCsv(*expected, "In the program", "In the file"));
        QVERIFY(Ws().channels == table);
        window->close();

        // With the radio: the same table, read without a byte of the set changed.
        sim_->AnswerConnection();
        Action("compareRadio").trigger();
        AnswerRead(changed);
        QVERIFY(frame_->ShownCompareWindow() != nullptr);
        QCOMPARE(WindowLabel(), QString::fromStdString(DifferenceCountText(expected->size())));
        QCOMPARE(frame_->ShownCompareWindow()->Table().horizontalHeaderItem(3)->text(), QStringLiteral("In the radio"));
        QVERIFY(Ws().channels == table);
        QVERIFY(messages_.texts.isEmpty());
    }

    void showChangesBeforeWriteWritesOnlyWhenConfirmed() {
        OpenFrame(kEditionPmrLpd);
        QVERIFY(!Action("showChangesBeforeWrite").isChecked());
        Action("showChangesBeforeWrite").trigger();
        sim_->AnswerConnection();
        const Result<MemoryImage> same = BuildImage(Ws());
        QVERIFY(same.ok());

        // Nothing differs: said, and nothing written.
        Action("program").trigger();
        AnswerRead(*same);
        QCOMPARE(messages_.texts, QStringList{QString::fromLatin1(kNothingToWriteText.data(), kNothingToWriteText.size())});
        QVERIFY(frame_->ShownCompareWindow() == nullptr);
        sim_->RunFor(1000);
        QVERIFY(!Engine().WriteRunning());
        QVERIFY(Port().sent.back().bytes.size() > 2 && Port().sent.back().bytes[2] == 'R');

        // Differences: shown with Write; the write starts once Write is chosen.
        Action("program").trigger();
        AnswerRead(ChangedImage(Ws()));
        CompareWindow* window = frame_->ShownCompareWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->Differences().size() > 0);
        sim_->RunFor(1000);
        QVERIFY(!Engine().WriteRunning());
        QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return Engine().TxIndex() > 20; }, 3000));
        QVERIFY(Engine().WriteRunning());
        // Remembered for this user.
        OpenFrame(kEditionPmrLpd);
        QVERIFY(Action("showChangesBeforeWrite").isChecked());
        Action("showChangesBeforeWrite").trigger();
    }

    void fleetWindowProgramsTwoRadiosAndGivesThePortBack() {
        OpenFrame(kEditionPmrLpd);
        sim_->AnswerConnection();
        QVERIFY(Port().IsOpen());
        Action("fleet").trigger();
        QVERIFY(frame_->ShownFleetWindow() != nullptr);
        QVERIFY(!Port().IsOpen());  // the main link let go of it
        const std::size_t opened = Port().opened.size();
        frame_->ShownFleetWindow()->close();
        QVERIFY(Port().IsOpen());
        QCOMPARE(Port().opened.size(), opened + 1);

        // The window on its own, on two simulated radios.
        sim::SimOptions options;
        options.units = 2;
        simtest::SimBench bench(options);
        const QString units = dir_->filePath("units.csv");
        QFile list(units);
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("Label,Name ID,DTMF ID\r\nGate,GN,101\r\nBar,BR,102\r\n");
        list.close();
        RecordingMessages told;
        FleetWindow window(
            Ws(), bench.clock,
            [&bench](Workspace& ws, LinkListener& listener) {
                return std::unique_ptr<LinkOwner>(std::make_unique<BenchLink>(ws, listener, bench));
            },
            [&told](const QString& text) { told.Show(nullptr, text, MessageIcon::None); });
        QVERIFY(!window.LoadUnitsFromPath(dir_->filePath("missing.csv")));
        QCOMPARE(told.texts.size(), 1);
        QVERIFY(window.LoadUnitsFromPath(units));
        QCOMPARE(window.Table().rowCount(), 2);
        QVERIFY(window.StartRun());
        QVERIFY(window.findChild<QPushButton*>("Command3")->isEnabled());
        const bool done = bench.Run(*window.Engine(), [&] { return !window.Running(); }, kFleetLimitMs,
                                    [&] { return window.Run()->NextDeadline(); }, [&] { window.ServiceRun(); });
        QVERIFY(done);
        QCOMPARE(window.Table().item(0, 3)->text(), QStringLiteral("verified"));
        QCOMPARE(window.Table().item(1, 3)->text(), QStringLiteral("verified"));
        QVERIFY(window.PromptText().startsWith(QStringLiteral("Done: 2 verified")));
        QVERIFY(window.findChild<QPushButton*>("Command2")->isEnabled());
        QVERIFY(!window.findChild<QPushButton*>("Command3")->isEnabled());
        QVERIFY(window.LogPath().has_value());
        QCOMPARE(window.LogPath()->parent_path(), Ws().DataFolder());
        QFile log(QString::fromStdString(window.LogPath()->string()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const Result<std::vector<FleetLogRow>> rows = ParseFleetLog(log.readAll().toStdString());
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), std::size_t{2});
        QCOMPARE(rows->at(1).nameId, std::string("BR"));
        QVERIFY(told.texts.size() == 1);
    }
};

QTEST_MAIN(CompareFleetTest)
#include "compare_fleet_test.moc"
