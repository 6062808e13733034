#pragma once
// The desktop's answer to a crash: the channel files change only at the save
// points, so after every step the whole set is also kept in Data/recovery;
// File > Recover Unsaved Changes... takes in what a killed run left behind.
#include <QObject>
#include <QString>
#include <optional>

#include "store/RecoverySet.h"

namespace corvane {

class MainWindow;
class MessageSink;

class CrashRecovery final : public QObject {
    Q_OBJECT
public:
    CrashRecovery(MainWindow& frame, Workspace& ws, MessageSink& messages);

    // After the frame's load: what the last run left, offered when worth it
    // (the menu item enabled). Returns the notice to say once, empty when
    // there is nothing to offer.
    QString Offer(std::optional<LeftRecovery> left);
    // File > Recover Unsaved Changes...: one undo step.
    void RecoverUnsavedChanges();
    // Exit or the close box saved the set: nothing is left behind.
    void RunEndedSaved();

private:
    void KeepAfterStep();

    MainWindow& frame_;
    Workspace& ws_;
    MessageSink& messages_;
    RecoveryKeeper keeper_;
    std::optional<LeftRecovery> left_;
    bool keepFailureTold_ = false;
};

}  // namespace corvane
