// File > Compare with Radio... and Compare with Image File..., and the Port
// menu's "Show Changes before Write": the working set is only compared, never
// changed.
#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "app/ImageFileCommands.h"
#include "app/MainWindow.h"
#include "app/UserSettings.h"
#include "editor/ChannelWindow.h"
#include "forms/CompareWindow.h"
#include "forms/FormHelpers.h"
#include "link/SetComparison.h"
#include "store/ImageBackups.h"

namespace corvane {

CompareWindow* MainWindow::ShownCompareWindow() const { return compare_; }

void MainWindow::FollowShowChangesItem() {
    QAction* item = MenuAction(Command::ShowChangesBeforeWrite);
    item->setChecked(user_settings::ShowChangesBeforeWrite());
    connect(item, &QAction::toggled, this, [](bool on) { user_settings::SetShowChangesBeforeWrite(on); });
}

void MainWindow::CompareWithRadio() {
    LinkEngine* link = session_.Link();
    if (link == nullptr || PortInUse()) return;
    editor_->CloseCellEditors();
    if (!CheckImageBuilds(ws_, [this](const QString& text) { ShowMessage(text); })) return;
    if (!link->Connected()) {
        ShowMessage(QStringLiteral("No radio answers on COM%1: connect it, choose its port and try again.")
                        .arg(QString::fromStdString(ws_.portName)));
        return;
    }
    compareRead_ = CompareRead::Look;
    link->RequestCompareRead();
    editor_->ShowPendingMessages();
}

void MainWindow::CompareWithImageFile() {
    editor_->CloseCellEditors();
    const QString path = ChooseImageToOpen(this, ws_);
    if (!path.isEmpty()) RunCompareWithImageFile(path);
}

bool MainWindow::RunCompareWithImageFile(const QString& path) {
    const Result<MemoryImage> image = ReadImageFile(path.toStdString());
    if (!image) {
        ShowMessage(QFileInfo(path).fileName() + QStringLiteral(": ") + QString::fromStdString(image.message()));
        return false;
    }
    Result<std::vector<Difference>> differences = CompareSetWithImage(ws_, *image);
    if (!differences) {
        ShowMessage(QString::fromStdString(differences.message()));
        return false;
    }
    ShowCompareWindow(std::move(differences.value()), forms::ToQString(kFileSideTitle),
                      QStringLiteral("Compare with Image File - ") + QFileInfo(path).fileName(), false);
    return true;
}

// Down with "Show Changes before Write": the radio is read first.
void MainWindow::RequestWrite() {
    LinkEngine* link = session_.Link();
    if (link == nullptr) return;
    if (!MenuAction(Command::ShowChangesBeforeWrite)->isChecked()) {
        link->RequestWrite();
        editor_->ShowPendingMessages();
        return;
    }
    if (!link->Connected() || PortInUse()) return;
    if (!CheckImageBuilds(ws_, [this](const QString& text) { ShowMessage(text); })) return;
    compareRead_ = CompareRead::BeforeWrite;
    link->RequestCompareRead();
    editor_->ShowPendingMessages();
}

void MainWindow::OnImageForCompare(const QByteArray& image) {
    const CompareRead purpose = std::exchange(compareRead_, CompareRead::None);
    if (purpose == CompareRead::None) return;
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(image.constData()), static_cast<std::size_t>(image.size()));
    Result<std::vector<Difference>> differences = CompareSetWithImage(ws_, bytes);
    if (!differences) {
        ShowMessage(QString::fromStdString(differences.message()));
        return;
    }
    const bool beforeWrite = purpose == CompareRead::BeforeWrite;
    if (beforeWrite && differences->empty()) {
        ShowMessage(forms::ToQString(kNothingToWriteText));
        return;
    }
    ShowCompareWindow(std::move(differences.value()), forms::ToQString(kRadioSideTitle),
                      beforeWrite ? QStringLiteral("Show Changes before Write") : QStringLiteral("Compare with Radio"),
                      beforeWrite);
}

void MainWindow::ShowCompareWindow(std::vector<Difference> differences, const QString& otherTitle, const QString& caption,
                                   bool offerWrite) {
    if (compare_) compare_->close();
    compare_ = new CompareWindow(std::move(differences), otherTitle, caption,
                                 [this](const QString& text) { ShowMessageFrom(compare_, text); }, this);
    compare_->setAttribute(Qt::WA_DeleteOnClose);
    if (offerWrite) {
        compare_->OfferWrite();
        connect(compare_, &CompareWindow::writeConfirmed, this, [this] {
            if (LinkEngine* link = session_.Link()) link->RequestWrite();
            editor_->ShowPendingMessages();
        });
    }
    compare_->open();
}

}  // namespace corvane
