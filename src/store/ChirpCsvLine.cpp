#include "store/ChirpCsvLine.h"

#include <algorithm>

#include "model/ChannelTable.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"
#include "store/ChirpCsvFields.h"

namespace corvane::chirpcsv {
namespace {

constexpr std::array<std::string_view, 4> kPolarities = {"NN", "NR", "RN", "RR"};
constexpr std::size_t kReceivePolarity = 1;  // CHIRP writes TX then RX polarity

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

Status Skip(std::string reason) { return Status::Error(std::move(reason)); }

std::optional<std::string> FrequencyProblem(std::string_view what, int64_t hertz) {
    const std::string shown = std::string(what) + " " + FormatHertz(hertz) + " MHz";
    if (hertz < kLowestFrequencyHz || hertz > kHighestFrequencyHz) return shown + " is outside 420 to 450 MHz";
    if (hertz % kChannelRasterHz != 0) return shown + " is off the 6.25 kHz raster";
    return std::nullopt;
}

// A frequency text that is a number, but not one of whole hertz in range.
std::string NotExactProblem(std::string_view what, std::string_view text) {
    const std::string shown = std::string(what) + " " + std::string(text) + " MHz";
    switch (WhyNotMegahertz(text)) {
        case NotMegahertz::FinerThanAHertz: return shown + " is off the 6.25 kHz raster";
        case NotMegahertz::OutOfRange: return shown + " is outside 420 to 450 MHz";
        case NotMegahertz::NotANumber: break;
    }
    return std::string(what) + " " + Quoted(text) + " is not a number";
}

Result<int> ParseLocation(std::optional<std::string_view> text) {
    const auto number = ParseWholeNumber(text.value_or(""));
    if (!number) return Skip("location " + Quoted(text.value_or("")) + " is not a number");
    if (*number < 1 || *number > kChannelCount) {
        return Skip("location " + std::to_string(*number) + " is outside 1 to " + std::to_string(kChannelCount));
    }
    return *number;
}

Result<int64_t> ParseReceive(std::optional<std::string_view> text) {
    if (!text || text->empty()) return Skip("no frequency");
    const auto hertz = ParseMegahertz(*text);
    if (!hertz) return Skip(NotExactProblem("frequency", Trimmed(*text)));
    if (auto problem = FrequencyProblem("frequency", *hertz)) return Skip(*problem);
    return *hertz;
}

// Transmit hertz from Duplex and Offset; 0 when transmit is off.
Result<int64_t> ParseTransmit(const CsvHeader& header, const std::vector<std::string>& fields, int64_t rxHertz) {
    const std::string_view duplex = header.Get(fields, "Duplex").value_or("");
    if (duplex.empty()) return rxHertz;
    if (duplex == "off") return int64_t{0};
    if (duplex != "+" && duplex != "-" && duplex != "split") {
        return Skip("duplex " + Quoted(duplex) + " is not supported");
    }
    const std::string_view offsetText = header.Get(fields, "Offset").value_or("0");
    const auto offset = ParseMegahertz(offsetText.empty() ? "0" : offsetText);
    if (!offset) {
        if (WhyNotMegahertz(offsetText) == NotMegahertz::NotANumber) return Skip("offset " + Quoted(offsetText) + " is not a number");
        return Skip("transmit frequency with offset " + std::string(Trimmed(offsetText)) + " MHz is " +
                    (WhyNotMegahertz(offsetText) == NotMegahertz::FinerThanAHertz ? "off the 6.25 kHz raster" : "outside 420 to 450 MHz"));
    }
    int64_t txHertz = *offset;
    if (duplex == "+") txHertz = rxHertz + *offset;
    if (duplex == "-") txHertz = rxHertz - *offset;
    if (auto problem = FrequencyProblem("transmit frequency", txHertz)) return Skip(*problem);
    return txHertz;
}

// A tone column; when the file has only one of the two, CHIRP uses it for both.
std::string_view ToneText(const CsvHeader& header, const std::vector<std::string>& fields, std::string_view name,
                          std::string_view other) {
    auto text = header.Get(fields, name);
    if (!text) text = header.Get(fields, other);
    return text && !text->empty() ? *text : kDefaultToneText;
}

Result<std::string> CtcssLabelOf(std::string_view text) {
    const auto tenths = ParseTenths(text);
    const int code = tenths ? CtcssCodeOfTenths(*tenths) : 0;
    if (code == 0) return Skip("tone " + std::string(text) + " Hz is not in this radio's CTCSS list");
    return CtcssLabel(code);
}

Result<std::string> DcsLabelOf(const CsvHeader& header, const std::vector<std::string>& fields, int16_t edition) {
    std::string_view polarity = header.Get(fields, "DtcsPolarity").value_or("");
    if (polarity.empty()) polarity = kDefaultPolarity;
    if (std::find(kPolarities.begin(), kPolarities.end(), polarity) == kPolarities.end()) {
        return Skip("DTCS polarity " + Quoted(polarity) + " is not supported");
    }
    std::string_view codeText = header.Get(fields, "DtcsCode").value_or("");
    if (codeText.empty()) codeText = kDefaultDtcsCode;
    const auto number = ParseWholeNumber(codeText);
    std::string digits = number ? std::to_string(*number) : std::string();
    if (digits.size() < kDcsDigits) digits.insert(0, kDcsDigits - digits.size(), '0');
    const bool inverted = polarity[kReceivePolarity] == 'R';
    const int code = number ? DcsCodeOf(digits, inverted, edition) : 0;
    if (code == 0) return Skip("DCS code " + std::string(codeText) + " is not in this radio's DCS list");
    return DcsLabel(code, edition);
}

Status ParseTone(const CsvHeader& header, const std::vector<std::string>& fields, int16_t edition,
                 ImportedChannel& channel) {
    channel.ctcss = std::string(kCtcssOff);
    channel.dcs = std::string(kDcsOff);
    const std::string_view mode = header.Get(fields, "Tone").value_or("");
    if (mode.empty()) return Status::Ok();
    if (mode == "Tone" || mode == "TSQL") {
        // One tone per channel: the transmit tone for Tone, the squelch tone for TSQL.
        const auto label = mode == "Tone" ? CtcssLabelOf(ToneText(header, fields, "rToneFreq", "cToneFreq"))
                                          : CtcssLabelOf(ToneText(header, fields, "cToneFreq", "rToneFreq"));
        if (!label) return label.status();
        channel.ctcss = *label;
        return Status::Ok();
    }
    if (mode == "DTCS") {
        const auto label = DcsLabelOf(header, fields, edition);
        if (!label) return label.status();
        channel.dcs = *label;
        return Status::Ok();
    }
    return Skip("tone mode " + Quoted(mode) + " is not supported");
}

Result<std::string_view> ParseBand(std::optional<std::string_view> mode) {
    if (!mode || mode->empty() || *mode == "FM") return kWide;
    if (*mode == "NFM") return kNarrow;
    return Skip("mode " + Quoted(*mode) + " is not supported (FM or NFM only)");
}

// Any value of a watt or more is High; names are taken as written.
std::string_view PowerWord(std::string_view text) {
    if (text.empty()) return kHigh;
    const char first = text.front();
    if ((first >= '0' && first <= '9') || first == '.') {
        return LenientNumber(text) >= kHighPowerThresholdWatts ? kHigh : kLow;
    }
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.rfind("low", 0) == 0 ? kLow : kHigh;
}

}  // namespace

CsvHeader::CsvHeader(const std::vector<std::string>& names) : width_(names.size()) {
    for (std::size_t i = 0; i < names.size(); ++i) positions_.emplace(std::string(Trimmed(names[i])), i);
}

std::optional<std::string_view> CsvHeader::Get(const std::vector<std::string>& fields, std::string_view name) const {
    const auto found = positions_.find(name);
    if (found == positions_.end() || found->second >= fields.size()) return std::nullopt;
    return Trimmed(fields[found->second]);
}

Result<ImportedChannel> ParseChannelLine(const CsvHeader& header, const std::vector<std::string>& fields,
                                         int16_t edition) {
    if (fields.size() < header.Width()) {
        return Skip("has " + std::to_string(fields.size()) + " fields where the header has " +
                    std::to_string(header.Width()));
    }
    ImportedChannel channel;
    const auto location = ParseLocation(header.Get(fields, "Location"));
    if (!location) return location.status();
    channel.location = *location;

    const auto rxHertz = ParseReceive(header.Get(fields, "Frequency"));
    if (!rxHertz) return rxHertz.status();
    const auto txHertz = ParseTransmit(header, fields, *rxHertz);
    if (!txHertz) return txHertz.status();
    channel.rxFreq = HertzToFrequencyText(*rxHertz);
    channel.txFreq = HertzToFrequencyText(*txHertz);

    if (Status tone = ParseTone(header, fields, edition, channel); !tone) return tone;
    const auto band = ParseBand(header.Get(fields, "Mode"));
    if (!band) return band.status();
    channel.band = std::string(*band);

    const std::string_view skip = header.Get(fields, "Skip").value_or("");
    channel.scan = std::string(skip == "S" || skip == "P" ? kNo : kYes);
    channel.power = std::string(PowerWord(header.Get(fields, "Power").value_or("")));
    return channel;
}

}  // namespace corvane::chirpcsv
