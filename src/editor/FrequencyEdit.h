#pragma once
// The frequency editor that floats over an RX or TX cell: a line edit that
// lets only digits, capitals, the point and Backspace through, turns a comma
// into a point and reports Enter and Escape.
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

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace corvane
