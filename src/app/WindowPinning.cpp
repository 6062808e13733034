#include "app/WindowPinning.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace corvane {

namespace {

bool IsPinned(const QWidget& window) { return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// A window the user sees and works in: not a menu, list or tool tip.
bool IsShownProgramWindow(const QWidget* window, const QWidget& box) {
    if (window == nullptr || window == &box || !window->isVisible() || !window->isWindow()) return false;
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen;
}

QWidget* ShownPinnedWindow(const QWidget& box) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (IsShownProgramWindow(window, box) && IsPinned(*window)) return window;
    }
    return nullptr;
}

// Sets the box's place in the window stack before the platform shows it:
// the show event comes first, so nothing flickers and no flag change hides it.
void StackAboveProgram(QWidget& box) {
    QWindow* handle = box.windowHandle();
    if (handle == nullptr) return;
    if (QWidget* owner = ModalStackingOwner(box)) {
        if (QWindow* ownerHandle = owner->windowHandle()) handle->setTransientParent(ownerHandle);
    }
    if (ShownPinnedWindow(box) != nullptr && !IsPinned(box)) {
        box.overrideWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
        handle->setFlags(box.windowFlags());
    }
    QTimer::singleShot(0, &box, [target = QPointer<QWidget>(&box)] {
        if (!target || !target->isVisible()) return;
        target->raise();
        target->activateWindow();
    });
}

class ModalStacking final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::WindowActivate) && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (!widget->isWindow() || !widget->isModal()) return QObject::eventFilter(watched, event);
            if (type == QEvent::Show) StackAboveProgram(*widget);
            // A click on a blocked pinned window raises it over the box; the
            // focus then comes back to the box, and the box back to the top.
            if (type == QEvent::WindowActivate) widget->raise();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

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

void KeepModalsAboveProgram() {
    static QPointer<QObject> installed;  // one per application object
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || installed != nullptr) return;
    installed = new ModalStacking(app);
    app->installEventFilter(installed);
}

QWidget* ModalStackingOwner(const QWidget& box) {
    // A pinned window first: the window manager keeps a box above the window it belongs to.
    QWidget* active = QApplication::activeWindow();
    if (IsShownProgramWindow(active, box) && IsPinned(*active)) return active;
    if (QWidget* pinned = ShownPinnedWindow(box)) return pinned;
    return IsShownProgramWindow(active, box) ? active : nullptr;
}

}  // namespace corvane
