#include "editor/CellEditors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>

#include "editor/CellPicker.h"
#include "editor/ChannelTableModel.h"
#include "editor/FrequencyEdit.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/MessageSink.h"
#include "editor/UndoHistory.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane {

namespace {

constexpr int kFirstPickerColumn = ColCtcss;  // Combo1 edits column 4, Combo7 column 10
constexpr int kLastControlKey = 32;           // codes 0..32 open the editor on the cell's text

struct PickerChoice {
    std::string_view first;  // index 0
    std::string_view second; // index 1
};

// Combo3..Combo7: the two entries in index order.
constexpr std::array<PickerChoice, 5> kTwoWayPickers{{
    {kNo, kYes},
    {kNarrow, kWide},
    {kLow, kHigh},
    {kOff, kOn},
    {kOff, kOn},
}};

int PickerNumberOf(int col) { return col - kFirstPickerColumn + 1; }
int ColumnOfPicker(int number) { return number + kFirstPickerColumn - 1; }

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CellEditors::CellEditors(Workspace& ws, MessageSink& messages, FrozenColumnTableView& grid, QWidget& host)
    : QObject(&host), ws_(ws), messages_(messages), grid_(grid), host_(host),
      text1_(new FrequencyEdit(&host)) {
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAlignment(Qt::AlignCenter);  // as the cells show their text
    text1_->hide();
    connect(text1_, &FrequencyEdit::enterPressed, this, &CellEditors::Text1_Enter);
    connect(text1_, &FrequencyEdit::escapePressed, this, &CellEditors::Text1_Escape);
    // After the focus change has settled: a click on another cell commits through LeaveCell first.
    connect(text1_, &FrequencyEdit::focusLeft, this, &CellEditors::Text1_FocusLeft, Qt::QueuedConnection);
    for (int number = 1; number <= kPickerCount; ++number) {
        auto* picker = new CellPicker(grid_, &host);
        picker->setObjectName(QStringLiteral("Combo%1").arg(number));
        picker->hide();
        connect(picker, &QComboBox::activated, this, [this, number](int index) { ComboClick(number, index); });
        connect(picker, &CellPicker::listClosed, this, &CellEditors::ClosePickerForGrid);
        connect(picker, &CellPicker::gridKeyPressed, this, &CellEditors::PassKeyToGrid);
        pickers_[number - 1] = picker;
    }
}

void CellEditors::FillPickers() {
    CellPicker* ctcss = Picker(1);
    ctcss->clear();
    for (const std::string& label : CtcssList()) ctcss->addItem(QString::fromStdString(label));
    CellPicker* dcs = Picker(2);
    dcs->clear();
    for (const std::string& label : DcsListFor(ws_.edition)) dcs->addItem(QString::fromStdString(label));
    dcsPickerEdition_ = ws_.edition;
    for (std::size_t i = 0; i < kTwoWayPickers.size(); ++i) {
        CellPicker* picker = pickers_[i + 2];
        picker->clear();
        picker->addItem(ToQString(kTwoWayPickers[i].first));
        picker->addItem(ToQString(kTwoWayPickers[i].second));
    }
    for (CellPicker* picker : pickers_) picker->setCurrentIndex(0);
}

bool CellEditors::AnyEditorVisible() const {
    if (text1_->isVisible()) return true;
    for (const CellPicker* picker : pickers_)
        if (picker->isVisible()) return true;
    return false;
}

void CellEditors::CloseCellEditors() {
    if (text1_->isVisible()) text1_->hide();
    HidePickers();
}

void CellEditors::HidePickers() {
    for (CellPicker* picker : pickers_) {
        if (!picker->isVisible()) continue;
        picker->hide();
        picker->hidePopup();
    }
}

void CellEditors::ClosePickerForGrid() {
    grid_.setFocus();  // first: a focused widget that hides passes the focus on by itself
    HidePickers();
}

void CellEditors::PassKeyToGrid(int key, Qt::KeyboardModifiers modifiers) {
    ClosePickerForGrid();
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&grid_, &press);
}

bool CellEditors::BringCurrentCellIntoView() {
    const QModelIndex current = grid_.currentIndex();
    if (!current.isValid()) return false;
    grid_.scrollTo(current);
    const QRect cell = grid_.visualRect(current);
    const int firstVisibleX = current.column() < grid_.FrozenColumnCount() ? 0 : grid_.FrozenWidth();
    return cell.isValid() && cell.left() >= firstVisibleX && cell.top() >= 0 &&
           cell.right() < grid_.viewport()->width() && cell.bottom() < grid_.viewport()->height();
}

int CellEditors::CurrentRow() const {
    const QModelIndex current = grid_.currentIndex();
    return current.isValid() ? ChannelTableModel::TableRow(current) : 0;
}

int CellEditors::CurrentColumn() const {
    const QModelIndex current = grid_.currentIndex();
    return current.isValid() ? current.column() : -1;
}

void CellEditors::MSHFlexGrid1_Click() {
    const int row = CurrentRow();
    const int col = CurrentColumn();
    if (row < 1) return;
    const std::string& cell = ws_.channels.GetCell(row, col);
    const bool custom = ws_.channelMode != kModeDefault;
    switch (col) {
    case ColRxFreq:
    case ColTxFreq:
        if (custom) OpenTextEditor(0);
        return;
    case ColCtcss:
        OpenPicker(PickerNumberOf(col), CtcssCode(cell));
        return;
    case ColDcs:
        // The preselection must read the list the picker shows.
        if (dcsPickerEdition_ != ws_.edition) FillPickers();
        OpenPicker(PickerNumberOf(col), DcsCode(cell, ws_.edition));
        return;
    case ColBand:
        if (custom) OpenPicker(PickerNumberOf(col), cell == kWide ? 1 : 0);
        return;
    case ColScan:
    case ColPower:
    case ColScrambler:
    case ColCompander:
        OpenPicker(PickerNumberOf(col), cell == kTwoWayPickers[static_cast<std::size_t>(col - ColScan)].second ? 1 : 0);
        return;
    default:
        return;
    }
}

void CellEditors::MSHFlexGrid1_KeyPress(int code) {
    const int col = CurrentColumn();
    if (ws_.channelMode == kModeDefault || (col != ColRxFreq && col != ColTxFreq) || CurrentRow() < 1) return;
    OpenTextEditor(code);
}

void CellEditors::OpenTextEditor(int code) {
    HidePickers();
    if (!BringCurrentCellIntoView()) return;
    text1_->setFont(grid_.font());
    if (code >= 0 && code <= kLastControlKey) {
        // The cell's text, all of it selected: typing replaces it.
        text1_->setText(QString::fromStdString(ws_.channels.GetCell(CurrentRow(), CurrentColumn())));
        text1_->selectAll();
    } else {
        text1_->setText(QString(QChar(code)));
        text1_->end(false);
    }
    PlaceOverCurrentCell(*text1_, true);
    text1_->show();
    text1_->raise();
    text1_->setFocus();
    ws_.editCell = {CurrentRow(), CurrentColumn()};
}

void CellEditors::OpenPicker(int number, int index) {
    if (text1_->isVisible()) text1_->hide();
    HidePickers();
    if (!BringCurrentCellIntoView()) return;
    CellPicker* picker = Picker(number);
    picker->setCurrentIndex(index);
    PlaceOverCurrentCell(*picker, false);
    picker->show();
    picker->raise();
    picker->setFocus();
    picker->showPopup();
}

void CellEditors::PlaceOverCurrentCell(QWidget& editor, bool takeCellHeight) {
    const QRect cell = grid_.visualRect(grid_.currentIndex());
    const QPoint topLeft = grid_.viewport()->mapTo(&host_, cell.topLeft());
    const int height = takeCellHeight ? cell.height() : editor.sizeHint().height();
    editor.setGeometry(topLeft.x(), topLeft.y(), cell.width(), height);
}

void CellEditors::CheckFrequencyEntry() {
    const FrequencyCheck check = corvane::CheckFrequencyEntry(text1_->text().toStdString());
    if (check == FrequencyCheck::Ok || check == FrequencyCheck::Empty) return;
    text1_->clear();
    messages_.Beep();
    messages_.Show(&host_, ToQString(FrequencyCheckMessage(check)));
}

void CellEditors::StoreFrequency(double mhz) {
    const int row = ws_.editCell.row;
    if (ws_.editCell.col == ColRxFreq) {
        ws_.channels.SetFrequencyCell(mhz, row, ColRxFreq);
        ws_.channels.SetFrequencyCell(mhz, row, ColTxFreq);
    } else if (ws_.editCell.col == ColTxFreq) {
        ws_.channels.SetFrequencyCell(mhz, row, ColTxFreq);
    }
}

void CellEditors::Text1_Enter() {
    grid_.setFocus();
    ws_.editCell = {CurrentRow(), CurrentColumn()};
    CheckFrequencyEntry();
    const UndoHistory::Step step(history_, EditStepName(ws_.editCell.row, ws_.editCell.col));
    const bool frequencyCell = ws_.editCell.col == ColRxFreq || ws_.editCell.col == ColTxFreq;
    if (text1_->text().isEmpty()) {
        if (frequencyCell) ws_.channels.SetCell(ws_.editCell.row, ws_.editCell.col, std::string());
    } else {
        StoreFrequency(LenientNumber(text1_->text().toStdString()));
    }
    text1_->hide();
}

void CellEditors::Text1_Escape() {
    text1_->hide();
    grid_.setFocus();
}

void CellEditors::CommitTextOnLeave() {
    CheckFrequencyEntry();
    if (!text1_->text().isEmpty()) {
        const UndoHistory::Step step(history_, EditStepName(ws_.editCell.row, ws_.editCell.col));
        StoreFrequency(LenientNumber(text1_->text().toStdString()));
    }
    text1_->hide();
}

void CellEditors::Text1_FocusLeft() {
    if (!text1_->isVisible() || text1_->hasFocus()) return;
    CommitTextOnLeave();
    // Tab moved the focus on inside this window: it belongs to the grid.
    const QWidget* now = QApplication::focusWidget();
    if (now == nullptr || now->window() == host_.window()) grid_.setFocus();
}

void CellEditors::MSHFlexGrid1_LeaveCell() {
    if (text1_->isVisible()) CommitTextOnLeave();
    HidePickers();
}

void CellEditors::MSHFlexGrid1_Scroll() {
    text1_->hide();
    HidePickers();
}

void CellEditors::ComboClick(int number, int index) {
    if (SuppressComboClicks != 0) return;
    const int row = CurrentRow();
    const int col = CurrentColumn();
    // A picker belongs to its own column; anything else is a stale pick.
    if (row < 1 || col != ColumnOfPicker(number)) {
        HidePickers();
        return;
    }
    const std::string label = Picker(number)->itemText(index).toStdString();
    const UndoHistory::Step step(history_, EditStepName(row, col));
    if (col == ColCtcss) ws_.channels.SetCell(row, ColDcs, std::string(kDcsOff));
    if (col == ColDcs) ws_.channels.SetCell(row, ColCtcss, std::string(kCtcssOff));
    ws_.channels.SetCell(row, col, label);
    HidePickers();
    grid_.setFocus();
}

}  // namespace corvane
