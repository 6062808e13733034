#pragma once
// Where a window that belongs to another one opens: centred over its owner,
// and always wholly inside the usable area of the owner's screen.
#include <QMargins>
#include <QRect>

class QWidget;

namespace corvane {

// The frame rectangle of the given size centred over owner, moved (never
// resized) into available; one too big for it keeps its top-left corner, and
// so its title bar, on the screen.
QRect PlaceFrameOver(const QRect& owner, QSize frameSize, const QRect& available);

// Places a window that has not been shown yet over its owner's window.
void PlaceOverOwner(QWidget& window, const QWidget& owner);

}  // namespace corvane
