// The setup and group windows as the page sees them.
#include <emscripten/bind.h>

#include "web/FormWindows.h"
#include "web/ProgramSession.h"

EMSCRIPTEN_BINDINGS(corvane_forms) {
    using namespace corvane::web;
    using emscripten::class_;

    class_<SetupWindow>("SetupWindow")
        .constructor<ProgramSession&>()
        .class_function("layout", &SetupWindow::Layout)
        .class_function("textAccepted", &SetupWindow::TextAccepted)
        .function("open", &SetupWindow::Open)
        .function("pressOk", &SetupWindow::PressOk)
        .function("pressReset", &SetupWindow::PressReset)
        .function("close", &SetupWindow::Close);

    class_<GroupWindow>("GroupWindow")
        .constructor<ProgramSession&>()
        .class_function("layout", &GroupWindow::Layout)
        .function("open", &GroupWindow::Open)
        .function("run", &GroupWindow::Run);
}
