#pragma once
// Registers the icons compiled into the window library (a static library
// drops its resource initialiser unless something references it).
namespace corvane {

void InitResources();

}  // namespace corvane
