#include "forms/SettingsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "editor/UndoHistory.h"
#include "forms/FormHelpers.h"
#include "model/SetupForm.h"
#include "store/ConfigFiles.h"

namespace corvane {

using forms::AddItems;
using forms::SetPinnedOnTop;
using forms::SelectStoredIndex;
using forms::ToQString;
using forms::ToStdString;

namespace {

bool IsTicked(const QCheckBox* box) { return box->checkState() == Qt::Checked; }

}  // namespace

SettingsWindow::SettingsWindow(Workspace& ws, MessageFn showMessage, QWidget* frameToShowOnClose, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws), showMessage_(std::move(showMessage)), frame_(frameToShowOnClose) {
    setObjectName("frmSetup");
    setWindowTitle(ToQString(kSetupCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    NoAllwaysOnTop();
    FillLists();
    ShowSettings();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::AllwaysOntop() { SetPinnedOnTop(this, true); }
void SettingsWindow::NoAllwaysOnTop() { SetPinnedOnTop(this, false); }

void SettingsWindow::ReportIfFailed(const std::string& message) {
    if (!message.empty() && showMessage_) showMessage_(ToQString(message));
}

void SettingsWindow::FillLists() {
    for (int i = 0; i < kListCount; ++i) {
        lists_[i]->clear();
        AddItems(lists_[i], SetupLists()[i].items());
    }
    // The constructor shows the record right after (ShowSettings).
    ClampSettingsForDisplay(ws_.settings);
}

void SettingsWindow::ShowSettings() {
    if (ShowSetupForm(ws_, form_)) ReportIfFailed(SaveConfigFile(ws_).message());
    ShowForm();
}

void SettingsWindow::ShowForm() {
    for (int i = 0; i < kFunctionBoxCount; ++i) {
        functionBoxes_[i]->setText(ToQString(FunctionBoxCaption(i)));
        functionBoxes_[i]->setChecked(form_.boxes[i]);
    }
    functionBoxes_[kPowerControlBox]->setEnabled(form_.powerControlEnabled);
    if (form_.bandOption >= 0 && form_.bandOption < kBandOptionCount) bandOptions_[form_.bandOption]->setChecked(true);
    for (QRadioButton* option : bandOptions_) option->setEnabled(form_.bandEnabled);
    bandFrame_->setEnabled(form_.bandEnabled);
    for (int i = 0; i < kListCount; ++i) SelectStoredIndex(lists_[i], form_.lists[i]);
    dtmfId_->setText(ToQString(form_.dtmfId));
    nameId_->setText(ToQString(form_.nameId));
    priLabel_->setEnabled(form_.priChannelEnabled);
    priChannel_->setEnabled(form_.priChannelEnabled);
    priChannel_->setText(ToQString(form_.priChannel));
}

void SettingsWindow::ReadForm() {
    for (int i = 0; i < kListCount; ++i) form_.lists[i] = lists_[i]->currentIndex();
    for (int i = 0; i < kFunctionBoxCount; ++i) form_.boxes[i] = IsTicked(functionBoxes_[i]);
    form_.bandOption = -1;
    for (int band = 0; band < kBandOptionCount; ++band)
        if (bandOptions_[band]->isChecked()) form_.bandOption = band;
    form_.dtmfId = ToStdString(dtmfId_->text());
    form_.nameId = ToStdString(nameId_->text());
    form_.priChannel = ToStdString(priChannel_->text());
}

int SettingsWindow::StoreSettings() {
    ReadForm();
    const SetupOkOutcome outcome = PressSetupOk(ws_, form_);
    return outcome == SetupOkOutcome::Stored ? 0 : 1;
}

void SettingsWindow::OnOkClicked() {
    const UndoHistory::Step step(history_, kStepSetUp);
    if (StoreSettings() == 0) {
        ReportIfFailed(SaveConfigFile(ws_).message());
        close();
        return;
    }
    for (int i = kListKeyP1; i <= kListKeyP4; ++i) SelectStoredIndex(lists_[i], form_.lists[i]);
    if (showMessage_) showMessage_(ToQString(kKeyDefineErrorText));
}

void SettingsWindow::OnResetClicked() {
    const UndoHistory::Step step(history_, kStepSetUp);
    ReadForm();
    PressSetupReset(ws_, form_);
    ReportIfFailed(SaveConfigFile(ws_).message());
    ShowForm();
}

void SettingsWindow::OnExitClicked() { close(); }

void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (frame_) frame_->hide();
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        const UndoHistory::Step step(history_, kStepSetUp);
        ApplyBandSelect();
        if (frame_) frame_->show();
    }
    event->accept();
}

void SettingsWindow::ApplyBandSelect() { corvane::ApplyBandSelect(ws_); }

}  // namespace corvane
