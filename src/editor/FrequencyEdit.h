#pragma once
// The frequency editor that floats over an RX or TX cell: a line edit that
// lets only digits, capitals, the point and Backspace through, turns a comma
// into a point and reports Enter, Escape and the focus moving elsewhere.
#include <QLineEdit>

#include "model/CellEditing.h"

namespace corvane {

class FrequencyEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit FrequencyEdit(QWidget* parent = nullptr);

signals:
    void enterPressed();
    void escapePressed();
    // The focus went to another widget of the program (not to a message box,
    // another window or a popup, after which the user comes back).
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace corvane
