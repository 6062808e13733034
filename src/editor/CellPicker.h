#pragma once
// A picker that floats over a grid cell (Combo1..Combo7). It changes a value
// only when the user picks one: its list opens with it, a click on an entry
// or Enter on the highlighted one picks, and nothing else does - no arrow
// key, letter or wheel notch on the closed box selects silently. Closing the
// list closes the picker; keys that move in the grid leave it for the grid;
// the wheel over it scrolls the grid.
#include <QComboBox>

class QAbstractScrollArea;

namespace corvane {

class CellPicker final : public QComboBox {
    Q_OBJECT
public:
    // scrollTarget receives the wheel turned over the closed picker.
    CellPicker(QAbstractScrollArea& scrollTarget, QWidget* parent);

    void hidePopup() override;

signals:
    // The list closed, picked or not; a pick's activated() follows.
    void listClosed();
    // A key that moves the grid's current cell; the picker is to close.
    void gridKeyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractScrollArea& scrollTarget_;
};

}  // namespace corvane
