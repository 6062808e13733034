#pragma once
// Hands what the link engine reports to the page, one JavaScript method per
// event; a method the page leaves out is skipped.
#include <emscripten/val.h>

#include "link/LinkListener.h"

namespace corvane::web {

class JsListener : public LinkListener {
public:
    void SetTarget(emscripten::val target) { target_ = std::move(target); }

    void OnLinkStatus(const std::string& text, StatusColour colour) override;
    void OnWriteReadEnabled(bool enabled) override;
    void OnTransferButtonsEnabled(bool enabled) override;
    void OnPortInUse(bool inUse) override;
    void OnProgress(int value) override;
    void OnMessage(const std::string& text, MessageKind kind) override;
    void OnCloseCellEditors() override;
    void OnPortNameChanged() override;
    void OnImageReceived(std::span<const uint8_t> image) override;
    void OnImageAccepted() override;
    void OnImageForCompare(std::span<const uint8_t> image) override;
    void OnBackupSaved(const std::string& path) override;
    void OnBackupFailed(const std::string& text) override;

private:
    template <typename... Args>
    void Notify(const char* method, Args&&... args);

    emscripten::val target_ = emscripten::val::undefined();
};

// The names the page sees for the engine's enums.
const char* ColourName(StatusColour colour);
const char* MessageKindName(MessageKind kind);

}  // namespace corvane::web
