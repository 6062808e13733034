#include "forms/frmSetup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "editor/UndoHistory.h"
#include "forms/FormHelpers.h"
#include "forms/SetupLists.h"
#include "model/NumberParse.h"
#include "store/ConfigFiles.h"

namespace corvane {

using namespace forms;

namespace {

constexpr int kPmrChannels = 8;
constexpr int kLpdChannels = 69;
constexpr int kPmrLpdChannels = 77;
constexpr const char* kPriChannelEmpty = "0";

bool IsTicked(const QCheckBox* box) { return box->checkState() == Qt::Checked; }

}  // namespace

frmSetup::frmSetup(Workspace& ws, MessageFn showMessage, QWidget* frameToShowOnClose, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws), showMessage_(std::move(showMessage)), frame_(frameToShowOnClose) {
    setObjectName("frmSetup");
    setWindowTitle("Corvane PC Programmer Setup");
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    NoAllwaysOnTop();
    FillLists();
    ShowSettings();
}

frmSetup::~frmSetup() = default;

void frmSetup::AllwaysOntop() { SetPinnedOnTop(this, true); }
void frmSetup::NoAllwaysOnTop() { SetPinnedOnTop(this, false); }

void frmSetup::ReportIfFailed(const std::string& message) {
    if (!message.empty() && showMessage_) showMessage_(ToQString(message));
}

void frmSetup::FillLists() {
    ClampSettingsForDisplay(ws_.settings);
    for (int i = 0; i < kListCount; ++i) {
        lists_[i]->clear();
        AddItems(lists_[i], SetupLists()[i].items());
    }
    SelectStoredItems();
    dtmfId_->setText(ToQString(ws_.settings.DtmfId));
    nameId_->setText(ToQString(ws_.settings.NameId));
    priChannel_->clear();
}

void frmSetup::SelectStoredItems() {
    for (int i = 0; i < kListCount; ++i) SelectStoredIndex(lists_[i], ws_.settings.*SetupLists()[i].field);
}

void frmSetup::ShowSettings() {
    const auto flags1 = FunctionFlags1Captions();
    const auto flags2 = FunctionFlags2Captions();
    for (int i = 0; i < kFlags1BoxCount; ++i) functionBoxes_[i]->setText(ToQString(flags1[i]));
    for (int i = 0; i < kFlags2BoxCount; ++i) functionBoxes_[kFlags1BoxCount + i]->setText(ToQString(flags2[i]));
    functionBoxes_[kPowerControlBox]->setText(ToQString(kPowerControlCaption));

    for (int i = 0; i < kFlags1BoxCount; ++i) functionBoxes_[i]->setChecked((ws_.settings.FunctionFlags1 >> i) & 1);
    for (int i = 0; i < kFlags2BoxCount; ++i)
        functionBoxes_[kFlags1BoxCount + i]->setChecked((ws_.settings.FunctionFlags2 >> i) & 1);

    ShowBandSelect();
    SelectStoredItems();
    dtmfId_->setText(ToQString(ws_.settings.DtmfId));
    nameId_->setText(ToQString(ws_.settings.NameId));
    priLabel_->setEnabled(false);
    priChannel_->setEnabled(false);
    priChannel_->clear();

    QCheckBox* power = functionBoxes_[kPowerControlBox];
    if (ws_.edition == kEditionKorea) {
        power->setChecked(false);
        power->setEnabled(false);
    } else {
        power->setEnabled(true);
        power->setChecked(ws_.settings.PowerControl != 0);
    }
}

void frmSetup::ShowBandSelect() {
    if (ws_.edition == kEditionPmrLpd && ws_.channelMode == kModeDefault) {
        const int band = ws_.settings.BandSelect;
        if (band >= kBandPmr && band <= kBandPmrLpd) bandOptions_[band]->setChecked(true);
        bandFrame_->setEnabled(true);
        for (QRadioButton* option : bandOptions_) option->setEnabled(true);
        return;
    }
    for (QRadioButton* option : bandOptions_) option->setEnabled(false);
    bandFrame_->setEnabled(false);
    ws_.settings.BandSelect = kBandPmrLpd;
    ReportIfFailed(SaveConfigFile(ws_).message());
}

int frmSetup::StoreSettings() {
    SettingsRecord& s = ws_.settings;
    for (int i = 0; i < kListCount; ++i) {
        // A stored index the list cannot show stays as it is until the user picks.
        const int position = lists_[i]->currentIndex();
        if (position >= 0) s.*SetupLists()[i].field = static_cast<uint8_t>(position);
    }
    uint8_t flags1 = 0;
    for (int i = 0; i < kFlags1BoxCount; ++i)
        if (IsTicked(functionBoxes_[i])) flags1 |= static_cast<uint8_t>(1u << i);
    uint8_t flags2 = 0;
    for (int i = 0; i < kFlags2BoxCount; ++i)
        if (IsTicked(functionBoxes_[kFlags1BoxCount + i])) flags2 |= static_cast<uint8_t>(1u << i);
    s.FunctionFlags1 = flags1;
    s.FunctionFlags2 = flags2;
    s.PowerControl = IsTicked(functionBoxes_[kPowerControlBox]) ? 1 : 0;

    s.DtmfId = ToStdString(dtmfId_->text());
    s.NameId = ToStdString(nameId_->text().toUpper());
    if (priChannel_->text().isEmpty()) priChannel_->setText(kPriChannelEmpty);
    s.PriChannel = ToStdString(priChannel_->text());

    if (ws_.edition == kEditionPmrLpd) {
        if (ws_.channelMode == kModeCustom) {
            s.BandSelect = kBandPmrLpd;
        } else {
            for (int band = kBandPmr; band <= kBandPmrLpd; ++band)
                if (bandOptions_[band]->isChecked()) s.BandSelect = static_cast<int16_t>(band);
        }
    }
    return KeyAssignmentValid(s) ? 0 : 1;
}

void frmSetup::Command1_Click() {
    const UndoHistory::Step step(history_, kStepSetUp);
    if (StoreSettings() == 0) {
        ReportIfFailed(SaveConfigFile(ws_).message());
        close();
        return;
    }
    ResetKeyAssignment(ws_.settings);
    for (int i = kListKeyP1; i <= kListKeyP4; ++i) SelectStoredIndex(lists_[i], ws_.settings.*SetupLists()[i].field);
    if (showMessage_) showMessage_(ToQString(kKeyDefineErrorText));
}

void frmSetup::Command2_Click() {
    const UndoHistory::Step step(history_, kStepSetUp);
    ApplyRadioDefaults(ws_.settings);
    ReportIfFailed(SaveConfigFile(ws_).message());
    ShowSettings();
}

void frmSetup::Command4_Click() { close(); }

void frmSetup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (frame_) frame_->hide();
}

void frmSetup::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        const UndoHistory::Step step(history_, kStepSetUp);
        ApplyBandSelect();
        if (frame_) frame_->show();
    }
    event->accept();
}

void frmSetup::ApplyBandSelect() {
    RefreshPresetFrequencies(ws_.presets, ws_.edition);
    if (ws_.edition != kEditionPmrLpd || ws_.channelMode != kModeDefault) return;

    ChannelTable& table = ws_.channels;
    const auto preset = [this](int index) {
        return index > 0 && index < kPresetCapacity ? LenientNumber(ws_.presets.entries[index]) : 0.0;
    };
    const auto setBoth = [&table](int row, double mhz) {
        table.SetFrequencyCell(mhz, row, ColRxFreq);
        table.SetFrequencyCell(mhz, row, ColTxFreq);
    };
    const std::string narrow(kNarrow);
    const std::string wide(kWide);
    switch (ws_.settings.BandSelect) {
        case kBandPmr:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kPmrChannels ? preset(row) : 0.0);
                table.SetCell(row, ColBand, row <= kPmrChannels ? narrow : wide);
            }
            break;
        case kBandLpd:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kLpdChannels ? preset(row + kPmrChannels) : 0.0);
                table.SetCell(row, ColBand, wide);
            }
            break;
        case kBandPmrLpd:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kPmrLpdChannels ? preset(row) : 0.0);
                if (row <= kPmrLpdChannels) table.SetCell(row, ColBand, row <= kPmrChannels ? narrow : wide);
                table.SetCell(row, ColPower, std::string(kHigh));
            }
            break;
        default:
            break;
    }
}

}  // namespace corvane
