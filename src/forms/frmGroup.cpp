#include "forms/frmGroup.h"

#include <QApplication>
#include <algorithm>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include "editor/UndoHistory.h"
#include "forms/FormHelpers.h"
#include "forms/GroupTexts.h"
#include "model/ChannelDefaults.h"
#include "model/Generation.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"
#include "store/ConfigFiles.h"

namespace corvane {

using namespace forms;

namespace {

// The checked option of a list of buttons, -1 when none is.
template <std::size_t N>
int16_t CheckedIndex(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) return static_cast<int16_t>(i);
    return kNoSelection;
}

int16_t CheckedOf(const QRadioButton* first, const QRadioButton* second) {
    if (first->isChecked()) return 0;
    if (second->isChecked()) return 1;
    return kNoSelection;
}

int BoxNumber(const QLineEdit* box) { return EntryNumber(ToStdString(box->text())); }

}  // namespace

frmGroup::frmGroup(Workspace& ws, MessageFn showMessage, QWidget* parent, std::function<void()> refreshLinkStatus)
    : QWidget(parent, Qt::Window),
      ws_(ws),
      showMessage_(std::move(showMessage)),
      refreshLinkStatus_(std::move(refreshLinkStatus)) {
    setObjectName("frmGroup");
    setWindowTitle(kGroupCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    AllwaysOntop();
    const Status loaded = LoadGroupFile(ws_);
    if (!loaded.ok()) Message(loaded.message().c_str());
    // Filling the boxes is not typing: no typing check may fire while loading.
    loading_ = true;
    ShowGroupWindow();
    ZeroGroupBoxesIfNew();
    loading_ = false;
}

void frmGroup::AllwaysOntop() { SetPinnedOnTop(this, true); }
void frmGroup::NoAllwaysOnTop() { SetPinnedOnTop(this, false); }

void frmGroup::Message(const char* text) {
    if (showMessage_) showMessage_(QString::fromUtf8(text));
}

void frmGroup::SaveGroups() {
    const Status saved = SaveGroupFile(ws_);
    if (!saved.ok()) Message(saved.message().c_str());
}

void frmGroup::ApplyFrequencySetDefaults() {
    GroupTable& g = ws_.groups;
    g.FreqSetTarget = kTargetRxTx;
    g.FreqSetStartChannel.clear();
    g.FreqSetLastChannel.clear();
    g.FreqSetStartFrequency.clear();
    g.FreqSetDirection = kIncrement;
    g.FreqSetBand = kBandNarrow;
    g.FreqSetScan = 1;
    g.FreqSetStepIndex = 0;
}

void frmGroup::ShowFrequencySetControls() {
    freqStart_->clear();
    freqLast_->clear();
    frequency_->clear();
    freqUp_->setChecked(true);
    narrow_->setChecked(true);
    scan_->setChecked(true);
    step_->setCurrentIndex(0);
}

void frmGroup::ResetFrequencySet() {
    ApplyFrequencySetDefaults();
    if (ws_.edition == kEditionPmrLpd) {
        target_[ws_.groups.FreqSetTarget]->setChecked(true);
    } else {
        for (QRadioButton* option : target_) option->setEnabled(false);
        groupFrame_->setEnabled(false);
    }
    ShowFrequencySetControls();
}

void frmGroup::StoreGroupSizes() {
    GroupTable& g = ws_.groups;
    int total = 0;
    for (int i = 0; i < kGroupCount; ++i) {
        // A negative size would wrap around in the byte; it counts as none.
        const int size = std::clamp(BoxNumber(groupBoxes_[i]), 0, kMaxGroupSize);
        g.GroupSize[i] = static_cast<uint8_t>(size);
        total += size;
    }
    if (total > kMaxGroupTotal) {
        ClearGroupSizes(g);
        ShowGroupSizes();
        Message(kNoRemainedChannels);
        g.GroupsEnabled = 0;
        return;
    }
    g.GroupsEnabled = static_cast<uint8_t>(total);
}

void frmGroup::GenerateTones() {
    GroupTable& g = ws_.groups;
    const int code = BoxNumber(toneCode_);
    const int first = BoxNumber(toneStart_);
    const int last = BoxNumber(toneLast_);
    if (!ToneRunAllowed(code, first, last)) {
        ClearToneSet();
        return;
    }
    g.ToneSetStartCode = ToStdString(toneCode_->text());
    g.ToneSetStartChannel = ToStdString(toneStart_->text());
    g.ToneSetLastChannel = ToStdString(toneLast_->text());
    g.ToneSetStepIndex = static_cast<int16_t>(ListPosition(toneStep_));

    ToneRun run;
    run.kind = CheckedOf(ctcss_, dcs_);
    if (run.kind == kNoSelection) return;
    run.startCode = code;
    run.startChannel = first;
    run.lastChannel = last;
    run.step = ToneStep(g.ToneSetStepIndex);
    run.direction = CheckedOf(toneUp_, toneDown_);
    g.ToneSetKind = run.kind;
    if (run.direction != kNoSelection) g.ToneSetDirection = run.direction;
    WriteToneRun(run, ws_.edition, ws_.channels);
    SaveGroups();
}

void frmGroup::ResetGroupSizes() {
    ClearGroupSizes(ws_.groups);
    ShowGroupSizes();
    SaveGroups();
}

void frmGroup::ResetToneSet() {
    if (refreshLinkStatus_) refreshLinkStatus_();
    ctcss_->setChecked(true);
    toneUp_->setChecked(true);
    DefaultToneSet();
}

void frmGroup::ClearToneSet() {
    // The option buttons keep their selection here.
    DefaultToneSet();
    toneCode_->setFocus();
}

void frmGroup::DefaultToneSet() {
    GroupTable& g = ws_.groups;
    g.ToneSetKind = kToneCtcss;
    g.ToneSetDirection = kIncrement;
    g.ToneSetStepIndex = 0;
    g.ToneSetStartCode.clear();
    g.ToneSetStartChannel.clear();
    g.ToneSetLastChannel.clear();
    toneStart_->clear();
    toneLast_->clear();
    toneCode_->clear();
    toneStep_->setCurrentIndex(0);
}

void frmGroup::ZeroGroupBoxesIfNew() {
    if (!ws_.groups.FreqSetStartChannel.empty()) return;
    for (QLineEdit* box : groupBoxes_) box->setText("0");
}

void frmGroup::ShowGroupSizes() {
    for (int i = 0; i < kGroupCount; ++i) groupBoxes_[i]->setText(QString::number(ws_.groups.GroupSize[i]));
}

void frmGroup::ShowFrequencySet() {
    const GroupTable& g = ws_.groups;
    for (std::size_t i = 0; i < target_.size(); ++i) target_[i]->setText(kTargetCaptions[i]);
    freqUp_->setText("Increment");
    freqDown_->setText("Decrement");
    narrow_->setText(kNarrowCaption);
    wide_->setText("Wide");
    scan_->setText("Scan");
    freqStart_->setText(ToQString(g.FreqSetStartChannel));
    freqLast_->setText(ToQString(g.FreqSetLastChannel));
    frequency_->setText(ToQString(g.FreqSetStartFrequency));
    step_->clear();
    for (const char* item : kFrequencySteps) step_->addItem(item);
    SelectStoredIndex(step_, g.FreqSetStepIndex);
    if (g.FreqSetTarget >= kTargetRx && g.FreqSetTarget <= kTargetRxTx) target_[g.FreqSetTarget]->setChecked(true);
    if (g.FreqSetDirection == kIncrement) freqUp_->setChecked(true);
    if (g.FreqSetDirection == kDecrement) freqDown_->setChecked(true);
    scan_->setChecked(g.FreqSetScan == 1);
    if (g.FreqSetBand == kBandNarrow) narrow_->setChecked(true);
    if (g.FreqSetBand == kBandWide) wide_->setChecked(true);
}

void frmGroup::ShowToneSet() {
    const GroupTable& g = ws_.groups;
    toneUp_->setText("Increment");
    toneDown_->setText("Decrement");
    if (g.ToneSetKind == kToneCtcss) ctcss_->setChecked(true);
    if (g.ToneSetKind == kToneDcs) dcs_->setChecked(true);
    if (g.ToneSetDirection == kIncrement) toneUp_->setChecked(true);
    if (g.ToneSetDirection == kDecrement) toneDown_->setChecked(true);
    toneCode_->setText(ToQString(g.ToneSetStartCode));
    toneStart_->setText(ToQString(g.ToneSetStartChannel));
    toneLast_->setText(ToQString(g.ToneSetLastChannel));
    toneStep_->clear();
    for (const char* item : kToneSteps) toneStep_->addItem(item);
    SelectStoredIndex(toneStep_, g.ToneSetStepIndex);
}

void frmGroup::ShowGroupWindow() {
    ShowGroupSizes();
    ShowFrequencySet();
    ShowToneSet();
}

void frmGroup::StoreInputTexts() {
    GroupTable& g = ws_.groups;
    g.FreqSetStartChannel = ToStdString(freqStart_->text());
    g.FreqSetLastChannel = ToStdString(freqLast_->text());
    g.FreqSetStartFrequency = ToStdString(frequency_->text());
    g.FreqSetStepIndex = static_cast<int16_t>(ListPosition(step_));
    g.ToneSetStartCode = ToStdString(toneCode_->text());
    g.ToneSetStartChannel = ToStdString(toneStart_->text());
    g.ToneSetLastChannel = ToStdString(toneLast_->text());
    g.ToneSetStepIndex = static_cast<int16_t>(ListPosition(toneStep_));
}

void frmGroup::Command2_Click() {
    const UndoHistory::Step step(history_, kStepAutoGeneration);
    GroupTable& g = ws_.groups;
    StoreGroupSizes();
    const int first = BoxNumber(freqStart_);
    const int last = BoxNumber(freqLast_);
    if (!GroupsFitRange(g.GroupsEnabled, first, last)) {
        StoreInputTexts();
        ClearGroupSizes(g);
        SaveGroups();
        ShowGroupSizes();
        Message(kGroupLengthError);
        return;
    }
    FillGroupColumn(g, ws_.channels);
    SaveGroups();

    const std::string frequencyText = ToStdString(frequency_->text());
    switch (CheckFrequencyRun(first, last, frequencyText)) {
        case FrequencyRunCheck::BadChannelRange:
        case FrequencyRunCheck::NoFrequency: ResetFrequencySet(); return;
        case FrequencyRunCheck::OutOfRange:
        case FrequencyRunCheck::OffRaster: frequency_->clear(); return;
        case FrequencyRunCheck::Ok: break;
    }

    g.FreqSetStartChannel = ToStdString(freqStart_->text());
    g.FreqSetLastChannel = ToStdString(freqLast_->text());
    g.FreqSetStartFrequency = frequencyText;
    g.FreqSetStepIndex = static_cast<int16_t>(ListPosition(step_));

    FrequencyRun run;
    run.startChannel = first;
    run.lastChannel = last;
    run.startHz = FrequencyInputHertz(frequencyText);
    run.stepHz = FrequencyStepHz(g.FreqSetStepIndex);
    run.direction = freqUp_->isChecked() ? kIncrement : kDecrement;
    run.target = CheckedIndex(target_);
    run.band = CheckedOf(narrow_, wide_);
    run.scan = scan_->isChecked();
    g.FreqSetDirection = run.direction;
    if (run.target != kNoSelection) g.FreqSetTarget = run.target;
    if (run.band != kNoSelection) g.FreqSetBand = run.band;
    g.FreqSetScan = run.scan ? 1 : 0;
    WriteFrequencyRun(run, ws_.channels);

    switch (CheckToneRange(first, last, BoxNumber(toneCode_), BoxNumber(toneStart_), BoxNumber(toneLast_))) {
        case ToneRangeCheck::StartsBefore: toneStart_->clear(); Message(kToneLengthError); return;
        case ToneRangeCheck::EndsAfter: toneLast_->clear(); Message(kToneLengthError); return;
        case ToneRangeCheck::Ok: break;
    }
    GenerateTones();
    SaveGroups();
}

void frmGroup::Command5_Click() {
    const UndoHistory::Step step(history_, kStepGroupReset);
    ResetGroupSizes();
    ResetToneSet();
    ApplyFrequencySetDefaults();
    target_[kTargetRxTx]->setChecked(true);
    ShowFrequencySetControls();
    SaveGroups();
    FillDefaults(ws_);
}

void frmGroup::Command1_Click() { close(); }

void frmGroup::Option1_Click() {
    if (BoxNumber(toneCode_) > kCtcssCodeCount - 1) toneCode_->clear();
}

void frmGroup::CheckChannelBox(QLineEdit* box) {
    if (loading_ || IsChannelEntryAcceptable(ToStdString(box->text()))) return;
    box->clear();
    Message(kChannelTypingError);
}

void frmGroup::Text1_Change() { CheckChannelBox(freqStart_); }
void frmGroup::Text5_Change() { CheckChannelBox(freqLast_); }
void frmGroup::Text3_Change() { CheckChannelBox(toneStart_); }
void frmGroup::Text4_Change() { CheckChannelBox(toneLast_); }

void frmGroup::Text2_Change() {
    if (loading_) return;
    if (IsToneCodeEntryAcceptable(ToStdString(toneCode_->text()), ctcss_->isChecked(), dcs_->isChecked())) return;
    toneCode_->clear();
    Message(kToneTypingError);
}

void frmGroup::Text6_KeyDown() {
    switch (CheckFrequencyInput(ToStdString(frequency_->text()))) {
        case FrequencyEntryCheck::OutOfRange: frequency_->clear(); break;
        case FrequencyEntryCheck::OffRaster:
            frequency_->clear();
            QApplication::beep();
            Message(kDivideError);
            break;
        case FrequencyEntryCheck::Empty:
        case FrequencyEntryCheck::Ok: break;
    }
}

bool frmGroup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frequency_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) Text6_KeyDown();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
