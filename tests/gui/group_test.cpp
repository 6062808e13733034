// The group window: loading, typing checks, "Auto" step by step with what each
// check leaves behind (cells and Group.txt bytes), and "Reset".
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "forms/GroupWindow.h"
#include "model/ChannelDefaults.h"
#include "model/ChannelTable.h"
#include "model/ToneTable.h"
#include "store/ConfigFiles.h"

using namespace corvane;

namespace {

QString Num(int value) { return value >= 0 ? QStringLiteral(" %1 ").arg(value) : QStringLiteral("%1 ").arg(value); }

// Group.txt body: ten sizes, enabled, slot count, three texts, five numbers, three numbers, three texts.
QByteArray GroupFileBytes(const QList<int>& sizes, int enabled, int slotCount, const QStringList& freqTexts,
                          const QList<int>& freqNumbers, const QList<int>& toneNumbers, const QStringList& toneTexts) {
    QStringList lines;
    for (int size : sizes) lines << Num(size);
    lines << Num(enabled) << Num(slotCount) << freqTexts;
    for (int n : freqNumbers) lines << Num(n);
    for (int n : toneNumbers) lines << Num(n);
    lines << toneTexts;
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
    return bytes;
}

const QList<int> kNoSizes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

class GroupWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    Workspace ws_;
    QStringList messages_;
    int linkRefreshes_ = 0;
    QPointer<GroupWindow> window_;

    void Open() {
        window_ = new GroupWindow(ws_, [this](const QString& text) { messages_ << text; }, nullptr,
                               [this] { ++linkRefreshes_; });
        window_->show();
    }
    template <typename T>
    T* Find(const QString& name) {
        T* widget = window_->findChild<T*>(name);
        if (!widget) qFatal("missing control %s", qPrintable(name));
        return widget;
    }
    QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
    QLineEdit* GroupBox(int index) { return Find<QLineEdit>(QStringLiteral("Text%1").arg(7 + index)); }
    QRadioButton* Option(int number) { return Find<QRadioButton>(QStringLiteral("Option%1").arg(number)); }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    QString Cell(int row, int col) const { return QString::fromStdString(ws_.channels.GetCell(row, col)); }
    QString GroupPath() const { return dir_.filePath("Group.txt"); }
    QByteArray GroupBytes() const {
        QFile file(GroupPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteGroupFile(const QByteArray& bytes) {
        QFile file(GroupPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void SetFrequencySet(const char* first, const char* last, const char* mhz) {
        Box("Text1")->setText(first);
        Box("Text5")->setText(last);
        Box("Text6")->setText(mhz);
    }
    void SetToneSet(const char* code, const char* first, const char* last) {
        Box("Text2")->setText(code);
        Box("Text3")->setText(first);
        Box("Text4")->setText(last);
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(GroupPath());
        ws_ = Workspace{};
        ws_.programFolder = dir_.path().toStdString();
        ws_.edition = kEditionPmrLpd;
        ws_.channelMode = kModeCustom;
        messages_.clear();
        linkRefreshes_ = 0;
    }
    void cleanup() {
        if (window_) window_->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensPinnedWithItsControls() {
        Open();
        QCOMPARE(window_->windowTitle(), QString("Corvane PC Programmer Group Control"));
        QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(messages_.isEmpty());
        QVERIFY(QFile::exists(GroupPath()));
        QCOMPARE(Option(5)->text(), QString("RX/TX"));
        QVERIFY(Option(5)->isChecked());
        QCOMPARE(Option(8)->text(), QString("Narrow\""));
        QVERIFY(Option(8)->isChecked());
        QVERIFY(Option(1)->isChecked());
        QVERIFY(Find<QCheckBox>("Check1")->isChecked());
        auto* step = Find<QComboBox>("Combo1");
        QVERIFY(step->isEditable());
        QCOMPARE(step->count(), 4);
        QCOMPARE(step->itemText(3), QString("50.0[KHz]"));
        QCOMPARE(step->currentIndex(), 0);
        QCOMPARE(Find<QComboBox>("Combo2")->count(), 9);
        for (int i = 0; i < kGroupCount; ++i) QCOMPARE(GroupBox(i)->text(), QString("0"));
        window_->NoAllwaysOnTop();
        QVERIFY(!(window_->windowFlags() & Qt::WindowStaysOnTopHint));
        window_->AllwaysOntop();
        QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void zeroesGroupBoxesWhenNoFrequencySetWasStored() {
        QList<int> sizes = kNoSizes;
        sizes[0] = 3;
        WriteGroupFile(GroupFileBytes(sizes, 3, 1, {"0", "7", "440"}, {1, 1, 1, 0, 2}, {1, 1, 4}, {"12", "2", "9"}));
        Open();
        QCOMPARE(int(ws_.groups.GroupSize[0]), 3);
        QCOMPARE(GroupBox(0)->text(), QString("0"));
        QVERIFY(Box("Text1")->text().isEmpty());
        QVERIFY(Option(4)->isChecked());
        QVERIFY(Option(7)->isChecked());
        QVERIFY(Option(9)->isChecked());
        QCOMPARE(Find<QComboBox>("Combo1")->currentText(), QString("37.5[KHz]"));
        QVERIFY(Option(2)->isChecked());
        QVERIFY(Option(11)->isChecked());
        QCOMPARE(Find<QComboBox>("Combo2")->currentText(), QString("5"));
        QCOMPARE(Box("Text2")->text(), QString("12"));
        QVERIFY(messages_.isEmpty());
    }

    void autoLaysOutGroupsAndWritesFrequencies() {
        Open();
        GroupBox(0)->setText("3");
        GroupBox(2)->setText("2");
        ws_.channels.SetCell(3, ColCtcss, "[05] C77.0");
        SetFrequencySet("1", "8", "446.00625");
        Click("Command2");
        QVERIFY(messages_.isEmpty());
        QCOMPARE(int(ws_.groups.GroupsEnabled), 5);
        const QStringList groups{"A-1", "A-2", "A-3", "C-1", "C-2", ""};
        for (int row = 1; row <= 6; ++row) QCOMPARE(Cell(row, ColGroup), groups[row - 1]);
        QCOMPARE(Cell(1, ColRxFreq), QString("446.006250"));
        QCOMPARE(Cell(8, ColTxFreq), QString("446.093750"));
        QCOMPARE(Cell(8, ColBand), QString("Narrow"));
        QCOMPARE(Cell(8, ColScan), QString("Yes"));
        QVERIFY(Cell(9, ColRxFreq).isEmpty());
        QCOMPARE(Cell(3, ColCtcss), QString("[05] C77.0"));  // empty tone code: tones untouched
        QList<int> sizes = kNoSizes;
        sizes[0] = 3;
        sizes[2] = 2;
        QCOMPARE(GroupBytes(), GroupFileBytes(sizes, 5, 2, {"1", "8", "446.00625"}, {2, 0, 0, 1, 0}, {0, 0, 0},
                                              {"", "", ""}));
    }

    void rxOnlyDecrementWithWrapAndWide() {
        Open();
        ws_.channels.SetCell(2, ColTxFreq, "440.000000");
        SetFrequencySet("1", "3", "420.0125");
        Option(3)->setChecked(true);
        Option(7)->setChecked(true);
        Option(9)->setChecked(true);
        Find<QCheckBox>("Check1")->setChecked(false);
        Find<QComboBox>("Combo1")->setCurrentIndex(1);
        Click("Command2");
        QCOMPARE(Cell(1, ColRxFreq), QString("420.012500"));
        QCOMPARE(Cell(2, ColRxFreq), QString("449.975000"));
        QCOMPARE(Cell(3, ColRxFreq), QString("449.950000"));
        QCOMPARE(Cell(2, ColTxFreq), QString("440.000000"));
        QCOMPARE(Cell(2, ColBand), QString("Wide"));
        QCOMPARE(Cell(2, ColScan), QString("No"));
        QCOMPARE(GroupBytes(), GroupFileBytes(kNoSizes, 0, 0, {"1", "3", "420.0125"}, {0, 1, 1, 0, 1}, {0, 0, 0},
                                              {"", "", ""}));
    }

    void groupTotalAbove255ClearsSizesAndRunGoesOn() {
        Open();
        for (int i = 0; i < kGroupCount; ++i) GroupBox(i)->setText("26");
        SetFrequencySet("1", "2", "430");
        Click("Command2");
        QCOMPARE(messages_, QStringList{"There is no remained channels..."});
        for (int i = 0; i < kGroupCount; ++i) QCOMPARE(GroupBox(i)->text(), QString("0"));
        QCOMPARE(int(ws_.groups.GroupsEnabled), 0);
        QCOMPARE(Cell(2, ColRxFreq), QString("430.012500"));
    }

    void negativeSizesCountAsNone() {
        Open();
        GroupBox(0)->setText("-5");
        GroupBox(1)->setText("2");
        SetFrequencySet("1", "4", "430");
        Click("Command2");
        QCOMPARE(int(ws_.groups.GroupSize[0]), 0);
        QCOMPARE(int(ws_.groups.GroupsEnabled), 2);
        QCOMPARE(Cell(1, ColGroup), QString("B-1"));
    }

    void groupsLargerThanRangeStopWithGroupsCleared() {
        Open();
        ws_.channels.SetCell(1, ColGroup, "B-1");
        GroupBox(0)->setText("6");
        GroupBox(1)->setText("4");
        SetFrequencySet("1", "8", "446.00625");
        SetToneSet("5", "1", "4");
        Click("Command2");
        QCOMPARE(messages_, QStringList{"[Error] Group Length ....."});
        for (int i = 0; i < kGroupCount; ++i) QCOMPARE(GroupBox(i)->text(), QString("0"));
        QCOMPARE(Cell(1, ColGroup), QString("B-1"));
        QVERIFY(Cell(1, ColRxFreq).isEmpty());
        QCOMPARE(GroupBytes(), GroupFileBytes(kNoSizes, 0, 0, {"1", "8", "446.00625"}, {2, 0, 0, 1, 0}, {0, 0, 0},
                                              {"5", "1", "4"}));

        messages_.clear();
        GroupBox(0)->setText("6");
        GroupBox(1)->setText("4");
        Box("Text5")->setText("10");
        Click("Command2");
        QVERIFY(messages_.isEmpty());
        QCOMPARE(Cell(10, ColGroup), QString("B-4"));
        QCOMPARE(int(ws_.groups.GroupsEnabled), 10);
    }

    void toneRangeOutsideFrequencyRangeKeepsFrequencies() {
        Open();
        SetFrequencySet("4", "10", "430");
        SetToneSet("5", "3", "6");
        const QByteArray before = GroupBytes();
        Click("Command2");
        QCOMPARE(messages_, QStringList{"[Error] Tone Length ....."});
        QVERIFY(Box("Text3")->text().isEmpty());
        QCOMPARE(Box("Text4")->text(), QString("6"));
        QCOMPARE(Cell(4, ColRxFreq), QString("430.000000"));
        QCOMPARE(Cell(10, ColRxFreq), QString("430.075000"));
        QVERIFY(Cell(4, ColCtcss).isEmpty());
        // Only the group layout step saved; the new inputs stay unsaved.
        QCOMPARE(GroupBytes(), before);

        messages_.clear();
        Box("Text3")->setText("4");
        Box("Text4")->setText("11");
        Click("Command2");
        QCOMPARE(messages_, QStringList{"[Error] Tone Length ....."});
        QVERIFY(Box("Text4")->text().isEmpty());
    }

    void toneRunsWrapAndAreSaved() {
        Open();
        SetFrequencySet("1", "8", "446.00625");
        Option(2)->setChecked(true);
        SetToneSet("207", "1", "4");
        Find<QComboBox>("Combo2")->setCurrentIndex(2);
        Click("Command2");
        QVERIFY(messages_.isEmpty());
        QCOMPARE(Cell(1, ColDcs), QString::fromStdString(DcsLabel(207, kEditionPmrLpd)));
        QCOMPARE(Cell(2, ColDcs), QString::fromStdString(DcsLabel(1, kEditionPmrLpd)));
        QCOMPARE(Cell(4, ColDcs), QString::fromStdString(DcsLabel(7, kEditionPmrLpd)));
        QCOMPARE(Cell(4, ColCtcss), QString("[00] OFF"));
        QVERIFY(Cell(5, ColDcs).isEmpty());
        QCOMPARE(GroupBytes(), GroupFileBytes(kNoSizes, 0, 0, {"1", "8", "446.00625"}, {2, 0, 0, 1, 0}, {1, 0, 2},
                                              {"207", "1", "4"}));

        Option(1)->setChecked(true);
        Option(11)->setChecked(true);
        SetToneSet("3", "5", "7");
        Find<QComboBox>("Combo2")->setCurrentIndex(4);
        Click("Command2");
        QCOMPARE(Cell(5, ColCtcss), QString::fromStdString(CtcssLabel(3)));
        QCOMPARE(Cell(6, ColCtcss), QString::fromStdString(CtcssLabel(73)));
        QCOMPARE(Cell(7, ColCtcss), QString::fromStdString(CtcssLabel(68)));
        QCOMPARE(Cell(7, ColDcs), QString("[000] OFF"));
    }

    void typedStepsGiveStepZero() {
        Open();
        SetFrequencySet("1", "3", "430");
        Find<QComboBox>("Combo1")->setEditText("7");
        SetToneSet("9", "1", "3");
        Find<QComboBox>("Combo2")->setEditText("x");
        Click("Command2");
        QCOMPARE(Cell(3, ColRxFreq), QString("430.000000"));
        QCOMPARE(Cell(3, ColCtcss), QString::fromStdString(CtcssLabel(9)));
        QCOMPARE(int(ws_.groups.FreqSetStepIndex), -1);
        QCOMPARE(int(ws_.groups.ToneSetStepIndex), -1);
    }

    void refusedFrequencyInputsStopSilently() {
        Open();
        SetFrequencySet("5", "5", "446.00625");
        Option(3)->setChecked(true);
        Click("Command2");
        QVERIFY(messages_.isEmpty());
        QVERIFY(Box("Text1")->text().isEmpty());
        QVERIFY(Box("Text6")->text().isEmpty());
        QVERIFY(Option(5)->isChecked());
        QVERIFY(Find<QGroupBox>("Frame5")->isEnabled());
        QVERIFY(Cell(5, ColRxFreq).isEmpty());

        SetFrequencySet("1", "5", "460");
        Click("Command2");
        QVERIFY(messages_.isEmpty());
        QVERIFY(Box("Text6")->text().isEmpty());
        QCOMPARE(Box("Text1")->text(), QString("1"));
        QVERIFY(Cell(1, ColRxFreq).isEmpty());
    }

    void refusedRangeOutsidePmrLpdDisablesTargetsAndGroups() {
        ws_.edition = kEditionKorea;
        Open();
        Option(4)->setChecked(true);
        SetFrequencySet("", "5", "423.2");
        Click("Command2");
        QVERIFY(!Option(3)->isEnabled());
        QVERIFY(!Option(5)->isEnabled());
        QVERIFY(Option(4)->isChecked());
        QVERIFY(!Find<QGroupBox>("Frame5")->isEnabled());
    }

    void typingChecks() {
        Open();
        for (const char* name : {"Text1", "Text5", "Text3", "Text4"}) {
            for (const char* refused : {"0", "300", "a"}) {
                messages_.clear();
                Box(name)->clear();
                QTest::keyClicks(Box(name), refused);
                QVERIFY(Box(name)->text().isEmpty());
                QCOMPARE(messages_, QStringList{"[Error] Channel Legnth !!!"});
            }
            messages_.clear();
            QTest::keyClicks(Box(name), "255");
            QCOMPARE(Box(name)->text(), QString("255"));
            QVERIFY(messages_.isEmpty());
        }

        auto* code = Box("Text2");
        QTest::keyClicks(code, "74");
        QVERIFY(code->text().isEmpty());
        QCOMPARE(messages_, QStringList{"[Error] Tone Legnth !!!"});
        messages_.clear();
        Option(2)->setChecked(true);
        QTest::keyClicks(code, "208");
        QCOMPARE(code->text(), QString("208"));
        code->clear();
        QTest::keyClicks(code, "209");
        QVERIFY(code->text().isEmpty());
        QCOMPARE(messages_, QStringList{"[Error] Tone Legnth !!!"});
        messages_.clear();
        QTest::keyClicks(code, "100");
        QTest::mouseClick(Option(1), Qt::LeftButton);
        QVERIFY(code->text().isEmpty());
        QVERIFY(messages_.isEmpty());
    }

    void frequencyBoxChecksOnEnterAndTab() {
        Open();
        auto* box = Box("Text6");
        box->setText("446.00625");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QString("446.00625"));
        box->setText("446.003");
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), QString("446.003"));
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(box->text().isEmpty());
        QCOMPARE(messages_, QStringList{"Frequency: Divide Error !!!"});
        messages_.clear();
        for (const char* outside : {"460", "419.99375", "1e300"}) {
            box->setText(outside);
            QTest::keyClick(box, Qt::Key_Enter);
            QVERIFY(box->text().isEmpty());
        }
        QVERIFY(messages_.isEmpty());
    }

    void resetReturnsEverythingToDefaults() {
        Open();
        GroupBox(0)->setText("4");
        SetFrequencySet("1", "8", "446.00625");
        Option(2)->setChecked(true);
        SetToneSet("20", "1", "4");
        Option(6)->setChecked(true);
        Option(9)->setChecked(true);
        Click("Command2");
        ws_.channels.SetCell(2, ColScan, "Maybe");
        Option(3)->setChecked(true);
        Click("Command5");
        QCOMPARE(linkRefreshes_, 1);
        for (int i = 0; i < kGroupCount; ++i) QCOMPARE(GroupBox(i)->text(), QString("0"));
        QVERIFY(Option(1)->isChecked());
        QVERIFY(Option(5)->isChecked());
        QVERIFY(Option(8)->isChecked());
        QVERIFY(Box("Text1")->text().isEmpty());
        QVERIFY(Box("Text2")->text().isEmpty());
        Workspace expected = ws_;
        FillDefaults(expected);
        QVERIFY(ws_.channels == expected.channels);
        QVERIFY(Cell(2, ColScan) != QString("Maybe"));
        QCOMPARE(GroupBytes(), GroupFileBytes(kNoSizes, 0, 0, {"0", "0", "0"}, {2, 0, 0, 1, 0}, {0, 0, 0},
                                              {"", "", ""}));
    }

    void exitStoresNothing() {
        Open();
        GroupBox(0)->setText("4");
        const QByteArray before = GroupBytes();
        Click("Command1");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window_.isNull());
        QCOMPARE(int(ws_.groups.GroupSize[0]), 0);
        QCOMPARE(GroupBytes(), before);
    }
};

QTEST_MAIN(GroupWindowTest)
#include "group_test.moc"
