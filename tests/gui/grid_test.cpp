// The channel editor window: grid layout, start-up fill and every in-place
// editor's open, commit and discard rule.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "editor/CellEditors.h"
#include "editor/CellPicker.h"
#include "editor/ChannelTableModel.h"
#include "editor/ChannelWindow.h"
#include "editor/FrequencyEdit.h"
#include "editor/FrozenColumnTableView.h"
#include "gui_support.h"
#include "session/ProgramSession.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

class GridTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    RecordingMessages messages_;
    std::unique_ptr<ProgramSession> session_;  // no link: the grid alone
    std::unique_ptr<ChannelWindow> window_;

    // A new run on folder, its workspace as a start leaves it before the load.
    void NewSession(const std::filesystem::path& folder) {
        window_.reset();
        session_ = std::make_unique<ProgramSession>(folder.string(), SavePolicy::AtSavePoints, LinkFactory{});
        Ws() = Workspace{};
        Ws().programFolder = folder;
    }
    Workspace& Ws() { return session_->Ws(); }
    const Workspace& Ws() const { return session_->Ws(); }

    // A stored configuration for edition/mode, then the window's load.
    void Open(int16_t edition, uint8_t mode, int16_t previousEdition) {
        window_.reset();
        dir_ = std::make_unique<QTemporaryDir>();
        NewSession(dir_->path().toStdString());
        Ws().portName = "5";
        Ws().edition = edition;
        Ws().channelMode = mode;
        QVERIFY(SaveConfigFile(Ws()).ok());
        Ws().previousEdition = previousEdition;
        messages_.Clear();
        window_ = std::make_unique<ChannelWindow>(*session_, messages_);
        QVERIFY(window_->LoadChannels().ok());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    // Custom mode with channel 1 holding 446.006250 in both directions.
    void OpenCustom() {
        Open(kEditionPmrLpd, kModeCustom, kEditionKorea);
        Ws().channelMode = kModeCustom;
        Ws().channels.SetFrequencyCell(446.00625, 1, ColRxFreq);
        Ws().channels.SetFrequencyCell(446.00625, 1, ColTxFreq);
    }
    FrozenColumnTableView& Grid() { return window_->Grid(); }
    CellEditors& Editors() { return window_->Editors(); }
    FrequencyEdit& Text1() { return *Editors().Text1(); }
    QComboBox& Combo(int number) { return *Editors().Picker(number); }
    QString Cell(int row, int col) const { return QString::fromStdString(Ws().channels.GetCell(row, col)); }
    void Click(int row, int col) { ClickCell(Grid(), row, col); }
    void TypeIntoGrid(const QString& text) { QTest::keyClicks(&Grid(), text); }
    // Opens Text1 on (row, col), replaces its text and presses Enter.
    void EnterFrequency(int row, int col, const QString& text) {
        Click(row, col);
        QVERIFY(Text1().isVisible());
        Text1().clear();
        QTest::keyClicks(&Text1(), text);
        QTest::keyClick(&Text1(), Qt::Key_Return);
    }
    // The current cell lies wholly inside the viewport, a data cell clear of the fixed columns.
    bool CurrentCellVisible() {
        const QModelIndex current = Grid().currentIndex();
        const QRect cell = Grid().visualRect(current);
        const int left = current.column() < Grid().FrozenColumnCount() ? 0 : Grid().FrozenWidth();
        return current.isValid() && cell.left() >= left && cell.top() >= 0 &&
               cell.right() < Grid().viewport()->width() && cell.bottom() < Grid().viewport()->height();
    }
    QAbstractItemView& List(int number) { return *Combo(number).view(); }
    void PressInList(int number, Qt::Key key) { QTest::keyClick(&List(number), key); }
    void Pick(int number, int index) {
        QComboBox& picker = Combo(number);
        picker.setCurrentIndex(index);
        emit picker.activated(index);
    }

private slots:
    void startUpFillsTheNewEditionsPlan_data() {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("lastNarrow");
        QTest::addColumn<QString>("firstWideRx");
        QTest::newRow("PMR + LPD") << int(kEditionPmrLpd) << 8 << "433.075000";
        QTest::newRow("Korea") << int(kEditionKorea) << 65 << "444.025000";
    }
    void startUpFillsTheNewEditionsPlan() {
        QFETCH(int, edition);
        QFETCH(int, lastNarrow);
        QFETCH(QString, firstWideRx);
        const int16_t other = edition == kEditionPmrLpd ? kEditionKorea : kEditionPmrLpd;
        Open(static_cast<int16_t>(edition), kModeCustom, other);
        QCOMPARE(Ws().channelMode, kModeDefault);  // a new plan starts in Default mode
        QCOMPARE(Cell(lastNarrow, ColBand), QStringLiteral("Narrow"));
        QCOMPARE(Cell(lastNarrow + 1, ColBand), QStringLiteral("Wide"));
        QCOMPARE(Cell(lastNarrow + 1, ColRxFreq), firstWideRx);
        QCOMPARE(Cell(lastNarrow + 1, ColTxFreq), firstWideRx);
        QCOMPARE(Cell(255, ColRxFreq), QString());
        QCOMPARE(Cell(255, ColScan), QStringLiteral("Yes"));
        // ...and the working files were rewritten at once.
        Workspace reread;
        reread.programFolder = Ws().programFolder;
        reread.edition = static_cast<int16_t>(edition);
        QVERIFY(LoadChannelFiles(reread).ok());
        QCOMPARE(reread.channels.GetCell(lastNarrow + 1, ColRxFreq), Ws().channels.GetCell(lastNarrow + 1, ColRxFreq));
        QVERIFY(QFileInfo(dir_->filePath("Data")).isDir());
    }

    void sameEditionShowsWhatWasSaved() {
        OpenCustom();
        Ws().channels.SetFrequencyCell(433.1, 7, ColRxFreq);
        Ws().channels.SetCell(7, ColPower, "Low");
        QVERIFY(window_->SaveAndCloseChannels().ok());
        const std::filesystem::path folder = Ws().programFolder;
        NewSession(folder);
        Ws().edition = Ws().previousEdition = kEditionPmrLpd;
        window_ = std::make_unique<ChannelWindow>(*session_, messages_);
        QVERIFY(window_->LoadChannels().ok());
        QCOMPARE(Cell(7, ColRxFreq), QStringLiteral("433.100000"));
        QCOMPARE(Cell(7, ColPower), QStringLiteral("Low"));
        QCOMPARE(window_->Model().data(window_->Model().IndexOf(7, ColPower)).toString(), QStringLiteral("Low"));
    }

    void headersLabelsAndGeometry() {
        Open(kEditionPmrLpd, kModeDefault, kEditionKorea);
        const QStringList headers{"No", "GROUP", "RX - FREQ", "TX - FREQ", "CTCSS", "DCS",
                                  "SCAN", "BAND", "POWER", "SCR", "COM"};
        const QList<int> widths{83, 66, 110, 110, 100, 100, 66, 80, 83, 66, 66};
        ChannelTableModel& model = window_->Model();
        QCOMPARE(model.rowCount(), 255);
        QCOMPARE(model.columnCount(), 11);
        for (int col = 0; col < headers.size(); ++col) {
            QCOMPARE(model.headerData(col, Qt::Horizontal).toString(), headers[col]);
            QCOMPARE(Grid().columnWidth(col), widths[col]);
        }
        QCOMPARE(model.data(model.IndexOf(1, ColLabel)).toString(), QStringLiteral("[CH-001]"));
        QCOMPARE(model.data(model.IndexOf(255, ColLabel)).toString(), QStringLiteral("[CH-255]"));
        QCOMPARE(Grid().horizontalHeader()->height(), 20);
        for (int row = 1; row <= 10; ++row) QCOMPARE(Grid().rowHeight(row - 1), 20);
        QCOMPARE(Grid().rowHeight(10), 16);
        QCOMPARE(Grid().rowHeight(254), 16);
        // The label and group stay put: the overlay shows exactly those two.
        QTableView* frozen = Grid().FrozenView();
        QVERIFY(!frozen->isColumnHidden(ColLabel) && !frozen->isColumnHidden(ColGroup));
        QVERIFY(frozen->isColumnHidden(ColRxFreq));
        QCOMPARE(frozen->width(), 83 + 66);
        QCOMPARE(Grid().objectName(), QStringLiteral("MSHFlexGrid1"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("PC Setting"));
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Editors().EditCell().row, 1);
        QCOMPARE(Editors().EditCell().col, 1);
    }

    void theViewFollowsEveryTableWrite() {
        Open(kEditionPmrLpd, kModeCustom, kEditionPmrLpd);
        QSignalSpy changed(&window_->Model(), &QAbstractItemModel::dataChanged);
        Ws().channels.SetCell(12, ColScan, "No");
        QCOMPARE(changed.count(), 1);
        const QModelIndex index = changed.first().first().toModelIndex();
        QCOMPARE(index.row(), 11);
        QCOMPARE(index.column(), int(ColScan));
        QCOMPARE(window_->Model().data(index).toString(), QStringLiteral("No"));
    }

    void defaultModeLocksFrequenciesAndBand() {
        Open(kEditionPmrLpd, kModeDefault, kEditionKorea);
        for (int col : {int(ColRxFreq), int(ColTxFreq), int(ColBand), int(ColLabel), int(ColGroup)}) {
            Click(3, col);
            QVERIFY2(!Editors().AnyEditorVisible(), qPrintable(QString::number(col)));
        }
        Click(3, ColRxFreq);
        TypeIntoGrid(QStringLiteral("4"));
        QVERIFY(!Text1().isVisible());
        const QList<int> unlocked{ColCtcss, ColDcs, ColScan, ColPower, ColScrambler, ColCompander};
        for (int col : unlocked) {
            Click(3, col);
            QVERIFY(Combo(col - ColCtcss + 1).isVisible());
        }
    }

    void typingOrEnterInTheGridOpensTheEditor() {
        OpenCustom();
        Click(1, ColRxFreq);
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        QVERIFY(!Text1().isVisible());
        TypeIntoGrid(QStringLiteral("4"));
        QVERIFY(Text1().isVisible());
        QCOMPARE(Text1().text(), QStringLiteral("4"));
        QCOMPARE(Text1().cursorPosition(), 1);
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        QTest::keyClick(&Grid(), Qt::Key_Return);
        QCOMPARE(Text1().text(), QStringLiteral("446.006250"));
        QCOMPARE(Text1().cursorPosition(), 10);
        const QRect cell = Grid().visualRect(Grid().currentIndex());
        QCOMPARE(Text1().geometry().size(), cell.size());
        QCOMPARE(Text1().mapTo(window_.get(), QPoint(0, 0)),
                 Grid().viewport()->mapTo(window_.get(), cell.topLeft()));
    }

    void enterStoresTheFrequency() {
        OpenCustom();
        EnterFrequency(2, ColRxFreq, QStringLiteral("446.00625"));
        QCOMPARE(Cell(2, ColRxFreq), QStringLiteral("446.006250"));
        QCOMPARE(Cell(2, ColTxFreq), QStringLiteral("446.006250"));  // RX also sets TX
        QVERIFY(!Text1().isVisible());
        EnterFrequency(2, ColTxFreq, QStringLiteral("433,075"));     // comma typed as point
        QCOMPARE(Cell(2, ColTxFreq), QStringLiteral("433.075000"));
        QCOMPARE(Cell(2, ColRxFreq), QStringLiteral("446.006250"));  // TX alone
        QCOMPARE(Editors().EditCell().row, 2);
        QCOMPARE(Editors().EditCell().col, int(ColTxFreq));
        QVERIFY(messages_.texts.isEmpty());
    }

    void refusedOrEmptyEntries() {
        OpenCustom();
        EnterFrequency(1, ColRxFreq, QStringLiteral("446.001"));
        QCOMPARE(messages_.texts, QStringList{"Frequency: Divide Error !!!"});
        QCOMPARE(messages_.beeps, 1);
        QCOMPARE(Cell(1, ColRxFreq), QString());  // refused on Enter: the cell is emptied
        QCOMPARE(Cell(1, ColTxFreq), QStringLiteral("446.006250"));

        messages_.Clear();
        EnterFrequency(1, ColTxFreq, QStringLiteral("ABC"));
        QCOMPARE(messages_.texts, QStringList{"Frequency: Range Error !!!"});

        Ws().channels.SetFrequencyCell(446.00625, 1, ColTxFreq);
        EnterFrequency(1, ColTxFreq, QString());
        QCOMPARE(Cell(1, ColTxFreq), QString());  // cleared and Enter: deleted
    }

    void leavingTheCell() {
        OpenCustom();
        // Emptied, then another cell: the old value stays.
        Click(1, ColRxFreq);
        Text1().clear();
        Click(2, ColScan);
        QVERIFY(!Text1().isVisible());
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
        // A refused entry on leaving also keeps the old value, after the message.
        Click(1, ColRxFreq);
        Text1().clear();
        QTest::keyClicks(&Text1(), QStringLiteral("500"));
        Click(2, ColRxFreq);
        QCOMPARE(messages_.texts, QStringList{"Frequency: Range Error !!!"});
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
        // A good entry is written into the cell it was typed for.
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        Click(1, ColRxFreq);
        Text1().clear();
        QTest::keyClicks(&Text1(), QStringLiteral("433.2"));
        Click(4, ColPower);
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Cell(1, ColTxFreq), QStringLiteral("433.200000"));
        QCOMPARE(Cell(4, ColRxFreq), QStringLiteral("446.043750"));  // the preset, untouched
        QVERIFY(!Text1().isVisible());
        QVERIFY(Combo(5).isVisible());
    }

    void escapeAndCloseDiscard() {
        OpenCustom();
        Click(1, ColRxFreq);
        QTest::keyClicks(&Text1(), QStringLiteral("9"));
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
        Click(1, ColRxFreq);
        Text1().setText(QStringLiteral("433.2"));
        window_->CloseCellEditors();
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits and capitals") << "4A9Z" << "4A9Z";
        QTest::newRow("comma to point") << "446,5" << "446.5";
        QTest::newRow("swallowed") << "4a-b 4_" << "44";
        QTest::newRow("nine at most") << "1234567890" << "123456789";
    }
    void keyFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FrequencyEdit edit;
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), shown);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), shown.left(shown.size() - 1));
    }

    void twoWayPickers() {
        OpenCustom();
        Ws().channels.SetCell(5, ColScrambler, "On");
        Click(5, ColScrambler);
        QVERIFY(Combo(6).isVisible());
        QCOMPARE(Combo(6).currentText(), QStringLiteral("On"));  // preselected, nothing written
        QCOMPARE(Cell(5, ColScrambler), QStringLiteral("On"));
        Pick(6, 0);
        QCOMPARE(Cell(5, ColScrambler), QStringLiteral("Off"));
        QVERIFY(!Editors().AnyEditorVisible());
        const QList<std::pair<int, QString>> picks{
            {ColScan, "No"}, {ColBand, "Wide"}, {ColPower, "Low"}, {ColCompander, "On"}};
        for (const auto& [col, text] : picks) {
            Click(6, col);
            const int number = col - ColCtcss + 1;
            Pick(number, Combo(number).findText(text));
            QCOMPARE(Cell(6, col), text);
        }
    }

    void tonePickersExcludeEachOther() {
        Open(kEditionKorea, kModeCustom, kEditionKorea);
        Ws().channels.SetCell(3, ColDcs, "[084] D036");
        Click(3, ColCtcss);
        QCOMPARE(Combo(1).currentIndex(), 0);
        QCOMPARE(Cell(3, ColDcs), QStringLiteral("[084] D036"));
        Pick(1, 12);
        QCOMPARE(Cell(3, ColCtcss), QStringLiteral("[12] C100.0"));
        QCOMPARE(Cell(3, ColDcs), QStringLiteral("[000] OFF"));
        Click(3, ColDcs);
        QCOMPARE(Combo(2).count(), 209);
        QCOMPARE(Combo(2).itemText(84), QStringLiteral("[084] D036"));  // the edition's own list
        Pick(2, 84);
        QCOMPARE(Cell(3, ColDcs), QStringLiteral("[084] D036"));
        QCOMPARE(Cell(3, ColCtcss), QStringLiteral("[00] OFF"));
        Click(3, ColDcs);
        QCOMPARE(Combo(2).currentIndex(), 84);
        Ws().channels.SetCell(4, ColCtcss, "[12] c100.0");
        Click(4, ColCtcss);
        QCOMPARE(Combo(1).currentIndex(), 0);
    }

    void scrollingOrLeavingClosesPickersWithoutWriting() {
        OpenCustom();
        Click(2, ColPower);
        Combo(5).setCurrentIndex(0);  // shown, not picked
        Grid().verticalScrollBar()->setValue(Grid().verticalScrollBar()->value() + 5);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(2, ColPower), QStringLiteral("High"));
        Click(2, ColPower);
        Combo(5).setCurrentIndex(0);
        QTest::keyClick(&Grid(), Qt::Key_Down);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(2, ColPower), QStringLiteral("High"));
        Click(2, ColRxFreq);
        QTest::keyClicks(&Text1(), QStringLiteral("1"));
        Grid().horizontalScrollBar()->setValue(Grid().horizontalScrollBar()->maximum());
        Grid().verticalScrollBar()->setValue(0);
        QVERIFY(!Text1().isVisible());
        QCOMPARE(Cell(2, ColRxFreq), QStringLiteral("446.018750"));
    }

    void keyboardMovesKeepTheCurrentCellInSight() {
        OpenCustom();
        Click(1, ColRxFreq);
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        struct Move {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int presses;
        };
        const QList<Move> moves{{Qt::Key_Down, Qt::NoModifier, 30},   {Qt::Key_PageDown, Qt::NoModifier, 3},
                                {Qt::Key_Right, Qt::NoModifier, 8},   {Qt::Key_Left, Qt::NoModifier, 7},
                                {Qt::Key_End, Qt::ControlModifier, 1}, {Qt::Key_PageUp, Qt::NoModifier, 2},
                                {Qt::Key_Home, Qt::ControlModifier, 1}, {Qt::Key_End, Qt::NoModifier, 1},
                                {Qt::Key_Home, Qt::NoModifier, 1}};
        for (const Move& move : moves) {
            for (int i = 0; i < move.presses; ++i) {
                QTest::keyClick(&Grid(), move.key, move.modifiers);
                QVERIFY2(CurrentCellVisible(), qPrintable(QStringLiteral("key %1 press %2").arg(move.key).arg(i)));
            }
        }
        // The scroll bars took the cell away: typing brings it back before the editor opens.
        Click(3, ColTxFreq);
        QTest::keyClick(&Text1(), Qt::Key_Escape);
        Grid().verticalScrollBar()->setValue(Grid().verticalScrollBar()->maximum());
        Grid().horizontalScrollBar()->setValue(Grid().horizontalScrollBar()->maximum());
        QVERIFY(!CurrentCellVisible());
        TypeIntoGrid(QStringLiteral("4"));
        QVERIFY(Text1().isVisible());
        QVERIFY(CurrentCellVisible());
        const QRect cell = Grid().visualRect(Grid().currentIndex());
        QCOMPARE(Text1().mapTo(window_.get(), QPoint(0, 0)), Grid().viewport()->mapTo(window_.get(), cell.topLeft()));
    }

    void thePickerWritesOnlyWhatIsPicked() {
        OpenCustom();
        // The list opens with the picker; moving through it and Escape write nothing.
        Click(2, ColPower);
        QVERIFY(List(5).isVisible());
        PressInList(5, Qt::Key_Up);
        PressInList(5, Qt::Key_Home);
        PressInList(5, Qt::Key_L);
        QCOMPARE(Cell(2, ColPower), QStringLiteral("High"));
        PressInList(5, Qt::Key_Escape);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(2, ColPower), QStringLiteral("High"));
        // Enter on the highlighted entry picks it.
        Click(2, ColPower);
        PressInList(5, Qt::Key_Up);
        PressInList(5, Qt::Key_Return);
        QCOMPARE(Cell(2, ColPower), QStringLiteral("Low"));
        QVERIFY(!Editors().AnyEditorVisible());
        // So does a click on an entry.
        Click(2, ColScrambler);
        QAbstractItemView& list = List(6);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(1, 0)).center());
        QCOMPARE(Cell(2, ColScrambler), QStringLiteral("On"));
        // Keys that reach the box itself select nothing: moves go to the grid, letters nowhere.
        Click(4, ColScan);
        for (Qt::Key key : {Qt::Key_N, Qt::Key_Y}) QTest::keyClick(&Combo(3), key);
        QCOMPARE(Cell(4, ColScan), QStringLiteral("Yes"));
        QTest::keyClick(&Combo(3), Qt::Key_Down);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(4, ColScan), QStringLiteral("Yes"));
        QCOMPARE(ChannelTableModel::TableRow(Grid().currentIndex()), 5);
        QVERIFY(Grid().hasFocus());
        // Sideways in the open list leaves it for the grid as well.
        Click(4, ColScan);
        PressInList(3, Qt::Key_Right);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Grid().currentIndex().column(), int(ColBand));
        QCOMPARE(Cell(4, ColScan), QStringLiteral("Yes"));
        // A wheel notch picks nothing: the open list takes it, a closed picker scrolls the grid.
        Click(4, ColCompander);
        auto turnWheel = [this] {
            const QPoint centre = Combo(7).rect().center();
            QWheelEvent wheel(centre, Combo(7).mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&Combo(7), &wheel);
        };
        turnWheel();
        QCOMPARE(Cell(4, ColCompander), QStringLiteral("Off"));
        List(7).window()->hide();  // the list gone without a word to the picker
        const int top = Grid().verticalScrollBar()->value();
        turnWheel();
        QVERIFY(Grid().verticalScrollBar()->value() > top);
        QVERIFY(!Editors().AnyEditorVisible());
        QCOMPARE(Cell(4, ColCompander), QStringLiteral("Off"));
    }

    void toneListsShowTwentyEntriesAroundTheCurrentOne() {
        Open(kEditionPmrLpd, kModeCustom, kEditionPmrLpd);
        Ws().channels.SetCell(3, ColDcs, Combo(2).itemText(150).toStdString());
        Click(3, ColDcs);
        QAbstractItemView& list = List(2);
        QVERIFY(list.isVisible());
        const int rowHeight = list.sizeHintForRow(0);
        QVERIFY(list.viewport()->height() <= 21 * rowHeight);
        QVERIFY(list.viewport()->height() >= 19 * rowHeight);
        QVERIFY(list.verticalScrollBar()->isVisible());
        QCOMPARE(list.currentIndex().row(), 150);
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.currentIndex())));
        PressInList(2, Qt::Key_Escape);
    }

    void theFrequencyEditorSelectsCentresAndClosesWithTheFocus() {
        OpenCustom();
        Click(1, ColRxFreq);
        QCOMPARE(Text1().selectedText(), QStringLiteral("446.006250"));
        QVERIFY(Text1().alignment() & Qt::AlignHCenter);
        QTest::keyClicks(&Text1(), QStringLiteral("433.2"));
        QCOMPARE(Text1().text(), QStringLiteral("433.2"));
        // Tab: the entry is taken as on leaving the cell and no editor stays behind.
        QTest::keyClick(&Text1(), Qt::Key_Tab);
        QTRY_VERIFY(!Text1().isVisible());
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("433.200000"));
        QVERIFY(Grid().hasFocus());
        // A message box taking the focus does not close it.
        Click(2, ColRxFreq);
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&Text1(), &away);
        QCoreApplication::processEvents();
        QVERIFY(Text1().isVisible());
        QTest::keyClicks(&Text1(), QStringLiteral("433.3"));
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Corvane PC Programmer"), QStringLiteral("x"),
                        QMessageBox::Ok, window_.get());
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        box.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&box));
        QCoreApplication::processEvents();
        QVERIFY(Text1().isVisible());
        box.hide();
        // Another window of the program (the group window) taking the focus:
        // the entry is stored as on leaving the cell, a refused one after its message.
        QWidget other;
        auto* otherBox = new QLineEdit(&other);
        other.show();
        other.activateWindow();
        otherBox->setFocus();
        QTRY_VERIFY(!Text1().isVisible());
        QCOMPARE(Cell(2, ColRxFreq), QStringLiteral("433.300000"));
        QCOMPARE(Cell(2, ColTxFreq), QStringLiteral("433.300000"));
        window_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window_.get()));
        QVERIFY(Grid().hasFocus());
        Click(3, ColRxFreq);
        QTest::keyClicks(&Text1(), QStringLiteral("500"));
        other.activateWindow();
        QTRY_VERIFY(!Text1().isVisible());
        QCOMPARE(messages_.Last(), QStringLiteral("Frequency: Range Error !!!"));
        QCOMPARE(Cell(3, ColRxFreq), QStringLiteral("446.031250"));
    }

    void programSelectionsAreNotPicks() {
        OpenCustom();
        Editors().SuppressComboClicks = -1;
        Click(2, ColScan);
        Pick(3, 0);
        QCOMPARE(Cell(2, ColScan), QStringLiteral("Yes"));
        Editors().SuppressComboClicks = 0;
    }
};

QTEST_MAIN(GridTest)
#include "grid_test.moc"
