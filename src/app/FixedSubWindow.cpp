#include "app/FixedSubWindow.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTimer>

namespace corvane {

FixedSubWindow::FixedSubWindow(QWidget* parent)
    : QMdiSubWindow(parent, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setSystemMenu(nullptr);  // its Move, Size, Minimize, ... commands go with it
}

// The frame and title bar take no drag, resize or click; the controls inside
// get their own mouse events as before.
void FixedSubWindow::mousePressEvent(QMouseEvent* event) { event->accept(); }
void FixedSubWindow::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void FixedSubWindow::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void FixedSubWindow::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void FixedSubWindow::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void FixedSubWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    // Nothing offers minimise, maximise or shade; should anything still ask, go back.
    if (event->type() == QEvent::WindowStateChange && (isMinimized() || isMaximized() || isShaded())) {
        QTimer::singleShot(0, this, &QMdiSubWindow::showNormal);
    }
}

}  // namespace corvane
