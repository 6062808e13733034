#pragma once
// The window that edits the group table and runs the automatic generation
// of frequencies and tones. Modeless and pinned above other windows.
#include <QWidget>
#include <array>
#include <functional>

#include "forms/MessageFn.h"
#include "model/Workspace.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class UndoHistory;

class frmGroup : public QWidget {
    Q_OBJECT
public:
    // refreshLinkStatus lets "Reset" refresh the main window's link display; may be empty.
    frmGroup(Workspace& ws, MessageFn showMessage, QWidget* parent = nullptr,
             std::function<void()> refreshLinkStatus = {});

    // Auto and Reset each become one step of this history.
    void SetUndoHistory(UndoHistory* history) { history_ = history; }

    void AllwaysOntop();
    void NoAllwaysOnTop();
    void ResetFrequencySet();
    void StoreGroupSizes();
    void GenerateTones();
    void ResetGroupSizes();
    void ResetToneSet();
    void ZeroGroupBoxesIfNew();
    void ShowToneSet();
    void ShowGroupSizes();
    void ShowFrequencySet();
    void ShowGroupWindow();
    void ClearToneSet();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Command2_Click();  // Auto
    void Command5_Click();  // Reset
    void Command1_Click();  // Exit
    void Option1_Click();   // CTCSS
    void Text1_Change();
    void Text5_Change();
    void Text3_Change();
    void Text4_Change();
    void Text2_Change();

private:
    void BuildControls();
    void CheckChannelBox(QLineEdit* box);
    void Text6_KeyDown();
    void StoreInputTexts();
    void ApplyFrequencySetDefaults();
    void ShowFrequencySetControls();
    void SaveGroups();
    // The tone-set fields to their defaults, the three tone boxes emptied, the first step.
    void DefaultToneSet();
    void Message(const char* text);

    Workspace& ws_;
    MessageFn showMessage_;
    std::function<void()> refreshLinkStatus_;
    bool loading_ = false;
    UndoHistory* history_ = nullptr;  // lives with the main window, which outlives this one

    QLineEdit* freqStart_ = nullptr;   // Text1
    QLineEdit* freqLast_ = nullptr;    // Text5
    QLineEdit* frequency_ = nullptr;   // Text6
    QLineEdit* toneStart_ = nullptr;   // Text3
    QLineEdit* toneLast_ = nullptr;    // Text4
    QLineEdit* toneCode_ = nullptr;    // Text2
    std::array<QRadioButton*, 3> target_{};  // RX, TX, RX/TX
    QRadioButton* freqUp_ = nullptr;
    QRadioButton* freqDown_ = nullptr;
    QRadioButton* narrow_ = nullptr;
    QRadioButton* wide_ = nullptr;
    QCheckBox* scan_ = nullptr;
    QComboBox* step_ = nullptr;        // Combo1
    QRadioButton* ctcss_ = nullptr;    // Option1
    QRadioButton* dcs_ = nullptr;      // Option2
    QRadioButton* toneUp_ = nullptr;
    QRadioButton* toneDown_ = nullptr;
    QComboBox* toneStep_ = nullptr;    // Combo2
    std::array<QLineEdit*, kGroupCount> groupBoxes_{};
    QGroupBox* groupFrame_ = nullptr;
};

}  // namespace corvane
