#pragma once
// Every message to the user goes through a MessageSink so the windows can be
// driven by tests without a modal box blocking them. The windows only know
// this interface; the application supplies the real boxes.
#include <QString>

class QWidget;

namespace corvane {

enum class MessageIcon { None, Exclamation };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Modal, one OK button, the program's title, owned by (and shown above)
    // the window of owner.
    virtual void Show(QWidget* owner, const QString& text, MessageIcon icon = MessageIcon::None) = 0;
    virtual void Beep() = 0;
};

}  // namespace corvane
