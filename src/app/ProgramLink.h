#pragma once
// The program's link: the system serial ports (or a serial folder) on real time.
#include <filesystem>

#include "link/LinkOwner.h"

namespace corvane {

LinkFactory MakeProgramLinkFactory(const std::filesystem::path& serialDir);

}  // namespace corvane
