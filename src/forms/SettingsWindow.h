#pragma once
// The window that edits the radio-wide settings record. Shown modeless; it
// hides the main frame while open and shows it again whenever it closes.
// The window deletes itself on close (Qt::WA_DeleteOnClose).
#include <QPointer>
#include <QWidget>
#include <array>

#include "forms/MessageFn.h"
#include "model/SetupForm.h"
#include "model/Workspace.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class UndoHistory;

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kListCount = kSetupListCount;

    SettingsWindow(Workspace& ws, MessageFn showMessage, QWidget* frameToShowOnClose, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // OK, Reset and the band plan applied on closing become steps of this history.
    void SetUndoHistory(UndoHistory* history) { history_ = history; }

    void AllwaysOntop();
    void NoAllwaysOnTop();
    // Writes every control into the record; 1 when the key check fails, else 0.
    int StoreSettings();
    void FillLists();
    void ShowSettings();
    // Rewrites frequencies, band and power cells for the chosen BandSelect.
    void ApplyBandSelect();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnOkClicked();  // OK
    void OnResetClicked();  // Reset
    void OnExitClicked();  // Exit

private:
    void BuildControls();
    // The form's values into the controls and back; the rules are in SetupForm.
    void ShowForm();
    void ReadForm();
    void ReportIfFailed(const std::string& message);

    Workspace& ws_;
    MessageFn showMessage_;
    QPointer<QWidget> frame_;
    bool closed_ = false;
    UndoHistory* history_ = nullptr;  // lives with the main window, which outlives this one
    SetupFormValues form_;

    std::array<QComboBox*, kListCount> lists_{};
    std::array<QCheckBox*, kFunctionBoxCount> functionBoxes_{};
    std::array<QRadioButton*, kBandOptionCount> bandOptions_{};
    QGroupBox* bandFrame_ = nullptr;
    QLineEdit* dtmfId_ = nullptr;
    QLineEdit* nameId_ = nullptr;
    QLineEdit* priChannel_ = nullptr;
    QLabel* priLabel_ = nullptr;
};

}  // namespace corvane
