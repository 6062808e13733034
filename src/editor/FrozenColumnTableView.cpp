#include "editor/FrozenColumnTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

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
    frozen_->setAutoScroll(false);
    viewport()->stackUnder(frozen_);
    viewport()->installEventFilter(this);
    frozen_->viewport()->installEventFilter(this);

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
    pressed_ = false;  // a release taken by someone else must not stop the keys from scrolling
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
    // on a half-hidden cell - it is brought into sight, clear of the fixed
    // columns. A click's cell only once the button is up: scrolled under the
    // pointer, the release or a twitch would land on the next row.
    if (current.isValid() && isVisible() && !pressed_) scrollTo(current);
}

bool FrozenColumnTableView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        pressed_ = true;
    } else if (type == QEvent::MouseButtonRelease && pressed_ &&
               static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
        pressed_ = false;
        // After the click has been handled (an editor may have scrolled already).
        QTimer::singleShot(0, this, [this] {
            if (currentIndex().isValid() && isVisible()) scrollTo(currentIndex());
        });
    }
    return QTableView::eventFilter(watched, event);
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
