#pragma once
// Where a window that belongs to another one opens: beside its owner where the
// screen has room, so the owner stays in sight, else centred over it; always
// wholly inside the usable area of the owner's screen.
#include <QMargins>
#include <QRect>

class QWidget;

namespace corvane {

// The frame rectangle of the given size: right of owner, else below it, where
// that lies wholly in available; otherwise centred over owner and moved (never
// resized) into available. One too big for it keeps its top-left corner, and
// so its title bar, on the screen.
QRect PlaceFrameNear(const QRect& owner, QSize frameSize, const QRect& available);

// Places a window that has not been shown yet near its owner's window.
void PlaceNearOwner(QWidget& window, const QWidget& owner);

}  // namespace corvane
