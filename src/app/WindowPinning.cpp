#include "app/WindowPinning.h"

#include <QWidget>

namespace corvane {

void PinAboveOthers(QWidget& window, bool pinned) {
    const bool wasVisible = window.isVisible();
    const QRect geometry = window.geometry();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, pinned);
    // Changing a flag hides the window; put it back where it was.
    if (wasVisible) {
        window.setGeometry(geometry);
        window.show();
    }
}

}  // namespace corvane
