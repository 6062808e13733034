#pragma once
// The steps the user can take back: each user action that changes the
// workspace is one step holding the state before and after it.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "model/Status.h"
#include "model/Workspace.h"
#include "model/WorkspaceSnapshot.h"

class QUndoStack;

namespace corvane {

inline const QString kStepNewFile = QStringLiteral("New File");
inline const QString kStepModeDefault = QStringLiteral("Mode Default");
inline const QString kStepModeCustom = QStringLiteral("Mode Custom");
inline const QString kStepAutoGeneration = QStringLiteral("Auto generation");
inline const QString kStepGroupReset = QStringLiteral("Group reset");
inline const QString kStepImportSpreadsheet = QStringLiteral("Import spreadsheet");
inline const QString kStepImportChirpCsv = QStringLiteral("Import CHIRP CSV");
inline const QString kStepOpenImage = QStringLiteral("Open image");
inline const QString kStepReadFromRadio = QStringLiteral("Read from radio");
inline const QString kStepSetUp = QStringLiteral("Set Up");
constexpr int kUndoLimit = 100;

// "Edit RX frequency of channel 12", "Edit CTCSS of channel 3".
QString EditStepName(int row, int col);
// "Paste 4 channels", "Paste 1 channel".
QString PasteStepName(int channels);

class UndoHistory final : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(Workspace& ws, QObject* parent = nullptr);
    ~UndoHistory() override;

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
    bool StepOpen() const { return depth_ > 0; }

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
    bool Locked() const { return locked_; }

    // Used by the steps themselves.
    Status Move(const WorkspaceSnapshot& from, const WorkspaceSnapshot& to);

signals:
    // Before the workspace is rewritten: open editors must close.
    void aboutToRestore();
    // After it was rewritten: what depends on edition and mode follows.
    void restored();
    // Names or availability of Undo and Redo changed.
    void stateChanged();

private:
    Workspace& ws_;
    QUndoStack* stack_;
    int depth_ = 0;
    bool locked_ = false;
    QString pendingName_;
    std::shared_ptr<const WorkspaceSnapshot> pendingBefore_;
    std::shared_ptr<const WorkspaceSnapshot> lastAfter_;  // shared with the next step when nothing happened between
    Status lastMove_;
};

}  // namespace corvane
