#pragma once
// The steps the user can take back: each user action that changes the
// workspace is one step holding the state before and after it.
#include <QObject>
#include <QPointer>
#include <QString>
#include <string_view>

#include "model/Status.h"
#include "model/StepHistory.h"
#include "model/Workspace.h"

namespace corvane {

inline QString StepText(std::string_view name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }
inline const QString kStepNewFile = StepText(steps::kNewFile);
inline const QString kStepModeDefault = StepText(steps::kModeDefault);
inline const QString kStepModeCustom = StepText(steps::kModeCustom);
inline const QString kStepAutoGeneration = StepText(steps::kAutoGeneration);
inline const QString kStepGroupReset = StepText(steps::kGroupReset);
inline const QString kStepImportSpreadsheet = StepText(steps::kImportSpreadsheet);
inline const QString kStepImportChirpCsv = StepText(steps::kImportChirpCsv);
inline const QString kStepOpenImage = StepText(steps::kOpenImage);
inline const QString kStepReadFromRadio = StepText(steps::kReadFromRadio);
inline const QString kStepSetUp = StepText(steps::kSetUp);
inline const QString kStepRecoverUnsaved = StepText(steps::kRecoverUnsaved);

// "Edit RX frequency of channel 12", "Edit CTCSS of channel 3".
QString EditStepName(int row, int col);
// "Paste 4 channels", "Paste 1 channel".
QString PasteStepName(int channels);

// The program's StepHistory for the Qt windows: the same steps, with signals.
class UndoHistory final : public QObject {
    Q_OBJECT
public:
    // Drives the run's one history, which the session owns.
    UndoHistory(Workspace& ws, StepHistory& steps, QObject* parent = nullptr);

    // Brackets one user action for its whole scope; a null history records
    // nothing. Steps opened inside another fold into the outer one.
    class Step {
    public:
        Step(UndoHistory* history, const QString& name);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        QPointer<UndoHistory> history_;
    };

    // The same for a step whose end arrives in a later call (a read).
    void Begin(const QString& name);
    // Records the step when the workspace differs from its start.
    void End();
    bool StepOpen() const { return steps_.StepOpen(); }

    bool CanUndo() const;
    bool CanRedo() const;
    QString UndoName() const;
    QString RedoName() const;
    int StepCount() const;
    // Puts back what the step changed; Port.txt and Group.txt are rewritten
    // when their contents went back too. A failed save is in the status.
    Status Undo();
    Status Redo();

    // While a transfer runs nothing is taken back.
    void SetLocked(bool locked);
    bool Locked() const { return steps_.Locked(); }

signals:
    // Before the workspace is rewritten: open editors must close.
    void aboutToRestore();
    // After it was rewritten: what depends on edition and mode follows.
    void restored();
    // Names or availability of Undo and Redo changed.
    void stateChanged();
    // A step that changed the workspace ended, or one was taken back or
    // replayed (after restored()).
    void workspaceStepped();

private:
    Status Restored(const std::optional<SnapshotDifference>& difference);

    Workspace& ws_;
    StepHistory& steps_;
};

}  // namespace corvane
