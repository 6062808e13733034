#pragma once
// The first window: one access code chooses the band-plan edition. A wrong
// code ends the program; there is one attempt.
#include <QWidget>
#include <optional>

#include "session/AccessCodeStep.h"

class QLineEdit;

namespace corvane {

class MessageSink;

// The edition an access code selects; nullopt for any other text.
std::optional<int16_t> EditionForAccessCode(const QString& code);

class AccessCodeDialog final : public QWidget {
    Q_OBJECT
public:
    // Runs the session's access-code step.
    AccessCodeDialog(AccessCodeStep& step, MessageSink& messages, QWidget* parent = nullptr);

    // The window's load (AccessCodeStep::Load): false when the start was
    // refused, said in a box of its own as the window never shows.
    bool Prepare();
    // What Enter in the code box does.
    void Text1_Enter();

    QLineEdit& CodeBox() const { return *text1_; }
    // What the accepted code's repair of damaged files did, to say once the
    // frame is open; empty when nothing was replaced.
    QString StartNotice() const { return QString::fromStdString(step_.StartNotice()); }
    void AllwaysOntop();
    void NoAllwaysOnTop();

signals:
    void codeAccepted();
    // A wrong code, or a start the damaged files stopped (said): the program ends.
    void codeRefused();
    // Closed by its close box before any code was entered.
    void closedWithoutCode();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    AccessCodeStep& step_;
    MessageSink& messages_;
    QLineEdit* text1_;
    bool decided_ = false;
};

}  // namespace corvane
