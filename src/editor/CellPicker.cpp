#include "editor/CellPicker.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QWheelEvent>

namespace corvane {

namespace {

constexpr int kVisibleEntries = 20;

// Styles that show a combo box's list as a menu (Fusion does) ignore the
// number of visible entries, so the 209 DCS codes covered the whole screen;
// a plain scrolling list honours it.
class ScrollingListStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle& SharedScrollingListStyle() {
    static ScrollingListStyle* style = [] {
        auto* created = new ScrollingListStyle;
        created->setParent(qApp);  // goes with the application
        return created;
    }();
    return *style;
}

bool MovesInGrid(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// Inside the open list Up/Down/PgUp/PgDn/Home/End move the highlight; only
// the sideways keys leave it for the grid.
bool LeavesOpenList(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

}  // namespace

CellPicker::CellPicker(QAbstractScrollArea& scrollTarget, QWidget* parent)
    : QComboBox(parent), scrollTarget_(scrollTarget) {
    setStyle(&SharedScrollingListStyle());
    setMaxVisibleItems(kVisibleEntries);
    view()->installEventFilter(this);
}

void CellPicker::hidePopup() {
    const bool wasOpen = view()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen) emit listClosed();
}

void CellPicker::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    event->accept();
    if (key == Qt::Key_Escape) {
        emit listClosed();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_F4 ||
               (alt && (key == Qt::Key_Down || key == Qt::Key_Up))) {
        showPopup();
    } else if (MovesInGrid(key)) {
        emit gridKeyPressed(key, event->modifiers());
    }
    // Letters and everything else: the closed picker selects nothing by itself.
}

void CellPicker::wheelEvent(QWheelEvent* event) {
    QWidget* target = scrollTarget_.viewport();
    QWheelEvent forwarded(target->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                          event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                          event->phase(), event->inverted());
    QApplication::sendEvent(target, &forwarded);
    event->accept();
}

// Tab never reaches keyPressEvent: the widget hands it to the focus chain first.
bool CellPicker::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            emit gridKeyPressed(key->key(), key->modifiers());
            return true;
        }
    }
    return QComboBox::event(event);
}

bool CellPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (LeavesOpenList(key->key())) {
            const int pressed = key->key();
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            hidePopup();
            emit gridKeyPressed(pressed, modifiers);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace corvane
