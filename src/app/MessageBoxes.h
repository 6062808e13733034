#pragma once
// Every message to the user goes through a MessageSink so the windows can be
// driven by tests without a modal box blocking them.
#include <QString>

class QWidget;

namespace corvane {

inline const QString kMessageTitle = QStringLiteral("Corvane PC Programmer");

enum class MessageIcon { None, Exclamation };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Modal, one OK button, the program's title.
    virtual void Show(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None) = 0;
    virtual void Beep() = 0;
};

// The real thing: a QMessageBox and the platform beep.
class MessageBoxes final : public MessageSink {
public:
    void Show(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None) override;
    void Beep() override;
};

}  // namespace corvane
