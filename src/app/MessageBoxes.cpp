#include "app/MessageBoxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace corvane {

namespace {

constexpr QChar kZeroWidthSpace(0x200B);
// Room beside the title for the window manager's buttons and margins.
constexpr int kTitleBarAllowance = 140;

// QMessageBox sizes itself by its text alone; a short text left the title
// elided by the window manager ("Corva... mmer").
void KeepTitleWhole(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarAllowance;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

QString BreakableAtSeparators(const QString& text) {
    QString shown;
    shown.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        shown += c;
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) shown += kZeroWidthSpace;
    }
    return shown;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon) {
    auto box = std::make_unique<QMessageBox>(icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                              : QMessageBox::NoIcon,
                                             kMessageTitle, BreakableAtSeparators(text), QMessageBox::Ok,
                                             owner != nullptr ? owner->window() : nullptr);
    box->setObjectName(QStringLiteral("CorvaneMessage"));
    box->setTextFormat(Qt::PlainText);
    KeepTitleWhole(*box);
    return box;
}

void MessageBoxes::Show(QWidget* owner, const QString& text, MessageIcon icon) {
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(owner, text, icon);
    box->exec();
}

void MessageBoxes::Beep() { QApplication::beep(); }

}  // namespace corvane
