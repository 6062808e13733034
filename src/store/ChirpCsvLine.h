#pragma once
// One CHIRP CSV data line turned into channel cell texts, or the reason the
// line cannot become a channel of this radio.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"

namespace corvane::chirpcsv {

// Column positions by header name; unknown names are kept but never asked for.
class CsvHeader {
public:
    explicit CsvHeader(const std::vector<std::string>& names);
    bool Has(std::string_view name) const { return positions_.count(std::string(name)) > 0; }
    std::size_t Width() const { return width_; }
    // The trimmed field, or nullopt when the file has no such column.
    std::optional<std::string_view> Get(const std::vector<std::string>& fields, std::string_view name) const;

private:
    std::map<std::string, std::size_t, std::less<>> positions_;
    std::size_t width_ = 0;
};

struct ImportedChannel {
    int location = 0;
    std::string rxFreq;
    std::string txFreq;
    std::string ctcss;
    std::string dcs;
    std::string scan;
    std::string band;
    std::string power;
};

// The channel of one data line; the error message is the reason to skip it.
Result<ImportedChannel> ParseChannelLine(const CsvHeader& header, const std::vector<std::string>& fields,
                                         int16_t edition);

}  // namespace corvane::chirpcsv
