#pragma once
// Small widget helpers shared by the setup and group windows.
#include <QComboBox>
#include <QString>
#include <QWidget>
#include <span>
#include <string>
#include <string_view>

namespace corvane::forms {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toStdString(); }

inline void AddItems(QComboBox* list, std::span<const std::string_view> items) {
    for (std::string_view item : items) list->addItem(ToQString(item));
}

// Selects the item at a stored index; an index beyond the list shows no selection.
inline void SelectStoredIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// Position of an editable list's text among its items; -1 for a typed text.
inline int ListPosition(const QComboBox* list) {
    return list->findText(list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// Pins a window above all unpinned windows or releases it, keeping it visible.
inline void SetPinnedOnTop(QWidget* window, bool pinned) {
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, pinned);
    if (visible) window->show();
}

}  // namespace corvane::forms
