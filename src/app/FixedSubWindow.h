#pragma once
// The frame's one child window ("PC Setting"): a caption and nothing else. It
// cannot be dragged, resized, minimised or shaded, and has no system menu;
// moved or shrunk it would leave a grey hole and hide the status line with
// no way back.
#include <QMdiSubWindow>

namespace corvane {

class FixedSubWindow final : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit FixedSubWindow(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
};

}  // namespace corvane
