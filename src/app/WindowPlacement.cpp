#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace corvane {

namespace {

// Title bar and borders the window manager draws around a shown top-level
// window. One not shown yet has none known, so it is given its owner's.
QMargins DecorationOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

int Clamp(int start, int length, int areaStart, int areaLength) {
    // std::clamp needs low <= high; a window longer than the area starts at its start.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

}  // namespace

QRect PlaceFrameNear(const QRect& owner, QSize frameSize, const QRect& available) {
    for (const QPoint beside : {owner.topRight() + QPoint(1, 0), owner.bottomLeft() + QPoint(0, 1)}) {
        const QRect frame(beside, frameSize);
        if (available.contains(frame)) return frame;
    }
    QRect frame(QPoint(0, 0), frameSize);
    frame.moveCenter(owner.center());
    frame.moveTo(Clamp(frame.left(), frame.width(), available.left(), available.width()),
                 Clamp(frame.top(), frame.height(), available.top(), available.height()));
    return frame;
}

void PlaceNearOwner(QWidget& window, const QWidget& owner) {
    if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();  // the size show() would give it
    const QScreen* screen = owner.screen() != nullptr ? owner.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QMargins decoration = DecorationOf(owner);
    const QRect frame = PlaceFrameNear(owner.frameGeometry(), window.size().grownBy(decoration),
                                       screen->availableGeometry());
    window.setGeometry(frame.marginsRemoved(decoration));
}

}  // namespace corvane
