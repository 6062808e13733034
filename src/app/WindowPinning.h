#pragma once
// Keeps a top-level window above the others without moving or resizing it.
class QWidget;

namespace corvane {

void PinAboveOthers(QWidget& window, bool pinned);

}  // namespace corvane
