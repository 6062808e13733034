#pragma once
// A line edit validator that refuses any edit after which the box's text
// breaks the setup window's rule for it (typed keys and pasted text alike).
#include <QValidator>
#include <string_view>

#include "model/SetupForm.h"

namespace corvane {

class SetupTextValidator final : public QValidator {
public:
    SetupTextValidator(SetupTextBox box, QObject* parent) : QValidator(parent), box_(box) {}

    State validate(QString& input, int& /*pos*/) const override {
        const QByteArray utf8 = input.toUtf8();
        const std::string_view text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        return SetupTextAccepted(box_, text) ? Acceptable : Invalid;
    }

private:
    SetupTextBox box_;
};

}  // namespace corvane
