#pragma once
// Command-line options of the simulated radio.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/Status.h"

namespace corvane::sim {

using Millis = std::chrono::milliseconds;
using Micros = std::chrono::microseconds;

struct BurstPause {
    std::size_t afterBytes = 0;
    Millis length{0};
};

// Radio `unit` (1-based) of a sequence goes away after this many bytes of a write.
struct UnitDrop {
    std::size_t unit = 0;
    std::size_t afterBytes = 0;
};

struct SimOptions {
    std::string device;        // empty: create a pseudo-terminal pair
    std::string link;          // symlink to the slave side, removed on exit
    std::string memoryFile;    // memory kept between runs
    std::string logFile;
    std::string receivedImageFile;
    std::string arrivalsFile;  // arrival time of each byte of a received image
    Millis replyDelay{150};    // lands after the programmer's 100 ms deaf window
    Millis readDelay{200};     // pause between the read command and the burst
    Millis collectTimeout{2000};  // a write that stalls this long is abandoned
    Micros byteTime{4583};     // 11 bit times at 2400 baud
    bool noAnswer = false;
    bool malformed = false;
    bool foreign = false;
    bool noise = false;
    bool once = false;
    bool exitWithParent = false;
    std::optional<std::size_t> shortImage;  // burst cut after this many bytes
    std::optional<std::size_t> corruptIndex;  // this image byte is sent damaged
    std::size_t extraBytes = 0;
    std::optional<BurstPause> pause;
    unsigned seed = 1;
    // A sequence of radios on one cable: each unit starts from a fresh
    // memory and leaves after it was written and read back (or dropped),
    // silent until the next one is plugged in swapTime after the programmer
    // first found the line dead. 0: one radio for the whole run.
    std::size_t units = 0;
    std::vector<UnitDrop> drops;
    Millis swapTime{3000};
    // Fault modes of the line (what the connection doctor tells apart).
    bool silent = false;              // hears nothing, says nothing: a radio switched off
    bool echo = false;                // every byte comes straight back, no radio behind
    bool garbage = false;             // answers with bytes that form no frame
    std::optional<int> wrongSpeed;    // answers at this speed instead of 2400 baud
};

struct ParsedOptions {
    SimOptions options;
    bool helpRequested = false;
};

Result<ParsedOptions> ParseSimOptions(const std::vector<std::string>& args);
std::string SimUsageText();

}  // namespace corvane::sim
