#include "editor/CellEditors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTimer>

#include "editor/CellPicker.h"
#include "editor/ChannelTableModel.h"
#include "editor/FrequencyEdit.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/MessageSink.h"
#include "editor/UndoHistory.h"
#include "model/Frequency.h"

namespace corvane {

namespace {

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
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
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
    for (int number = 1; number <= kPickerCount; ++number) {
        CellPicker* picker = Picker(number);
        picker->clear();
        for (const std::string& entry : PickerEntries(number, ws_.edition)) picker->addItem(QString::fromStdString(entry));
        picker->setCurrentIndex(0);
    }
    dcsPickerEdition_ = ws_.edition;
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

void CellEditors::OnCellClicked() {
    const int row = CurrentRow();
    const int col = CurrentColumn();
    // The preselection must read the list the picker shows.
    if (col == ColDcs && dcsPickerEdition_ != ws_.edition) FillPickers();
    const CellEditorChoice choice = EditorForCell(ws_, row, col);
    if (choice.kind == CellEditorKind::Text) OpenTextEditor(0);
    if (choice.kind == CellEditorKind::Picker) OpenPicker(choice.picker, choice.index);
}

void CellEditors::OnKeyTyped(int code) {
    if (!TypingOpensTextEditor(ws_, CurrentRow(), CurrentColumn())) return;
    OpenTextEditor(code);
}

void CellEditors::OpenTextEditor(int code) {
    HidePickers();
    if (!BringCurrentCellIntoView()) return;
    text1_->setFont(grid_.font());
    text1_->setText(QString::fromStdString(TextEditorOpeningText(ws_, CurrentRow(), CurrentColumn(), code)));
    // The cell's text opens all selected (typing replaces it); a typed character with the caret after it.
    if (OpensOnCellText(code)) {
        text1_->selectAll();
    } else {
        text1_->end(false);
    }
    PlaceOverCurrentCell(*text1_, true);
    text1_->show();
    text1_->raise();
    text1_->setFocus();
    editCell_ = {CurrentRow(), CurrentColumn()};
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

void CellEditors::ShowRefusal(FrequencyCheck check) {
    if (check == FrequencyCheck::Ok || check == FrequencyCheck::Empty) return;
    text1_->clear();
    messages_.Beep();
    messages_.Show(&host_, ToQString(FrequencyCheckMessage(check)));
}

void CellEditors::Text1_Enter() {
    grid_.setFocus();
    editCell_ = {CurrentRow(), CurrentColumn()};
    const std::string text = text1_->text().toStdString();
    FrequencyCheck check = FrequencyCheck::Empty;
    {
        const UndoHistory::Step step(history_, EditStepName(editCell_.row, editCell_.col));
        check = CommitFrequencyOnEnter(ws_, editCell_, text);
    }
    ShowRefusal(check);
    text1_->hide();
}

void CellEditors::Text1_Escape() {
    text1_->hide();
    grid_.setFocus();
}

void CellEditors::CommitTextOnLeave() {
    const std::string text = text1_->text().toStdString();
    FrequencyCheck check = FrequencyCheck::Empty;
    {
        const UndoHistory::Step step(history_, EditStepName(editCell_.row, editCell_.col));
        check = CommitFrequencyOnLeave(ws_, editCell_, text);
    }
    ShowRefusal(check);
    text1_->hide();
}

void CellEditors::Text1_FocusLeft() {
    if (!text1_->isVisible() || text1_->hasFocus()) return;
    CommitTextOnLeave();
    // Tab moved the focus on inside this window: it belongs to the grid.
    const QWidget* now = QApplication::focusWidget();
    if (now == nullptr || now->window() == host_.window()) grid_.setFocus();
}

void CellEditors::OnFocusChanged(QWidget* now) {
    if (now == nullptr || !text1_->isVisible()) return;
    const QWidget* window = now->window();
    if (window == host_.window() || window->isModal() || window->windowType() == Qt::Popup) return;
    // Once the activation has settled; a refusal's box then opens over the window the user went to.
    QTimer::singleShot(0, this, [this] {
        if (!text1_->isVisible() || text1_->hasFocus()) return;
        CommitTextOnLeave();
        grid_.setFocus();  // where the focus is when the user comes back
    });
}

void CellEditors::OnCellLeft() {
    if (text1_->isVisible()) CommitTextOnLeave();
    HidePickers();
}

void CellEditors::OnScrolled() {
    text1_->hide();
    HidePickers();
}

void CellEditors::ComboClick(int number, int index) {
    if (SuppressComboClicks != 0) return;
    {
        // A picker belongs to its own column; anything else is a stale pick.
        const UndoHistory::Step step(history_, EditStepName(CurrentRow(), CurrentColumn()));
        if (!ApplyPick(ws_, CurrentRow(), CurrentColumn(), number, index)) {
            HidePickers();
            return;
        }
    }
    HidePickers();
    grid_.setFocus();
}

}  // namespace corvane
