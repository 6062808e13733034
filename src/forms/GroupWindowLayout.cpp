// Builds the controls of the group window: "Frequency Set", "Tone Set" with
// the buttons at its foot, and "Group Set", side by side.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/FormHelpers.h"
#include "forms/GroupWindow.h"

namespace corvane {

namespace {

using forms::ToQString;
constexpr const char* kDirectionCaptions[] = {"Increment", "Decrement"};

constexpr int kFirstGroupBox = 7;  // Text7..Text16

QLineEdit* MakeBox(QWidget* owner, const char* name, int maxLength) {
    auto* box = new QLineEdit(owner);
    box->setObjectName(name);
    if (maxLength > 0) box->setMaxLength(maxLength);
    return box;
}

QRadioButton* MakeOption(QWidget* owner, int number, QButtonGroup* group) {
    auto* option = new QRadioButton(owner);
    option->setObjectName(QStringLiteral("Option%1").arg(number));
    group->addButton(option);
    return option;
}

QComboBox* MakeEditableList(QWidget* owner, const char* name) {
    auto* list = new QComboBox(owner);
    list->setObjectName(name);
    list->setEditable(true);
    // A typed text stays a typed text; it never becomes a new item.
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

QGroupBox* MakeFrame(QWidget* owner, const char* caption, const char* name) {
    auto* frame = new QGroupBox(caption, owner);
    frame->setObjectName(name);
    return frame;
}

}  // namespace

void GroupWindow::BuildControls() {
    // Frequency Set
    QGroupBox* freqFrame = MakeFrame(this, "Frequency Set", "Frame1");
    auto* freqForm = new QFormLayout(freqFrame);
    freqStart_ = MakeBox(freqFrame, "Text1", kChannelBoxLength);
    freqLast_ = MakeBox(freqFrame, "Text5", kChannelBoxLength);
    frequency_ = MakeBox(freqFrame, "Text6", 0);
    frequency_->installEventFilter(this);
    freqForm->addRow(new QLabel("Start Channel", freqFrame), freqStart_);
    freqForm->addRow(new QLabel("Last Channel", freqFrame), freqLast_);
    freqForm->addRow(new QLabel("Frequency [MHz]", freqFrame), frequency_);

    auto* targets = new QButtonGroup(this);
    auto* targetRow = new QHBoxLayout;
    for (std::size_t i = 0; i < target_.size(); ++i) {
        target_[i] = MakeOption(freqFrame, 3 + static_cast<int>(i), targets);
        target_[i]->setText(ToQString(kTargetCaptions[i]));
        targetRow->addWidget(target_[i]);
    }
    freqForm->addRow(targetRow);
    auto* freqDirection = new QButtonGroup(this);
    auto* directionRow = new QHBoxLayout;
    for (std::size_t i = 0; i < freqDirection_.size(); ++i) {
        freqDirection_[i] = MakeOption(freqFrame, 6 + static_cast<int>(i), freqDirection);
        freqDirection_[i]->setText(kDirectionCaptions[i]);
        directionRow->addWidget(freqDirection_[i]);
    }
    freqForm->addRow(directionRow);

    QGroupBox* bandFrame = MakeFrame(freqFrame, "Band", "Frame2");
    auto* bands = new QButtonGroup(this);
    auto* bandRow = new QHBoxLayout(bandFrame);
    for (std::size_t i = 0; i < band_.size(); ++i) {
        band_[i] = MakeOption(bandFrame, 8 + static_cast<int>(i), bands);
        bandRow->addWidget(band_[i]);
    }
    band_[0]->setText(ToQString(kNarrowCaption));
    band_[1]->setText("Wide");
    freqForm->addRow(bandFrame);
    scan_ = new QCheckBox(freqFrame);
    scan_->setObjectName("Check1");
    scan_->setText("Scan");
    freqForm->addRow(scan_);
    step_ = MakeEditableList(freqFrame, "Combo1");
    for (std::string_view item : kFrequencySteps) step_->addItem(ToQString(item));
    freqForm->addRow(new QLabel("Step", freqFrame), step_);

    // Tone Set
    QGroupBox* toneFrame = MakeFrame(this, "Tone Set", "Frame3");
    auto* toneLayout = new QVBoxLayout(toneFrame);
    QGroupBox* kindFrame = MakeFrame(toneFrame, "Tone", "Frame4");
    auto* kinds = new QButtonGroup(this);
    auto* kindRow = new QHBoxLayout(kindFrame);
    for (std::size_t i = 0; i < toneKind_.size(); ++i) {
        toneKind_[i] = MakeOption(kindFrame, 1 + static_cast<int>(i), kinds);
        kindRow->addWidget(toneKind_[i]);
    }
    toneKind_[0]->setText("CTCSS");
    toneKind_[1]->setText("DCS");
    toneLayout->addWidget(kindFrame);
    auto* toneForm = new QFormLayout;
    toneStart_ = MakeBox(toneFrame, "Text3", kChannelBoxLength);
    toneLast_ = MakeBox(toneFrame, "Text4", kChannelBoxLength);
    toneCode_ = MakeBox(toneFrame, "Text2", kToneCodeBoxLength);
    toneStep_ = MakeEditableList(toneFrame, "Combo2");
    for (std::string_view item : kToneSteps) toneStep_->addItem(ToQString(item));
    toneForm->addRow(new QLabel("Start Channel ", toneFrame), toneStart_);
    toneForm->addRow(new QLabel("Last Channel ", toneFrame), toneLast_);
    toneForm->addRow(new QLabel("Start Tone Code", toneFrame), toneCode_);
    toneForm->addRow(new QLabel("Tone Setp", toneFrame), toneStep_);
    toneLayout->addLayout(toneForm);
    auto* toneDirection = new QButtonGroup(this);
    auto* toneDirectionRow = new QHBoxLayout;
    for (std::size_t i = 0; i < toneDirection_.size(); ++i) {
        toneDirection_[i] = MakeOption(toneFrame, 10 + static_cast<int>(i), toneDirection);
        toneDirection_[i]->setText(kDirectionCaptions[i]);
        toneDirectionRow->addWidget(toneDirection_[i]);
    }
    toneLayout->addLayout(toneDirectionRow);
    auto* buttons = new QHBoxLayout;
    const auto button = [this, toneFrame, buttons](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, toneFrame);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    auto_ = button("Command2", "Auto");
    reset_ = button("Command5", "Reset");
    connect(auto_, &QPushButton::clicked, this, &GroupWindow::OnAutoClicked);
    connect(reset_, &QPushButton::clicked, this, &GroupWindow::OnResetClicked);
    connect(button("Command1", "Exit"), &QPushButton::clicked, this, &GroupWindow::OnExitClicked);
    toneLayout->addStretch(1);
    toneLayout->addLayout(buttons);

    // Group Set
    groupFrame_ = MakeFrame(this, "Group Set", "Frame5");
    auto* groupForm = new QFormLayout(groupFrame_);
    for (int i = 0; i < kGroupCount; ++i) {
        groupBoxes_[i] = MakeBox(groupFrame_, "", kGroupBoxLength);
        groupBoxes_[i]->setObjectName(QStringLiteral("Text%1").arg(kFirstGroupBox + i));
        groupForm->addRow(new QLabel(QStringLiteral("Group '%1'").arg(QChar(GroupLetter(i))), groupFrame_),
                          groupBoxes_[i]);
    }

    auto* root = new QHBoxLayout(this);
    root->addWidget(freqFrame);
    root->addWidget(toneFrame);
    root->addWidget(groupFrame_);

    connect(freqStart_, &QLineEdit::textChanged, this, &GroupWindow::OnFreqStartChanged);
    connect(freqLast_, &QLineEdit::textChanged, this, &GroupWindow::OnFreqLastChanged);
    connect(toneStart_, &QLineEdit::textChanged, this, &GroupWindow::OnToneStartChanged);
    connect(toneLast_, &QLineEdit::textChanged, this, &GroupWindow::OnToneLastChanged);
    connect(toneCode_, &QLineEdit::textChanged, this, &GroupWindow::OnToneCodeChanged);
    connect(toneKind_[0], &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) OnCtcssChosen();
    });
}

}  // namespace corvane
