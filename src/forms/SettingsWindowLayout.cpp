// Builds the controls of the setup window: four columns of frames and a bottom row.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "forms/SetupTextValidator.h"
#include "forms/SettingsWindow.h"

namespace corvane {

namespace {

constexpr int kFrameColumnCount = 4;

QGroupBox* MakeFrame(QWidget* owner, const char* caption, int number) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), owner);
    frame->setObjectName(QStringLiteral("Frame%1").arg(number));
    return frame;
}

}  // namespace

void SettingsWindow::BuildControls() {
    int frameNumber = 0;
    int labelNumber = 0;
    for (int i = 0; i < kListCount; ++i) {
        lists_[i] = new QComboBox(this);
        lists_[i]->setObjectName(QStringLiteral("Combo%1").arg(i + 1));
        lists_[i]->setEditable(false);
    }
    for (int i = 0; i < kFunctionBoxCount; ++i) {
        functionBoxes_[i] = new QCheckBox(this);
        functionBoxes_[i]->setObjectName(QStringLiteral("Check%1").arg(i + 1));
    }
    const auto label = [this, &labelNumber](const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
        return l;
    };
    const auto frameWithLists = [&](const char* caption, std::initializer_list<int> lists) {
        QGroupBox* frame = MakeFrame(this, caption, ++frameNumber);
        auto* form = new QFormLayout(frame);
        for (int i : lists) form->addRow(label(SetupLists()[i].label), lists_[i]);
        return frame;
    };

    // Column 1
    bandFrame_ = MakeFrame(this, "LPD/PMR", ++frameNumber);
    auto* bandLayout = new QVBoxLayout(bandFrame_);
    const char* bandCaptions[kBandOptionCount] = {"PMR", "LPD", "PMR + LPD"};
    for (int i = 0; i < kBandOptionCount; ++i) {
        bandOptions_[i] = new QRadioButton(QString::fromLatin1(bandCaptions[i]), bandFrame_);
        bandOptions_[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        bandLayout->addWidget(bandOptions_[i]);
    }
    QGroupBox* nameFrame = MakeFrame(this, "", ++frameNumber);
    auto* nameForm = new QFormLayout(nameFrame);
    nameId_ = new QLineEdit(this);
    nameId_->setObjectName("Text2");
    nameId_->setMaxLength(kNameIdLength);
    // Digits, and what the radio cannot show, are refused as they are typed.
    nameId_->setValidator(new SetupTextValidator(SetupTextBox::NameId, nameId_));
    nameForm->addRow(label("Name ID:"), nameId_);
    nameForm->addRow(label(SetupLists()[kListCallTone].label), lists_[kListCallTone]);
    nameForm->addRow(label(SetupLists()[kListSquelch].label), lists_[kListSquelch]);

    // Column 3 text box
    dtmfId_ = new QLineEdit(this);
    dtmfId_->setObjectName("Text1");
    dtmfId_->setMaxLength(kDtmfIdLength);
    dtmfId_->setValidator(new SetupTextValidator(SetupTextBox::DtmfId, dtmfId_));

    QGroupBox* dtmfFrame = frameWithLists("DTMF Time", {kListDtmfGeneration, kListDtmfPause, kListDtmfDelay});
    static_cast<QFormLayout*>(dtmfFrame->layout())->addRow(label("DTMF ID:"), dtmfId_);

    const std::array<std::vector<QWidget*>, kFrameColumnCount> columns{{
        {bandFrame_, nameFrame, frameWithLists("VOX", {kListVoxLevel, kListVoxAttack, kListVoxRelease}),
         frameWithLists("TOT", {kListTotalTime, kListResumeTime})},
        {frameWithLists("Scan", {kListScanStay, kListScanDelay}),
         frameWithLists("", {kListBclo, kListBacklightType, kListBacklightOnTime, kListSqTail}),
         frameWithLists("Power Save", {kListPowerSaveOff, kListPowerSaveOn})},
        {dtmfFrame, frameWithLists("Key Define", {kListKeyP1, kListKeyP2, kListKeyP3, kListKeyP4})},
        {},
    }};

    QGroupBox* buttonFrame = MakeFrame(this, "", ++frameNumber);
    auto* buttons = new QVBoxLayout(buttonFrame);
    const auto button = [this, buttons](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        if (buttons) buttons->addWidget(b);
        return b;
    };
    connect(button("Command1", "OK"), &QPushButton::clicked, this, &SettingsWindow::OnOkClicked);
    connect(button("Command2", "Reset"), &QPushButton::clicked, this, &SettingsWindow::OnResetClicked);
    connect(button("Command4", "Exit"), &QPushButton::clicked, this, &SettingsWindow::OnExitClicked);

    QGroupBox* functions = MakeFrame(this, "Functions", ++frameNumber);
    auto* functionLayout = new QVBoxLayout(functions);
    for (int i = 0; i < kFunctionBoxCount; ++i)
        if (i != kScanOnOffBox && i != kScanMemoryBox) functionLayout->addWidget(functionBoxes_[i]);

    auto* grid = new QGridLayout;
    for (int c = 0; c < kFrameColumnCount; ++c) {
        auto* column = new QVBoxLayout;
        for (QWidget* frame : columns[c]) column->addWidget(frame, 1);
        if (c == 1) column->addWidget(buttonFrame, 1);
        if (c == 3) column->addWidget(functions, 1);
        grid->addLayout(column, 0, c);
        grid->setColumnStretch(c, 1);
    }

    // Bottom row: DEBUG, PRI Channel, the two scan boxes.
    auto* bottom = new QHBoxLayout;
    auto* debug = new QPushButton("DEBUG", this);  // shown, has no action
    debug->setObjectName("Command3");
    bottom->addWidget(debug);
    priLabel_ = label("PRI Channel");
    priChannel_ = new QLineEdit(this);
    priChannel_->setObjectName("Text3");
    priChannel_->setMaxLength(kPriChannelLength);
    bottom->addWidget(priLabel_);
    bottom->addWidget(priChannel_);
    bottom->addWidget(functionBoxes_[kScanOnOffBox]);
    bottom->addWidget(functionBoxes_[kScanMemoryBox]);
    bottom->addStretch(1);

    auto* root = new QVBoxLayout(this);
    root->addLayout(grid);
    root->addLayout(bottom);
}

}  // namespace corvane
