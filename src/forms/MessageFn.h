#pragma once
// How a window hands a text to the user. The application shows a modal box
// titled "Corvane PC Programmer"; tests capture the text.
#include <QString>
#include <functional>

namespace corvane {

using MessageFn = std::function<void(const QString& text)>;

}  // namespace corvane
