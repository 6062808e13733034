// The connection doctor, the cable names of the port chooser and the printed
// channel list as the page sees them.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "link/UsbChips.h"
#include "report/ChannelSheet.h"
#include "report/SheetHtml.h"
#include "report/SheetPages.h"
#include "session/ProgramSession.h"
#include "web/PageDoctor.h"

namespace corvane::web {
namespace {

// "FTDI FT232R, USB 0403:6001" from Web Serial's getInfo().
std::string UsbCable(int vendor, int product) {
    return UsbCableText(static_cast<uint16_t>(vendor), static_cast<uint16_t>(product));
}

// The sheet of the working set as the page's print view shows it; paper
// "a4" or "letter", the date from the page's clock.
std::string ChannelListHtml(ProgramSession& session, const std::string& paper, bool pocket, int year, int month,
                            int day) {
    const SheetFormat format{PaperFromName(paper).value_or(Paper::A4), pocket ? SheetLayout::Pocket : SheetLayout::Table};
    return ChannelSheetHtml(BuildChannelSheet(session.Ws(), SheetDate(year, month, day)), format);
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_doctor) {
    using namespace corvane::web;
    using emscripten::class_;
    using emscripten::function;
    using emscripten::optional_override;

    function("usbCableText", &UsbCable);
    function("channelListHtml", &ChannelListHtml);

    class_<PageDoctor>("ConnectionDoctor")
        .constructor<>()
        .function("setSerialBridge", &PageDoctor::SetSerialBridge)
        .function("setListener", &PageDoctor::SetListener)
        .function("setWakeCallback", &PageDoctor::SetWakeCallback)
        .function("start", &PageDoctor::Start)
        .function("bytesReceived", optional_override([](PageDoctor& d, emscripten::val bytes) {
                      d.BytesReceived(emscripten::convertJSArrayToNumberVector<uint8_t>(bytes));
                  }))
        .function("portFailure", &PageDoctor::PortFailure)
        .function("openFailed", &PageDoctor::OpenFailed)
        .function("service", &PageDoctor::Service)
        .function("nextDeadline", &PageDoctor::NextDeadline)
        .function("running", &PageDoctor::Running);
}
