#include "app/AccessCodeDialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/MessageBoxes.h"
#include "app/Resources.h"
#include "app/WindowPinning.h"
#include "model/AccessCode.h"

namespace corvane {

namespace {
constexpr int kPictureSize = 64;
constexpr int kCodeBoxWidth = 160;
}  // namespace

std::optional<int16_t> EditionForAccessCode(const QString& code) {
    return corvane::EditionForAccessCode(std::string_view(code.toStdString()));
}

AccessCodeDialog::AccessCodeDialog(AccessCodeStep& step, MessageSink& messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      step_(step),
      messages_(messages),
      text1_(new QLineEdit(this)) {
    InitResources();  // registering twice is harmless
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Corvane Password"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/icons/key.svg")).pixmap(kPictureSize, kPictureSize));

    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setEchoMode(QLineEdit::Password);
    text1_->setMinimumWidth(kCodeBoxWidth);
    connect(text1_, &QLineEdit::returnPressed, this, &AccessCodeDialog::Text1_Enter);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(text1_);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(frame, 1);
    setFixedSize(sizeHint());
}

bool AccessCodeDialog::Prepare() {
    AllwaysOntop();
    const AccessWindowLoad loaded = step_.Load();
    if (loaded.startRefused) {
        messages_.Show(nullptr, QString::fromStdString(loaded.message));
        return false;
    }
    text1_->clear();
    if (!loaded.message.empty()) messages_.Show(this, QString::fromStdString(loaded.message));
    return true;
}

void AccessCodeDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    text1_->setFocus();
}

void AccessCodeDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!decided_) {
        decided_ = true;
        emit closedWithoutCode();
    }
}

void AccessCodeDialog::Text1_Enter() {
    const QString code = text1_->text();
    text1_->setFocus();
    if (code.isEmpty() || decided_) return;
    decided_ = true;
    const AccessEntry entry = step_.Enter(code.toStdString());
    if (!entry.message.empty()) messages_.Show(this, QString::fromStdString(entry.message));
    close();
    if (entry.outcome == AccessOutcome::Accepted) {
        emit codeAccepted();
    } else {
        emit codeRefused();
    }
}

void AccessCodeDialog::AllwaysOntop() { PinAboveOthers(*this, true); }

void AccessCodeDialog::NoAllwaysOnTop() { PinAboveOthers(*this, false); }

}  // namespace corvane
