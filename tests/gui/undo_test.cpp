// Undo and Redo through the main frame: every kind of user step, their
// names, what is restored besides the cells, and the lock during a transfer.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/MainWindow.h"
#include "editor/CellEditors.h"
#include "editor/ChannelWindow.h"
#include "editor/FrequencyEdit.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/UndoHistory.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/ToneTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

class UndoTest : public FrameFixture {
    Q_OBJECT

private:
    void Open(uint8_t mode) { OpenFrame(kEditionPmrLpd, mode, "5", true); }
    UndoHistory& History() { return frame_->Editor().History(); }
    FrozenColumnTableView& Grid() { return frame_->Editor().Grid(); }
    FrequencyEdit& Text1() { return *frame_->Editor().Editors().Text1(); }
    QString Shown(int row, int col) {
        return Grid().model()->index(row - 1, col).data().toString();
    }
    void Undo() { Action("mnuUndo").trigger(); }
    void Redo() { Action("mnuRedo").trigger(); }
    Workspace Reread() const {
        Workspace reread;
        reread.programFolder = Ws().programFolder;
        // The files are compared, not the load's report.
        (void)LoadConfigFile(reread);
        (void)LoadGroupFile(reread);
        return reread;
    }
    void EnterFrequency(int row, int col, const QString& text) {
        ClickCell(Grid(), row, col);
        QVERIFY(Text1().isVisible());
        Text1().clear();
        QTest::keyClicks(&Text1(), text);
        QTest::keyClick(&Text1(), Qt::Key_Return);
    }
    void Pick(int row, int col, const QString& label) {
        ClickCell(Grid(), row, col);
        QComboBox* picker = nullptr;  // the one open over the cell
        for (auto* combo : Grid().parentWidget()->findChildren<QComboBox*>())
            if (combo->isVisible()) picker = combo;
        QVERIFY(picker != nullptr);
        const int index = picker->findText(label);
        QVERIFY(index >= 0);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

private slots:
    void cellEditUndoRedoAndNames() {
        Open(kModeCustom);
        QVERIFY(!Action("mnuUndo").isEnabled() && !Action("mnuRedo").isEnabled());
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo"));
        EnterFrequency(12, ColRxFreq, "433.2");
        QCOMPARE(Cell(12, ColTxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Edit RX frequency of channel 12"));
        QVERIFY(Action("mnuUndo").isEnabled());

        Undo();
        QCOMPARE(Cell(12, ColRxFreq), QString());
        QCOMPARE(Cell(12, ColTxFreq), QString());
        QCOMPARE(Shown(12, ColRxFreq), QString());
        QVERIFY(!Action("mnuUndo").isEnabled());
        QCOMPARE(Action("mnuRedo").text(), QStringLiteral("Redo Edit RX frequency of channel 12"));

        Redo();
        QCOMPARE(Cell(12, ColRxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Shown(12, ColTxFreq), QStringLiteral("433.200000"));

        // A commit that changes nothing is no step.
        EnterFrequency(12, ColRxFreq, "433.2");
        QCOMPARE(History().StepCount(), 1);
        // Leaving the cell commits too, and is a step of its own.
        ClickCell(Grid(), 13, ColTxFreq);
        Text1().clear();
        QTest::keyClicks(&Text1(), "434");
        ClickCell(Grid(), 20, ColScan);
        QCOMPARE(Cell(13, ColTxFreq), QStringLiteral("434.000000"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Edit TX frequency of channel 13"));
    }

    void aNewStepClearsRedo() {
        Open(kModeCustom);
        EnterFrequency(2, ColRxFreq, "420");
        EnterFrequency(3, ColRxFreq, "421");
        Undo();
        QVERIFY(Action("mnuRedo").isEnabled());
        Pick(5, ColPower, "Low");
        QVERIFY(!Action("mnuRedo").isEnabled());
        QCOMPARE(Action("mnuRedo").text(), QStringLiteral("Redo"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Edit power of channel 5"));
        Undo();
        Undo();
        QCOMPARE(Cell(2, ColRxFreq), QString());
        QCOMPARE(Cell(3, ColRxFreq), QString());
        QCOMPARE(Cell(5, ColPower), QStringLiteral("High"));
    }

    void pickUndoBringsTheOtherToneBack() {
        Open(kModeDefault);
        const QString dcs = QString::fromStdString(DcsLabel(84, kEditionPmrLpd));
        Pick(3, ColDcs, dcs);
        Pick(3, ColCtcss, QStringLiteral("[12] C100.0"));
        QCOMPARE(Cell(3, ColDcs), QStringLiteral("[000] OFF"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Edit CTCSS of channel 3"));
        Undo();
        QCOMPARE(Cell(3, ColCtcss), QStringLiteral("[00] OFF"));
        QCOMPARE(Cell(3, ColDcs), dcs);
        QCOMPARE(Shown(3, ColDcs), dcs);
    }

    void shortcutsWorkOnTheGridButNotInTheFrequencyEditor() {
        Open(kModeCustom);
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        EnterFrequency(4, ColRxFreq, "430");
        Grid().setFocus();
        QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Cell(4, ColRxFreq), QString());
        QTest::keyClick(&Grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("430.000000"));
        QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("430.000000"));

        ClickCell(Grid(), 4, ColRxFreq);
        QVERIFY(Text1().hasFocus());
        QTest::keyClick(&Text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("430.000000"));
        QVERIFY(Text1().isVisible());
        QCOMPARE(History().StepCount(), 1);
    }

    void undoClosesAnOpenEditorWithoutWriting() {
        Open(kModeCustom);
        EnterFrequency(6, ColRxFreq, "440");
        ClickCell(Grid(), 7, ColRxFreq);
        Text1().clear();
        QTest::keyClicks(&Text1(), "441");
        Undo();
        QVERIFY(!Text1().isVisible());
        QCOMPARE(Cell(6, ColRxFreq), QString());
        QCOMPARE(Cell(7, ColRxFreq), QString());
        // Moving on afterwards writes nothing either.
        ClickCell(Grid(), 9, ColScan);
        QCOMPARE(Cell(7, ColRxFreq), QString());
    }

    void newFileIsOneStepWithItsGroups() {
        Open(kModeCustom);
        Ws().channels.SetFrequencyCell(433.2, 9, ColRxFreq);
        Ws().groups.GroupSize[1] = 4;
        QVERIFY(SaveGroupFile(Ws()).ok());
        Action("nFile").trigger();
        QCOMPARE(Cell(9, ColRxFreq), QString());
        QCOMPARE(Reread().groups.GroupSize[1], uint8_t{0});
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo New File"));
        Undo();
        QCOMPARE(Cell(9, ColRxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Ws().groups.GroupSize[1], uint8_t{4});
        QCOMPARE(Reread().groups.GroupSize[1], uint8_t{4});
    }

    void modeSwitchRestoresPortTxtAndTicks() {
        Open(kModeDefault);
        const QString preset = Cell(1, ColRxFreq);
        QVERIFY(!preset.isEmpty());
        Ws().settings.BandSelect = kBandPmr;
        QVERIFY(SaveConfigFile(Ws()).ok());
        Action("custom").trigger();
        QCOMPARE(Cell(1, ColRxFreq), QString());
        QCOMPARE(Reread().channelMode, kModeCustom);
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Mode Custom"));

        Undo();
        QCOMPARE(Ws().channelMode, kModeDefault);
        QCOMPARE(Ws().settings.BandSelect, kBandPmr);
        QCOMPARE(Cell(1, ColRxFreq), preset);
        QVERIFY(Action("default").isChecked() && !Action("custom").isChecked());
        const Workspace reread = Reread();
        QCOMPARE(reread.channelMode, kModeDefault);
        QCOMPARE(reread.settings.BandSelect, kBandPmr);
        // Default mode's locks follow the restored mode.
        ClickCell(Grid(), 1, ColRxFreq);
        QVERIFY(!Text1().isVisible());

        Redo();
        QCOMPARE(Ws().channelMode, kModeCustom);
        QVERIFY(Action("custom").isChecked());
        QCOMPARE(Reread().channelMode, kModeCustom);
    }

    void generationRunAndGroupReset() {
        Open(kModeCustom);
        Action("group").trigger();
        GroupWindow* group = frame_->ShownGroupWindow();
        QVERIFY(group != nullptr);
        group->findChild<QLineEdit*>(QStringLiteral("Text7"))->setText("3");
        group->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText("1");
        group->findChild<QLineEdit*>(QStringLiteral("Text5"))->setText("4");
        group->findChild<QLineEdit*>(QStringLiteral("Text6"))->setText("446.00625");
        QTest::mouseClick(group->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("446.043750"));
        QCOMPARE(Cell(2, ColGroup), QStringLiteral("A-2"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Auto generation"));

        Undo();
        QCOMPARE(Cell(4, ColRxFreq), QString());
        QCOMPARE(Cell(2, ColGroup), QString());
        QCOMPARE(Ws().groups.GroupSize[0], uint8_t{0});
        QCOMPARE(Reread().groups.GroupSize[0], uint8_t{0});
        Redo();
        QCOMPARE(Cell(2, ColGroup), QStringLiteral("A-2"));
        QCOMPARE(Reread().groups.GroupSize[0], uint8_t{3});

        QTest::mouseClick(group->findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Group reset"));
        QCOMPARE(Cell(4, ColRxFreq), QString());
        Undo();
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("446.043750"));
        QCOMPARE(Reread().groups.GroupSize[0], uint8_t{3});
    }

    void openImageIsOneStep() {
        Open(kModeDefault);
        const QString presetRx = Cell(3, ColRxFreq);
        const MemoryImage image = KoreaCustomImage();
        const QString path = dir_->filePath("radio.img");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
        file.close();
        QVERIFY(frame_->RunOpenImage(path));
        QCOMPARE(Ws().edition, kEditionKorea);
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Open image"));
        Undo();
        QCOMPARE(Ws().edition, kEditionPmrLpd);
        QCOMPARE(Cell(3, ColRxFreq), presetRx);
        QCOMPARE(Reread().channelMode, kModeDefault);
        // A file that is refused is no step.
        QVERIFY(!frame_->RunOpenImage(dir_->filePath("missing.img")));
        QCOMPARE(History().StepCount(), 1);
    }

    void setupOkWithItsBandPlanIsOneStep() {
        Open(kModeDefault);
        const QString rx12 = Cell(12, ColRxFreq);
        QVERIFY(!rx12.isEmpty());
        Pick(12, ColPower, "Low");
        Action("setup").trigger();
        SettingsWindow* setup = frame_->ShownSettingsWindow();
        QVERIFY(setup != nullptr);
        setup->findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(true);  // PMR only
        QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(Ws().settings.BandSelect, kBandPmr);
        QCOMPARE(Cell(12, ColRxFreq), QString());
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Set Up"));
        Undo();
        QCOMPARE(Ws().settings.BandSelect, kBandPmrLpd);
        QCOMPARE(Reread().settings.BandSelect, kBandPmrLpd);
        QCOMPARE(Cell(12, ColRxFreq), rx12);
        QCOMPARE(Cell(12, ColPower), QStringLiteral("Low"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Edit power of channel 12"));
    }

    void readFromRadio() {
        Open(kModeDefault);
        const QString presetRx = Cell(3, ColRxFreq);
        Pick(2, ColPower, "Low");
        const MemoryImage image = KoreaCustomImage();

        sim_->AnswerConnection();
        auto& port = sim_->Link().port;
        const std::size_t before = port.sent.size();
        Action("upload").trigger();
        QVERIFY(sim_->RunUntilTrue([&] { return port.sent.size() > before; }, 1000));
        sim_->ReceiveIn(150, linktest::kConnReply);
        QVERIFY(sim_->RunUntilTrue([&] { return port.sent.back().bytes.size() > 2 && port.sent.back().bytes[2] == 'R'; }, 2000));
        QVERIFY(!Action("mnuUndo").isEnabled());  // a transfer runs
        QVERIFY(History().Undo().ok());  // locked: nothing to undo, nothing saved
        QCOMPARE(Cell(2, ColPower), QStringLiteral("Low"));
        sim_->ReceiveIn(300, std::vector<uint8_t>(image.begin(), image.end()));
        QVERIFY(sim_->RunUntilTrue([&] { return messages_.texts.contains("UPLOAD COMPLETE"); }, 5000));
        QCOMPARE(Cell(3, ColRxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Ws().edition, kEditionKorea);
        QVERIFY(Action("mnuUndo").isEnabled());
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Read from radio"));

        Undo();
        QCOMPARE(Ws().edition, kEditionPmrLpd);
        QCOMPARE(Ws().channelMode, kModeDefault);
        QCOMPARE(Cell(3, ColRxFreq), presetRx);
        QCOMPARE(Cell(2, ColPower), QStringLiteral("Low"));
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : PMR + LPD"));
        QVERIFY(Action("default").isChecked());
        QCOMPARE(Reread().edition, kEditionPmrLpd);
        // The DCS picker offers the restored edition's list again.
        ClickCell(Grid(), 3, ColDcs);
        auto* combo2 = frame_->findChild<QComboBox*>(QStringLiteral("Combo2"));
        QCOMPARE(combo2->itemText(84).toStdString(), DcsLabel(84, kEditionPmrLpd));
        Undo();
        QCOMPARE(Cell(2, ColPower), QStringLiteral("High"));
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
