#include "SimOptions.h"

#include <charconv>
#include <functional>
#include <map>

#include "LineFaults.h"
#include "image/MemoryImage.h"

namespace corvane::sim {
namespace {

constexpr long long kSlowestBaud = 50;
constexpr long long kFastestBaud = 115200;

Result<long long> ParseCount(const std::string& option, const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0) {
        return Status::Error(option + " expects a non-negative whole number, got '" + text + "'");
    }
    return value;
}

Result<BurstPause> ParsePause(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        return Status::Error("--pause-at expects N:MS, got '" + text + "'");
    }
    auto bytes = ParseCount("--pause-at", text.substr(0, colon));
    auto ms = ParseCount("--pause-at", text.substr(colon + 1));
    if (!bytes) return bytes.status();
    if (!ms) return ms.status();
    return BurstPause{static_cast<std::size_t>(*bytes), Millis(*ms)};
}

Result<UnitDrop> ParseDrop(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return Status::Error("--drop-unit expects K:N, got '" + text + "'");
    auto unit = ParseCount("--drop-unit", text.substr(0, colon));
    auto bytes = ParseCount("--drop-unit", text.substr(colon + 1));
    if (!unit) return unit.status();
    if (!bytes) return bytes.status();
    if (*unit < 1 || *bytes >= static_cast<long long>(kImageLength)) {
        return Status::Error("--drop-unit expects a unit from 1 and fewer than " + std::to_string(kImageLength) + " bytes");
    }
    return UnitDrop{static_cast<std::size_t>(*unit), static_cast<std::size_t>(*bytes)};
}

using ValueSetter = std::function<Status(SimOptions&, const std::string&)>;

template <typename Duration>
ValueSetter DurationSetter(const std::string& name, Duration SimOptions::*field) {
    return [name, field](SimOptions& o, const std::string& v) {
        auto n = ParseCount(name, v);
        if (!n) return n.status();
        o.*field = Duration(*n);
        return Status::Ok();
    };
}

ValueSetter TextSetter(std::string SimOptions::*field) {
    return [field](SimOptions& o, const std::string& v) {
        o.*field = v;
        return Status::Ok();
    };
}

const std::map<std::string, bool SimOptions::*>& Switches() {
    static const std::map<std::string, bool SimOptions::*> switches = {
        {"--no-answer", &SimOptions::noAnswer}, {"--malformed", &SimOptions::malformed},
        {"--foreign", &SimOptions::foreign},    {"--noise", &SimOptions::noise},
        {"--once", &SimOptions::once},          {"--exit-with-parent", &SimOptions::exitWithParent},
        {"--silent", &SimOptions::silent},      {"--echo", &SimOptions::echo},
        {"--garbage", &SimOptions::garbage},
    };
    return switches;
}

const std::map<std::string, ValueSetter>& ValueOptions() {
    static const std::map<std::string, ValueSetter> values = {
        {"--device", TextSetter(&SimOptions::device)},
        {"--link", TextSetter(&SimOptions::link)},
        {"--memory", TextSetter(&SimOptions::memoryFile)},
        {"--log", TextSetter(&SimOptions::logFile)},
        {"--received-image", TextSetter(&SimOptions::receivedImageFile)},
        {"--arrivals", TextSetter(&SimOptions::arrivalsFile)},
        {"--reply-delay", DurationSetter("--reply-delay", &SimOptions::replyDelay)},
        {"--late-answer", DurationSetter("--late-answer", &SimOptions::replyDelay)},
        {"--read-delay", DurationSetter("--read-delay", &SimOptions::readDelay)},
        {"--collect-timeout", DurationSetter("--collect-timeout", &SimOptions::collectTimeout)},
        {"--byte-time-us", DurationSetter("--byte-time-us", &SimOptions::byteTime)},
        {"--short",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--short", v);
             if (!n) return n.status();
             o.shortImage = static_cast<std::size_t>(*n);
             return Status::Ok();
         }},
        {"--corrupt-read",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--corrupt-read", v);
             if (!n) return n.status();
             if (*n >= static_cast<long long>(kImageLength)) {
                 return Status::Error("--corrupt-read expects an image index below " + std::to_string(kImageLength));
             }
             o.corruptIndex = static_cast<std::size_t>(*n);
             return Status::Ok();
         }},
        {"--extra",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--extra", v);
             if (!n) return n.status();
             o.extraBytes = static_cast<std::size_t>(*n);
             return Status::Ok();
         }},
        {"--pause-at",
         [](SimOptions& o, const std::string& v) {
             auto p = ParsePause(v);
             if (!p) return p.status();
             o.pause = *p;
             return Status::Ok();
         }},
        {"--units",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--units", v);
             if (!n) return n.status();
             o.units = static_cast<std::size_t>(*n);
             return Status::Ok();
         }},
        {"--drop-unit",
         [](SimOptions& o, const std::string& v) {
             auto d = ParseDrop(v);
             if (!d) return d.status();
             o.drops.push_back(*d);
             return Status::Ok();
         }},
        {"--swap-time", DurationSetter("--swap-time", &SimOptions::swapTime)},
        {"--wrong-speed",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--wrong-speed", v);
             if (!n) return n.status();
             if (*n < kSlowestBaud || *n > kFastestBaud || *n == kLineBaud) {
                 return Status::Error("--wrong-speed expects a baud rate from 50 to 115200 other than 2400, got '" +
                                      v + "'");
             }
             o.wrongSpeed = static_cast<int>(*n);
             return Status::Ok();
         }},
        {"--seed",
         [](SimOptions& o, const std::string& v) {
             auto n = ParseCount("--seed", v);
             if (!n) return n.status();
             o.seed = static_cast<unsigned>(*n);
             return Status::Ok();
         }},
    };
    return values;
}

}  // namespace

Result<ParsedOptions> ParseSimOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.helpRequested = true;
            continue;
        }
        if (auto sw = Switches().find(arg); sw != Switches().end()) {
            parsed.options.*(sw->second) = true;
            continue;
        }
        auto opt = ValueOptions().find(arg);
        if (opt == ValueOptions().end()) {
            return Status::Error("unknown option '" + arg + "'");
        }
        if (i + 1 >= args.size()) {
            return Status::Error(arg + " needs a value");
        }
        if (Status s = opt->second(parsed.options, args[++i]); !s) {
            return s;
        }
    }
    for (const UnitDrop& drop : parsed.options.drops) {
        if (drop.unit > parsed.options.units) return Status::Error("--drop-unit names a unit beyond --units");
    }
    if (parsed.options.byteTime.count() == 0) {
        return Status::Error("--byte-time-us must be at least 1");
    }
    return parsed;
}

std::string SimUsageText() {
    return R"(Usage: corvane-radio-sim [options]

A simulated hand-held radio on a pseudo-terminal. Prints the serial device
the programmer must open on the first line of standard output.

Port:
  --device PATH         use this existing device instead of a new pty pair
  --link PATH           create a symlink PATH to the device (e.g. DIR/ttyUSB0)
Memory:
  --memory FILE         keep the radio memory in FILE (read at start, written
                        after every complete write); default image if missing
  --received-image FILE write each complete received image to FILE
  --arrivals FILE       with each complete received image, write the arrival
                        time of each of its bytes to FILE (microseconds after
                        the first, one a line)
Timing:
  --reply-delay MS      delay before answering a connection request (150)
  --late-answer MS      same as --reply-delay, for answers after the wait
  --read-delay MS       pause between the read command and the image (200)
  --byte-time-us N      pace of the image burst per byte (4583 = 2400 8N2)
  --collect-timeout MS  abandon a write that stalls this long (2000)
Faults:
  --no-answer           never answer a connection request
  --malformed           answer with a bad end byte
  --foreign             answer with a well-formed frame that is not CONN
  --noise               send random bytes before each answer
  --short N             cut the image burst after N bytes
  --corrupt-read N      send image byte N damaged (bits inverted) in every
                        read; the memory itself keeps it
  --extra N             send N extra bytes after the image
  --pause-at N:MS       pause MS in the burst after N bytes
  --seed N              seed for --noise and --garbage (1)
Radios in turn:
  --units N             stand for N radios, one after the other, each with a
                        fresh memory (kept in FILE.1, FILE.2, ... with
                        --memory FILE); a radio leaves once it was written
                        and read back, and stays silent (unplugged) until
                        the next one is plugged in
  --drop-unit K:N       radio K goes away after N bytes of a write (repeatable)
  --swap-time MS        the next radio answers MS after the first connection
                        request that found none (3000)
Line fault modes (what corvane-cli doctor tells apart):
  --silent              hear nothing and answer nothing (a radio switched off)
  --echo                send every byte straight back and never answer (TX
                        and RX joined, or an echoing cable with no radio)
  --garbage             answer a connection request with random bytes that
                        form no frame (noise)
  --wrong-speed BAUD    answer at BAUD instead of 2400: the programmer reads
                        the bytes a 2400 baud receiver makes of it
  --foreign             (above) an answer that is not this radio's
Run:
  --log FILE            log received frames and transfers to FILE
  --once                exit after one complete write or read
  --exit-with-parent    end when the process that started it ends
  --help                this text
Ends on SIGTERM, SIGINT or SIGHUP and removes its link.
)";
}

}  // namespace corvane::sim
