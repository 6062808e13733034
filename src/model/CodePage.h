#pragma once
// Windows-1252, the single-byte code page of the working files' texts and of
// the radio's name characters. In memory every text is UTF-8; these are the
// only conversions between the two. Latin-1 where the two agree; the five
// bytes Windows-1252 leaves undefined stand for the control characters of the
// same number, so any byte string survives a round trip.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

std::string Windows1252ToUtf8(std::string_view bytes);

// A character outside Windows-1252, or a byte that is not valid UTF-8,
// becomes '?', as the system's own conversion does.
std::string Utf8ToWindows1252(std::string_view utf8);

// True when every character of utf8 has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

// Upper case one character for one within Windows-1252 ("ä" to "Ä", "ÿ" to
// "Ÿ"); a character without a single upper-case form there ("ß") stays.
std::string UpperCaseWindows1252(std::string_view utf8);

// U+FFFD, for what has no character.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// One code point appended as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// The number of characters (code points) of utf8.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace corvane
