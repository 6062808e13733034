#pragma once
// A table view whose first columns stay put while the rest scrolls sideways,
// built the usual Qt way: a second view laid over the left edge sharing the
// model, the selection and the row heights.
#include <QTableView>

namespace corvane {

class FrozenColumnTableView final : public QTableView {
    Q_OBJECT
public:
    FrozenColumnTableView(int frozenColumns, QWidget* parent = nullptr);

    // Call instead of setModel(): attaches the overlay to the same model.
    void SetSourceModel(QAbstractItemModel* model);
    QTableView* FrozenView() const { return frozen_; }
    int FrozenColumnCount() const { return frozenColumns_; }
    // Width of the fixed columns in pixels.
    int FrozenWidth() const;
    // Height of the column title row, in both views.
    void SetHeaderHeight(int pixels);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A character typed while the grid has the focus (Enter is 13, Space 32).
    void keyTyped(int code);
    // The contents moved in either direction.
    void scrolled();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateFrozenGeometry();
    void OnSectionWidthChanged(int logicalIndex, int oldSize, int newSize);

    int frozenColumns_;
    QTableView* frozen_;
    // A mouse button is down on a cell: the grid keeps still until it is
    // released, so the cell under the pointer stays the one clicked.
    bool pressed_ = false;
};

}  // namespace corvane
