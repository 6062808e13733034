// The setup and group windows as the page sees them.
#include <emscripten/bind.h>

#include "session/ProgramSession.h"
#include "web/FormWindows.h"

EMSCRIPTEN_BINDINGS(corvane_forms) {
    using corvane::ProgramSession;
    using namespace corvane::web;
    using emscripten::class_;

    class_<SettingsWindow>("SettingsWindow")
        .constructor<ProgramSession&>()
        .class_function("layout", &SettingsWindow::Layout)
        .class_function("textAccepted", &SettingsWindow::TextAccepted)
        .function("open", &SettingsWindow::Open)
        .function("pressOk", &SettingsWindow::PressOk)
        .function("pressReset", &SettingsWindow::PressReset)
        .function("close", &SettingsWindow::Close);

    class_<GroupWindow>("GroupWindow")
        .constructor<ProgramSession&>()
        .class_function("layout", &GroupWindow::Layout)
        .function("open", &GroupWindow::Open)
        .function("run", &GroupWindow::Run)
        .function("followWorkspace", &GroupWindow::FollowWorkspace);
}
