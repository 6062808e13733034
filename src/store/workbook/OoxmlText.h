#pragma once
// Office Open XML spells a character XML cannot carry (a control character)
// as _xHHHH_, its UTF-16 code in hex; a text that holds such a spelling
// itself has its underscore spelled _x005F_.
#include <string>
#include <string_view>

namespace corvane {

// The text a stored string stands for: every _xHHHH_ replaced by its
// character (a surrogate pair by the one character it makes).
std::string DecodeOoxmlEscapes(std::string_view stored);

// A text whose literal _xHHHH_ spellings are kept from being read as
// escapes: the writer escapes control characters itself, but not these.
std::string EscapeLiteralOoxmlEscapes(std::string_view text);

}  // namespace corvane
