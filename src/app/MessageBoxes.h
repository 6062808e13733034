#pragma once
// The real message boxes behind the windows' MessageSink.
#include <QString>
#include <memory>

#include "editor/MessageSink.h"

class QMessageBox;

namespace corvane {

inline const QString kMessageTitle = QStringLiteral("Corvane PC Programmer");

// The box Show() runs, built apart so its shape can be checked without a
// modal loop: owned by owner's window, wide enough for its whole title. Where
// it stacks is decided as it opens, as for every modal box (WindowPinning.h).
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon);

// text with a zero-width break opportunity after every path separator, so a
// long path wraps between names instead of inside one.
QString BreakableAtSeparators(const QString& text);

class MessageBoxes final : public MessageSink {
public:
    void Show(QWidget* owner, const QString& text, MessageIcon icon = MessageIcon::None) override;
    void Beep() override;
};

}  // namespace corvane
