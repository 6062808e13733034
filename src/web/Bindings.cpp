// The page's view of the core: one session class, the demo radio and the
// grid's fixed geometry. Every rule stays in C++; these only pass values.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "model/ChannelTable.h"
#include "web/DemoRadio.h"
#include "web/JsBytes.h"
#include "web/PageSession.h"

namespace corvane::web {
namespace {

std::vector<std::string> StringsOf(const emscripten::val& array) {
    return emscripten::vecFromJSArray<std::string>(array);
}

emscripten::val GridGeometry() {
    emscripten::val geometry = emscripten::val::object();
    geometry.set("rows", kRowCount);
    geometry.set("columns", kColumnCount);
    geometry.set("fixedRows", kFixedRowCount);
    geometry.set("fixedColumns", kFixedColumnCount);
    return geometry;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane) {
    using corvane::ProgramSession;
    using namespace corvane::web;
    using emscripten::class_;
    using emscripten::function;
    using emscripten::optional_override;

    function("gridGeometry", &GridGeometry);

    // The session of the core, and the page's run of it that the page constructs.
    class_<ProgramSession>("ProgramRun")
        .function("setVerifyAfterWrite", &ProgramSession::SetVerifyAfterWrite)
        .function("openReadOnly", &ProgramSession::OpenReadOnly)
        .function("loadAccessWindow", optional_override([](ProgramSession& s) { return s.LoadAccessWindow().message; }))
        .function("startRefused", &ProgramSession::StartRefused)
        .function("exitProgram", optional_override([](ProgramSession& s) { return s.ExitProgram().message(); }))
        .function("endProgram", &ProgramSession::EndProgram)
        .function("closeEditor", optional_override([](ProgramSession& s) { return s.CloseEditor().message(); }))
        .function("caption", &ProgramSession::Caption)
        .function("cell", &ProgramSession::Cell)
        .function("portName", optional_override([](const ProgramSession& s) { return s.PortName(); }))
        .function("channelMode", &ProgramSession::ChannelMode)
        .function("edition", &ProgramSession::Edition)
        .function("backupFolder", &ProgramSession::BackupFolder)
        .function("editing", &ProgramSession::Editing, emscripten::allow_raw_pointers())
        .function("reconnectPort", &ProgramSession::ReconnectPort)
        .function("releasePort", &ProgramSession::ReleasePort)
        .function("startAutoDetect", &ProgramSession::StartAutoDetect)
        .function("requestWrite", &ProgramSession::RequestWrite)
        .function("requestRead", &ProgramSession::RequestRead)
        .function("requestCompareRead", &ProgramSession::RequestCompareRead)
        .function("bytesReceived",
                  optional_override([](ProgramSession& s, emscripten::val bytes) { s.BytesReceived(BytesOf(bytes)); }))
        .function("lineError", &ProgramSession::LineError)
        .function("portFailure", &ProgramSession::PortFailure)
        .function("service", &ProgramSession::Service)
        .function("nextDeadline", &ProgramSession::NextDeadline)
        .function("connected", &ProgramSession::Connected)
        .function("transferring", &ProgramSession::Transferring)
        .function("portInUse", &ProgramSession::PortInUse)
        .function("autoDetectRunning", &ProgramSession::AutoDetectRunning);

    class_<PageSession, emscripten::base<ProgramSession>>("ProgramSession")
        .constructor<std::string>()
        .function("setSerialBridge", &PageSession::SetSerialBridge)
        .function("setListener", &PageSession::SetListener)
        .function("setWakeCallback", &PageSession::SetWakeCallback)
        .function("setStorageMirror", &PageSession::SetStorageMirror)
        .function("setSaveListener", &PageSession::SetSaveListener)
        .function("enterAccessCode", &PageSession::EnterAccessCodeNamed)
        .function("openFrame", optional_override([](PageSession& s, emscripten::val devices) {
                      return s.OpenFrameOn(StringsOf(devices));
                  }))
        .function("setDevices",
                  optional_override([](PageSession& s, emscripten::val devices) { s.SetDevices(StringsOf(devices)); }))
        .function("lastSaveProblem", optional_override([](const PageSession& s) { return s.LastSaveProblem(); }));

    class_<DemoRadio>("DemoRadio")
        .constructor<std::string>()
        .function("setOutput", &DemoRadio::SetOutput)
        .function("receive", optional_override([](DemoRadio& radio, emscripten::val bytes, double nowMs) {
                      radio.Receive(BytesOf(bytes), nowMs);
                  }))
        .function("tick", &DemoRadio::Tick)
        .function("nextDeadline", &DemoRadio::NextDeadline)
        .function("completedTransfers", &DemoRadio::CompletedTransfers);
}
