// Copy and Paste of channels through the Edit menu: the text on the
// clipboard, both paste layouts, refusals, Default mode and undo.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTest>

#include "app/MainWindow.h"
#include "editor/CellEditors.h"
#include "editor/FrequencyEdit.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "model/ChannelDefaults.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {
const QString kTitles = QStringLiteral("No\tGROUP\tRX - FREQ\tTX - FREQ\tCTCSS\tDCS\tSCAN\tBAND\tPOWER\tSCR\tCOM\n");
}

class ClipboardTest : public FrameFixture {
    Q_OBJECT

private:
    void Open(uint8_t mode) { OpenFrame(kEditionPmrLpd, mode, "5", false); }
    FrozenColumnTableView& Grid() { return frame_->Editor().Grid(); }
    QStringList Channel(int row) const {
        QStringList cells;
        for (int col = 0; col < kColumnCount; ++col) cells << Cell(row, col);
        return cells;
    }
    void SetCurrent(int row, int col) {
        Grid().selectionModel()->setCurrentIndex(Grid().model()->index(row - 1, col), QItemSelectionModel::ClearAndSelect);
    }
    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        Action("mnuPaste").trigger();
    }
    static QString Line(const QString& rx, const QString& tx, const QString& ctcss, const QString& dcs,
                        const QString& scan, const QString& band, const QString& power, const QString& scr,
                        const QString& com) {
        return QStringList{rx, tx, ctcss, dcs, scan, band, power, scr, com}.join(u'\t') + u'\n';
    }

private slots:
    void copyTakesTheSelectedChannels() {
        Open(kModeCustom);
        Ws().channels.SetFrequencyCell(446.00625, 3, ColRxFreq);
        Ws().channels.SetFrequencyCell(446.1, 4, ColTxFreq);
        Ws().channels.SetCell(5, ColPower, "Low");
        // A drag over three channels, in any column.
        ClickCell(Grid(), 3, ColScan);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          Grid().visualRect(Grid().model()->index(4, ColBand)).center());
        Action("mnuCopy").trigger();
        const QString expected = kTitles +
                                 "[CH-003]\t\t446.006250\t\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n"
                                 "[CH-004]\t\t\t446.100000\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n"
                                 "[CH-005]\t\t\t\t[00] OFF\t[000] OFF\tYes\tNarrow\tLow\tOff\tOff\n";
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);

        // Nothing selected: the current channel.
        SetCurrent(5, ColRxFreq);
        Grid().selectionModel()->clearSelection();
        Action("mnuCopy").trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 kTitles + "[CH-005]\t\t\t\t[00] OFF\t[000] OFF\tYes\tNarrow\tLow\tOff\tOff\n");
        QVERIFY(messages_.texts.isEmpty());
    }

    // A click on the half-hidden bottom row, with the twitch of a real hand:
    // that row becomes current and highlighted, and it alone is copied.
    void aClickOnAHalfHiddenRowTakesThatChannel() {
        for (const uint8_t mode : {kModeDefault, kModeCustom}) {
            Open(mode);
            for (const int col : {0, int(ColRxFreq)}) {
                const QString where = QStringLiteral("mode %1 column %2").arg(mode).arg(col);
                QAbstractItemView& view = col == 0 ? static_cast<QAbstractItemView&>(*Grid().FrozenView()) : Grid();
                Grid().verticalScrollBar()->setValue(0);
                const int bottom = view.viewport()->height();
                int row = 1;
                while (Grid().visualRect(Grid().model()->index(row - 1, col)).bottom() < bottom) ++row;
                const QRect cell = Grid().visualRect(Grid().model()->index(row - 1, col));
                QVERIFY2(cell.top() < bottom - 4, qPrintable(where));  // partly in sight
                const QPoint at(cell.center().x(), bottom - 2);
                QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at);
                QTest::mouseMove(view.viewport(), at + QPoint(1, -1));
                QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at + QPoint(1, -1));
                const QModelIndex clicked = Grid().model()->index(row - 1, col);
                QCOMPARE(Grid().currentIndex(), clicked);
                QCOMPARE(Grid().selectionModel()->selectedIndexes(), QModelIndexList{clicked});
                QTRY_VERIFY2(Grid().visualRect(clicked).bottom() < bottom, qPrintable(where));  // then brought into sight
                QCOMPARE(Grid().currentIndex(), clicked);
                if (mode == kModeCustom && col == ColRxFreq) {
                    auto* text1 = frame_->Editor().Editors().Text1();
                    QVERIFY(text1->isVisible());
                    QCOMPARE(frame_->Editor().Editors().EditCell().row, row);
                    QCOMPARE(text1->geometry().topLeft(),
                             Grid().viewport()->mapTo(&frame_->Editor(), Grid().visualRect(clicked).topLeft()));
                    frame_->Editor().CloseCellEditors();
                }
                Action("mnuCopy").trigger();
                const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
                QCOMPARE(lines.size(), 2);
                QVERIFY2(lines[1].startsWith(QStringLiteral("[CH-%1]").arg(row, 3, 10, QLatin1Char('0'))),
                         qPrintable(where + u' ' + lines[1]));
            }
        }
    }

    void copiedChannelsPasteElsewhereAsOneStep() {
        Open(kModeCustom);
        Ws().channels.SetFrequencyCell(433.075, 3, ColRxFreq);
        Ws().channels.SetFrequencyCell(433.1, 3, ColTxFreq);
        Ws().channels.SetCell(4, ColCtcss, "[12] C100.0");
        Ws().channels.SetCell(4, ColGroup, "A-1");
        SetCurrent(3, ColRxFreq);
        Grid().selectionModel()->select(QItemSelection(Grid().model()->index(2, 0), Grid().model()->index(3, 10)),
                                        QItemSelectionModel::ClearAndSelect);
        Action("mnuCopy").trigger();
        const QStringList before20 = Channel(20);
        SetCurrent(20, ColScan);
        Action("mnuPaste").trigger();
        QVERIFY(messages_.texts.isEmpty());
        for (int col = ColRxFreq; col < kColumnCount; ++col) {
            QCOMPARE(Cell(20, col), Cell(3, col));
            QCOMPARE(Cell(21, col), Cell(4, col));
        }
        QCOMPARE(Cell(21, ColGroup), QString());  // groups come from the group table
        const QModelIndexList selected = Grid().selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 2 * kColumnCount);
        for (const QModelIndex& index : selected) QVERIFY(index.row() == 19 || index.row() == 20);
        QCOMPARE(Grid().model()->index(20, ColCtcss).data().toString(), QStringLiteral("[12] C100.0"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Paste 2 channels"));
        Action("mnuUndo").trigger();
        QCOMPARE(Channel(20), before20);
        QCOMPARE(Cell(21, ColCtcss), QStringLiteral("[00] OFF"));
    }

    void pasteWithoutTitles() {
        Open(kModeCustom);
        SetCurrent(7, ColLabel);
        Paste(Line("446.00625", "446,1", "[00] OFF", "[000] OFF", "No", "Wide", "Low", "On", "On"));
        QVERIFY2(messages_.texts.isEmpty(), qPrintable(messages_.Last()));
        QCOMPARE(Cell(7, ColRxFreq), QStringLiteral("446.006250"));
        QCOMPARE(Cell(7, ColTxFreq), QStringLiteral("446.100000"));  // a decimal comma reads as a point
        QCOMPARE(Cell(7, ColBand), QStringLiteral("Wide"));
        QCOMPARE(Cell(7, ColCompander), QStringLiteral("On"));
        QCOMPARE(Action("mnuUndo").text(), QStringLiteral("Undo Paste 1 channel"));
    }

    void aBadCellRefusesThePasteAndChangesNothing() {
        Open(kModeCustom);
        SetCurrent(10, ColRxFreq);
        const QStringList before10 = Channel(10);
        const QStringList before11 = Channel(11);
        Paste(kTitles.section(u'\t', 2) + Line("446.00625", "446.00625", "[00] OFF", "[000] OFF", "Yes", "Wide", "High", "Off", "Off") +
              Line("451.000000", "446.003", "[00] OFF", "[000] OFF", "Maybe", "Wide", "High", "Off", "Off"));
        QCOMPARE(messages_.texts.size(), 1);
        QCOMPARE(messages_.Last(), QStringLiteral("Paste refused:\n"
                                                  "row 2, RX - FREQ: 451.000000 is outside 420-450 MHz\n"
                                                  "row 2, TX - FREQ: 446.003 is not on the 6.25 kHz raster\n"
                                                  "row 2, SCAN: Maybe is not Yes or No"));
        QCOMPARE(Channel(10), before10);
        QCOMPARE(Channel(11), before11);
        QVERIFY(!Action("mnuUndo").isEnabled());
    }

    void pastePastChannel255IsRefused() {
        Open(kModeCustom);
        SetCurrent(254, ColRxFreq);
        const QString line = Line("", "", "[00] OFF", "[000] OFF", "No", "Wide", "Low", "Off", "Off");
        Paste(line + line + line);
        QCOMPARE(messages_.Last(),
                 QStringLiteral("Paste refused:\n3 channels from channel 254 would end at channel 256; the last channel is 255"));
        QCOMPARE(Cell(254, ColPower), QStringLiteral("High"));
        QCOMPARE(Cell(255, ColPower), QStringLiteral("High"));
        messages_.Clear();
        SetCurrent(253, ColRxFreq);
        Paste(line + line + line);
        QVERIFY(messages_.texts.isEmpty());
        QCOMPARE(Cell(255, ColPower), QStringLiteral("Low"));
    }

    void defaultModeKeepsFrequenciesAndBand() {
        Open(kModeDefault);
        const QString rx = Cell(2, ColRxFreq);
        const QString band = Cell(2, ColBand);
        SetCurrent(2, ColPower);
        Paste(Line("433.2", "433.2", "[12] C100.0", "[000] OFF", "No", "Wide", "Low", "On", "Off"));
        QVERIFY(messages_.texts.isEmpty());
        QCOMPARE(Cell(2, ColRxFreq), rx);
        QCOMPARE(Cell(2, ColTxFreq), rx);
        QCOMPARE(Cell(2, ColBand), band);
        QCOMPARE(Cell(2, ColCtcss), QStringLiteral("[12] C100.0"));
        QCOMPARE(Cell(2, ColPower), QStringLiteral("Low"));
    }

    void keyboardShortcuts() {
        Open(kModeCustom);
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        Ws().channels.SetCell(6, ColScrambler, "On");
        SetCurrent(6, ColScrambler);
        Grid().setFocus();
        QTest::keyClick(&Grid(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QGuiApplication::clipboard()->text().endsWith("\tOn\tOff\n"));
        SetCurrent(8, ColScrambler);
        QTest::keyClick(&Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(8, ColScrambler), QStringLiteral("On"));
    }
};

QTEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
