#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace corvane {

void MessageBoxes::Show(QWidget* parent, const QString& text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, kMessageTitle, text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("CorvaneMessage"));
    box.exec();
}

void MessageBoxes::Beep() { QApplication::beep(); }

}  // namespace corvane
