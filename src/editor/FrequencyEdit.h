#pragma once
// The frequency editor that floats over an RX or TX cell: a line edit that
// lets only digits, capitals, the point and Backspace through, turns a comma
// into a point and reports Enter, Escape and the focus moving elsewhere.
#include <QLineEdit>
#include <optional>

namespace corvane {

constexpr int kFrequencyEditMaxLength = 9;

// The character a typed character becomes, or nullopt when it is swallowed.
std::optional<char16_t> FilterFrequencyKey(char16_t typed);

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
