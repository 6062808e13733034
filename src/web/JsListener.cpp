#include "web/JsListener.h"

namespace corvane::web {

const char* ColourName(StatusColour colour) { return colour == StatusColour::Blue ? "blue" : "red"; }

const char* MessageKindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Exclamation: return "exclamation";
        case MessageKind::Warning: return "warning";
        case MessageKind::Information: break;
    }
    return "information";
}

template <typename... Args>
void JsListener::Notify(const char* method, Args&&... args) {
    if (target_.isUndefined() || target_.isNull()) return;
    if (target_[method].isUndefined()) return;
    target_.call<void>(method, std::forward<Args>(args)...);
}

void JsListener::OnLinkStatus(const std::string& text, StatusColour colour) {
    Notify("onLinkStatus", text, std::string(ColourName(colour)));
}
void JsListener::OnWriteReadEnabled(bool enabled) { Notify("onWriteReadEnabled", enabled); }
void JsListener::OnTransferButtonsEnabled(bool enabled) { Notify("onTransferButtonsEnabled", enabled); }
void JsListener::OnPortInUse(bool inUse) { Notify("onPortInUse", inUse); }
void JsListener::OnProgress(int value) { Notify("onProgress", value); }
void JsListener::OnMessage(const std::string& text, MessageKind kind) {
    Notify("onMessage", text, std::string(MessageKindName(kind)));
}
void JsListener::OnCloseCellEditors() { Notify("onCloseCellEditors"); }
void JsListener::OnPortNameChanged() { Notify("onPortNameChanged"); }
// The page opens the read's undo step here; the image itself stays in the core.
void JsListener::OnImageReceived(std::span<const uint8_t> /*image*/) { Notify("onImageReceived"); }
void JsListener::OnImageAccepted() { Notify("onImageAccepted"); }
void JsListener::OnImageForCompare(std::span<const uint8_t> image) {
    const emscripten::val view(emscripten::typed_memory_view(image.size(), image.data()));
    Notify("onImageForCompare", view.call<emscripten::val>("slice"));
}
void JsListener::OnBackupSaved(const std::string& path) { Notify("onBackupSaved", path); }
void JsListener::OnBackupFailed(const std::string& text) { Notify("onBackupFailed", text); }

}  // namespace corvane::web
