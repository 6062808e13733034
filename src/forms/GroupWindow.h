#pragma once
// The window that edits the group table and runs the automatic generation
// of frequencies and tones. Modeless and pinned above other windows.
#include <QWidget>
#include <array>
#include <functional>

#include "forms/MessageFn.h"
#include "model/GroupForm.h"
#include "model/Workspace.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class UndoHistory;

class GroupWindow : public QWidget, private GroupFormEvents {
    Q_OBJECT
public:
    // refreshLinkStatus lets "Reset" refresh the main window's link display; may be empty.
    GroupWindow(Workspace& ws, MessageFn showMessage, QWidget* parent = nullptr,
             std::function<void()> refreshLinkStatus = {});

    // Auto and Reset each become one step of this history.
    void SetUndoHistory(UndoHistory* history) { history_ = history; }

    // While a transfer holds the port, "Auto" and "Reset" wait: both rewrite the channel table.
    void SetPortInUse(bool inUse);

    void AllwaysOntop();
    void NoAllwaysOnTop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnAutoClicked();  // Auto
    void OnResetClicked();  // Reset
    void OnExitClicked();  // Exit
    void OnCtcssChosen();   // CTCSS
    void OnFreqStartChanged();
    void OnFreqLastChanged();
    void OnToneStartChanged();
    void OnToneLastChanged();
    void OnToneCodeChanged();

private:
    void BuildControls();
    void OnFrequencyEntered();
    // The form's values into the controls and back; the rules are in GroupForm.
    void ShowForm();
    void ReadForm();
    // Runs one rule of the form on the controls' current values.
    template <typename Rule>
    void Run(Rule rule);
    void CheckChannelBox(std::string GroupFormValues::*box);

    // GroupFormEvents
    void SaveGroupFile() override;
    void Message(std::string_view text, const GroupFormValues& shown) override;
    void Beep() override;
    void RefreshLinkStatus() override;
    void FocusToneCode() override;

    Workspace& ws_;
    MessageFn showMessage_;
    std::function<void()> refreshLinkStatus_;
    GroupForm form_;
    bool showing_ = false;
    bool portInUse_ = false;  // filling the controls is not typing
    UndoHistory* history_ = nullptr;  // lives with the main window, which outlives this one

    QLineEdit* freqStart_ = nullptr;   // Text1
    QLineEdit* freqLast_ = nullptr;    // Text5
    QLineEdit* frequency_ = nullptr;   // Text6
    QLineEdit* toneStart_ = nullptr;   // Text3
    QLineEdit* toneLast_ = nullptr;    // Text4
    QLineEdit* toneCode_ = nullptr;    // Text2
    std::array<QRadioButton*, 3> target_{};  // RX, TX, RX/TX
    std::array<QRadioButton*, 2> freqDirection_{};  // Increment, Decrement
    std::array<QRadioButton*, 2> band_{};  // narrow, Wide
    QCheckBox* scan_ = nullptr;
    QComboBox* step_ = nullptr;        // Combo1
    std::array<QRadioButton*, 2> toneKind_{};  // Option1 CTCSS, Option2 DCS
    std::array<QRadioButton*, 2> toneDirection_{};
    QComboBox* toneStep_ = nullptr;    // Combo2
    std::array<QLineEdit*, kGroupCount> groupBoxes_{};
    QGroupBox* groupFrame_ = nullptr;
    QPushButton* auto_ = nullptr;      // Command2
    QPushButton* reset_ = nullptr;     // Command5
};

}  // namespace corvane
