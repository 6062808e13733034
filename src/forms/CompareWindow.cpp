#include "forms/CompareWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forms/FormHelpers.h"
#include "link/SetComparison.h"
#include "store/AtomicFile.h"
#include "store/DifferencesCsv.h"

namespace corvane {

namespace {

constexpr int kCompareWindowWidth = 640;
constexpr int kCompareWindowHeight = 420;
constexpr int kChannelColumnWidth = 70;
constexpr int kFieldColumnWidth = 130;
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");

}  // namespace

CompareWindow::CompareWindow(std::vector<Difference> differences, const QString& otherTitle, const QString& caption,
                             MessageFn tell, QWidget* parent)
    : QDialog(parent), differences_(std::move(differences)), otherTitle_(otherTitle), tell_(std::move(tell)),
      label1_(new QLabel(this)), table_(new QTableWidget(this)), save_(new QPushButton(QStringLiteral("Save as CSV..."), this)),
      write_(new QPushButton(QStringLiteral("Write"), this)), close_(new QPushButton(QStringLiteral("Close"), this)) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(caption);
    resize(kCompareWindowWidth, kCompareWindowHeight);
    label1_->setObjectName(QStringLiteral("Label1"));
    table_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    save_->setObjectName(QStringLiteral("Command1"));
    write_->setObjectName(QStringLiteral("Command2"));
    close_->setObjectName(QStringLiteral("Command3"));
    write_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addStretch();
    buttons->addWidget(write_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(table_);
    layout->addLayout(buttons);

    FillTable();
    connect(save_, &QPushButton::clicked, this, &CompareWindow::OnSaveClicked);
    connect(write_, &QPushButton::clicked, this, &CompareWindow::OnWriteClicked);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CompareWindow::FillTable() {
    label1_->setText(CountText());
    table_->setColumnCount(4);
    table_->setHorizontalHeaderLabels({forms::ToQString(kChannelColumnTitle), forms::ToQString(kFieldColumnTitle),
                                       forms::ToQString(kProgramSideTitle), otherTitle_});
    table_->setRowCount(static_cast<int>(differences_.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->setColumnWidth(0, kChannelColumnWidth);
    table_->setColumnWidth(1, kFieldColumnWidth);
    table_->horizontalHeader()->setStretchLastSection(true);
    const auto shown = [](const std::string& value) {
        return value.empty() ? forms::ToQString(kEmptyValueText) : QString::fromStdString(value);
    };
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Difference& d = differences_[static_cast<std::size_t>(row)];
        const QStringList cells{d.channel == 0 ? QString() : QString::number(d.channel), QString::fromStdString(d.field),
                                shown(d.left), shown(d.right)};
        for (int col = 0; col < cells.size(); ++col) table_->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    save_->setEnabled(!differences_.empty());
}

QString CompareWindow::CountText() const { return QString::fromStdString(DifferenceCountText(differences_.size())); }

void CompareWindow::OfferWrite() {
    write_->show();
    write_->setDefault(true);
    close_->setText(QStringLiteral("Cancel"));
}

bool CompareWindow::SaveCsvToPath(const QString& path) {
    const std::string csv = DifferencesCsv(differences_, kProgramSideTitle, otherTitle_.toStdString());
    const Status saved = WriteFileAtomically(path.toStdString(), csv);
    if (!saved.ok()) {
        tell_(QString::fromStdString(saved.message()));
        return false;
    }
    return true;
}

void CompareWindow::OnSaveClicked() {
    QString path = QFileDialog::getSaveFileName(this, save_->text(), QStringLiteral("differences.csv"), kCsvFilter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    SaveCsvToPath(path);
}

void CompareWindow::OnWriteClicked() {
    accept();
    emit writeConfirmed();
}

}  // namespace corvane
