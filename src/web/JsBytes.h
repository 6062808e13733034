#pragma once
// Bytes from the page (a Uint8Array or an array of numbers) for the core.
#include <emscripten/val.h>

#include <cstdint>
#include <vector>

namespace corvane::web {

inline std::vector<uint8_t> BytesOf(const emscripten::val& array) {
    return emscripten::convertJSArrayToNumberVector<uint8_t>(array);
}

}  // namespace corvane::web
