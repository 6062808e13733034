#include "store/DifferencesCsv.h"

#include "store/ChirpCsvFields.h"

namespace corvane {
namespace {

std::string Row(std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (const std::string_view field : fields) {
        line += (first ? "" : ",") + chirpcsv::CsvField(field);
        first = false;
    }
    return line + std::string(chirpcsv::kCsvLineEnd);
}

}  // namespace

std::string DifferencesCsv(const std::vector<Difference>& differences, std::string_view leftTitle,
                           std::string_view rightTitle) {
    std::string text = Row({"channel", "field", leftTitle, rightTitle});
    for (const Difference& d : differences) {
        const std::string channel = d.channel == 0 ? std::string() : std::to_string(d.channel);
        text += Row({channel, d.field, d.left, d.right});
    }
    return text;
}

}  // namespace corvane
