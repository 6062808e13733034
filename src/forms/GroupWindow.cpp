#include "forms/GroupWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editor/UndoHistory.h"
#include "forms/FormHelpers.h"
#include "store/ConfigFiles.h"

namespace corvane {

using forms::SetPinnedOnTop;
using forms::ToQString;
using forms::ToStdString;

namespace {

// The checked option of a list of buttons, -1 when none is.
template <std::size_t N>
int CheckedIndex(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

// An exclusive group cannot show "none"; -1 leaves the buttons as they are.
template <std::size_t N>
void Check(const std::array<QRadioButton*, N>& options, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < N) options[index]->setChecked(true);
}

// Only a changed text is set: setting one moves the cursor of the box being typed in.
void ShowText(QLineEdit* box, const std::string& text) {
    const QString shown = ToQString(text);
    if (box->text() != shown) box->setText(shown);
}

void ShowListText(QComboBox* list, const std::string& text) {
    if (list->currentText() == ToQString(text)) return;
    const int position = list->findText(ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(position);
    if (position < 0) list->setEditText(ToQString(text));
}

}  // namespace

GroupWindow::GroupWindow(Workspace& ws, MessageFn showMessage, QWidget* parent, std::function<void()> refreshLinkStatus)
    : QWidget(parent, Qt::Window),
      ws_(ws),
      showMessage_(std::move(showMessage)),
      refreshLinkStatus_(std::move(refreshLinkStatus)),
      form_(ws, *this) {
    setObjectName("frmGroup");
    setWindowTitle(ToQString(kGroupCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    AllwaysOntop();
    // A damaged Group.txt is said as at the start: what was wrong, where the copy is.
    const Result<std::string> loaded = LoadGroupFileAndTell(ws_);
    const std::string said = loaded ? loaded.value() : loaded.message();
    if (!said.empty() && showMessage_) showMessage_(ToQString(said));
    form_.Open();
    ShowForm();
}

void GroupWindow::AllwaysOntop() { SetPinnedOnTop(this, true); }
void GroupWindow::NoAllwaysOnTop() { SetPinnedOnTop(this, false); }

void GroupWindow::ShowForm() {
    const GroupFormValues& v = form_.Values();
    showing_ = true;
    ShowText(freqStart_, v.freqStart);
    ShowText(freqLast_, v.freqLast);
    ShowText(frequency_, v.frequency);
    Check(target_, v.target);
    for (QRadioButton* option : target_) option->setEnabled(v.targetsEnabled);
    Check(freqDirection_, v.freqDirection);
    Check(band_, v.band);
    scan_->setChecked(v.scan);
    ShowListText(step_, v.step);
    Check(toneKind_, v.toneKind);
    ShowText(toneStart_, v.toneStart);
    ShowText(toneLast_, v.toneLast);
    ShowText(toneCode_, v.toneCode);
    ShowListText(toneStep_, v.toneStep);
    Check(toneDirection_, v.toneDirection);
    for (int i = 0; i < kGroupCount; ++i) ShowText(groupBoxes_[i], v.groups[i]);
    groupFrame_->setEnabled(v.groupSetEnabled);
    showing_ = false;
}

void GroupWindow::ReadForm() {
    GroupFormValues& v = form_.Values();
    v.freqStart = ToStdString(freqStart_->text());
    v.freqLast = ToStdString(freqLast_->text());
    v.frequency = ToStdString(frequency_->text());
    v.target = CheckedIndex(target_);
    v.freqDirection = CheckedIndex(freqDirection_);
    v.band = CheckedIndex(band_);
    v.scan = scan_->isChecked();
    v.step = ToStdString(step_->currentText());
    v.toneKind = CheckedIndex(toneKind_);
    v.toneStart = ToStdString(toneStart_->text());
    v.toneLast = ToStdString(toneLast_->text());
    v.toneCode = ToStdString(toneCode_->text());
    v.toneStep = ToStdString(toneStep_->currentText());
    v.toneDirection = CheckedIndex(toneDirection_);
    for (int i = 0; i < kGroupCount; ++i) v.groups[i] = ToStdString(groupBoxes_[i]->text());
}

template <typename Rule>
void GroupWindow::Run(Rule rule) {
    if (showing_) return;
    ReadForm();
    rule();
    ShowForm();
}

void GroupWindow::SaveGroupFile() {
    const Status saved = corvane::SaveGroupFile(ws_);
    if (!saved.ok() && showMessage_) showMessage_(ToQString(saved.message()));
}

void GroupWindow::Message(std::string_view text, const GroupFormValues&) {
    // The controls show the state the message belongs to.
    ShowForm();
    if (showMessage_) showMessage_(ToQString(text));
}

void GroupWindow::Beep() { QApplication::beep(); }

void GroupWindow::RefreshLinkStatus() {
    if (refreshLinkStatus_) refreshLinkStatus_();
}

void GroupWindow::FocusToneCode() { toneCode_->setFocus(); }

void GroupWindow::SetPortInUse(bool inUse) {
    portInUse_ = inUse;
    auto_->setEnabled(!inUse);
    reset_->setEnabled(!inUse);
}

void GroupWindow::OnAutoClicked() {
    if (portInUse_) return;
    const UndoHistory::Step step(history_, kStepAutoGeneration);
    Run([this] { form_.PressAuto(); });
}

void GroupWindow::OnResetClicked() {
    if (portInUse_) return;
    const UndoHistory::Step step(history_, kStepGroupReset);
    Run([this] { form_.PressReset(); });
}

void GroupWindow::OnExitClicked() { close(); }

void GroupWindow::OnCtcssChosen() {
    Run([this] { form_.CtcssChosen(); });
}

void GroupWindow::CheckChannelBox(std::string GroupFormValues::*box) {
    Run([this, box] { form_.ChannelBoxChanged(box); });
}

void GroupWindow::OnFreqStartChanged() { CheckChannelBox(&GroupFormValues::freqStart); }
void GroupWindow::OnFreqLastChanged() { CheckChannelBox(&GroupFormValues::freqLast); }
void GroupWindow::OnToneStartChanged() { CheckChannelBox(&GroupFormValues::toneStart); }
void GroupWindow::OnToneLastChanged() { CheckChannelBox(&GroupFormValues::toneLast); }

void GroupWindow::OnToneCodeChanged() {
    Run([this] { form_.ToneCodeChanged(); });
}

void GroupWindow::OnFrequencyEntered() {
    Run([this] { form_.FrequencyKey(); });
}

bool GroupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frequency_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) OnFrequencyEntered();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
