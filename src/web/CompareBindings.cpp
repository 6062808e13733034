// The compare window's table in the page: the working set against an image
// the radio or a file holds, with the count and the CSV the desktop saves.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "link/SetComparison.h"
#include "session/ProgramSession.h"
#include "store/DifferencesCsv.h"

namespace corvane::web {
namespace {

using emscripten::val;

// { ok, message, count ("3 differences"), rows: [[channel, field, program, other]], csv }
val CompareWithImage(ProgramSession& session, const val& bytes, const std::string& otherTitle) {
    const std::vector<uint8_t> image = emscripten::convertJSArrayToNumberVector<uint8_t>(bytes);
    const Result<std::vector<Difference>> differences = CompareSetWithImage(session.Ws(), image);
    val out = val::object();
    out.set("ok", differences.ok());
    out.set("message", differences.ok() ? std::string() : differences.message());
    val rows = val::array();
    if (!differences.ok()) {
        out.set("rows", rows);
        return out;
    }
    const auto shown = [](const std::string& value) { return value.empty() ? std::string(kEmptyValueText) : value; };
    for (const Difference& d : *differences) {
        val row = val::array();
        row.call<void>("push", d.channel == 0 ? std::string() : std::to_string(d.channel));
        row.call<void>("push", d.field);
        row.call<void>("push", shown(d.left));
        row.call<void>("push", shown(d.right));
        rows.call<void>("push", row);
    }
    out.set("rows", rows);
    out.set("count", DifferenceCountText(differences->size()));
    out.set("csv", DifferencesCsv(*differences, kProgramSideTitle, otherTitle));
    return out;
}

val CompareTexts() {
    val texts = val::object();
    texts.set("channel", std::string(kChannelColumnTitle));
    texts.set("field", std::string(kFieldColumnTitle));
    texts.set("program", std::string(kProgramSideTitle));
    texts.set("radio", std::string(kRadioSideTitle));
    texts.set("file", std::string(kFileSideTitle));
    texts.set("nothingToWrite", std::string(kNothingToWriteText));
    return texts;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_compare) {
    emscripten::function("compareWithImage", &corvane::web::CompareWithImage);
    emscripten::function("compareTexts", &corvane::web::CompareTexts);
}
