#include "editor/FrozenColumnTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace corvane {

FrozenColumnTableView::FrozenColumnTableView(int frozenColumns, QWidget* parent)
    : QTableView(parent), frozenColumns_(frozenColumns), frozen_(new QTableView(this)) {
    frozen_->setObjectName(QStringLiteral("FrozenColumns"));
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setSelectionMode(QAbstractItemView::SingleSelection);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    viewport()->stackUnder(frozen_);

    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAutoScroll(false);
    verticalHeader()->hide();

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenColumnTableView::OnSectionWidthChanged);
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int logicalIndex, int, int newSize) { frozen_->setRowHeight(logicalIndex, newSize); });
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this, &FrozenColumnTableView::scrolled);
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, &FrozenColumnTableView::scrolled);
}

void FrozenColumnTableView::SetSourceModel(QAbstractItemModel* model) {
    setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    for (int col = 0; col < model->columnCount(); ++col) frozen_->setColumnHidden(col, col >= frozenColumns_);
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen_->verticalHeader()->setMinimumSectionSize(verticalHeader()->minimumSectionSize());
    UpdateFrozenGeometry();
    frozen_->show();
}

int FrozenColumnTableView::FrozenWidth() const {
    int width = 0;
    for (int col = 0; col < frozenColumns_; ++col) width += columnWidth(col);
    return width;
}

void FrozenColumnTableView::SetHeaderHeight(int pixels) {
    for (QHeaderView* header : {horizontalHeader(), frozen_->horizontalHeader()}) {
        header->setMinimumHeight(pixels);
        header->setMaximumHeight(pixels);
    }
    UpdateFrozenGeometry();
}

void FrozenColumnTableView::OnSectionWidthChanged(int logicalIndex, int, int newSize) {
    if (logicalIndex >= frozenColumns_) return;
    frozen_->setColumnWidth(logicalIndex, newSize);
    UpdateFrozenGeometry();
}

void FrozenColumnTableView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    UpdateFrozenGeometry();
}

void FrozenColumnTableView::updateGeometries() {
    QTableView::updateGeometries();
    UpdateFrozenGeometry();
}

void FrozenColumnTableView::UpdateFrozenGeometry() {
    if (frozen_ == nullptr) return;
    frozen_->setGeometry(frameWidth(), frameWidth(), FrozenWidth(), viewport()->height() + horizontalHeader()->height());
}

void FrozenColumnTableView::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool typed = !text.isEmpty() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) {
        emit keyTyped(text.at(0).unicode());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FrozenColumnTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // Auto-scroll stays off (it would also scroll while the mouse drags), but
    // wherever the current cell goes - arrows, PgUp/PgDn, Home/End, a click
    // on a half-hidden cell - it is brought into sight, clear of the fixed columns.
    if (current.isValid() && isVisible()) scrollTo(current);
}

void FrozenColumnTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    if (index.column() >= frozenColumns_) {
        QTableView::scrollTo(index, hint);
        if (visualRect(index).left() < FrozenWidth()) {
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + visualRect(index).left() - FrozenWidth());
        }
        return;
    }
    // Fixed columns never move sideways; only follow the row.
    const int keepColumn = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(keepColumn);
}

}  // namespace corvane
