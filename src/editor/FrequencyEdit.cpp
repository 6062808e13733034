#include "editor/FrequencyEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace corvane {

namespace {
constexpr char16_t kBackspace = 8;
}

FrequencyEdit::FrequencyEdit(QWidget* parent) : QLineEdit(parent) {
    // Paste and drop would bypass the key filter.
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
}

void FrequencyEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        return;
    case Qt::Key_Escape:
        emit escapePressed();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Delete) {  // editing keys, not characters
        QLineEdit::keyPressEvent(event);
        return;
    }
    const std::optional<char16_t> passed = FilterFrequencyKey(text.at(0).unicode());
    if (!passed) return;
    // The limit holds for typing only: a cell's ten-character text still opens whole.
    const bool adds = *passed != kBackspace && !hasSelectedText();
    if (adds && this->text().size() >= kFrequencyEditMaxLength) return;
    if (*passed == text.at(0).unicode()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), Qt::Key_Period, Qt::NoModifier, QString(QChar(*passed)));
    QLineEdit::keyPressEvent(&replaced);
}

}  // namespace corvane

namespace corvane {

void FrequencyEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit focusLeft();
}

}  // namespace corvane
