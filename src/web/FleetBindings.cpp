// Port > Program Several Radios... for the page: the fleet session's calls.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/FleetSession.h"

EMSCRIPTEN_BINDINGS(corvane_fleet) {
    using namespace corvane;
    using namespace corvane::web;
    using emscripten::optional_override;
    using emscripten::val;

    emscripten::class_<FleetSession>("FleetSession")
        .constructor<ProgramSession&>()
        .function("setSerialBridge", &FleetSession::SetSerialBridge)
        .function("setListener", &FleetSession::SetListener)
        .function("loadUnitsCsv", &FleetSession::LoadUnitsCsv)
        .function("units", optional_override([](const FleetSession& s) {
                      val out = val::array();
                      for (const FleetUnit& unit : s.Units()) {
                          val row = val::array();
                          row.call<void>("push", unit.label);
                          row.call<void>("push", unit.nameId);
                          row.call<void>("push", unit.dtmfId);
                          out.call<void>("push", row);
                      }
                      return out;
                  }))
        .function("start", optional_override([](FleetSession& s, val devices) {
                      return s.Start(emscripten::vecFromJSArray<std::string>(devices));
                  }))
        .function("stop", &FleetSession::Stop)
        .function("running", &FleetSession::Running)
        .function("prompt", &FleetSession::Prompt)
        .function("logPath", &FleetSession::LogPath)
        .function("bytesReceived", optional_override([](FleetSession& s, val bytes) {
                      s.BytesReceived(emscripten::convertJSArrayToNumberVector<uint8_t>(bytes));
                  }))
        .function("lineError", &FleetSession::LineError)
        .function("portFailure", &FleetSession::PortFailure)
        .function("service", &FleetSession::Service)
        .function("nextDeadline", &FleetSession::NextDeadline);
}
