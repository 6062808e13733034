#pragma once
// frmCompare: what the working set on screen and a radio or an image file
// hold differently, field by field, with their count; the table can be saved
// as CSV. Before a write it also asks whether to write (Show Changes before
// Write). The window only shows: no working set is changed by it.
#include <QDialog>
#include <vector>

#include "forms/MessageFn.h"
#include "image/ImageDiff.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace corvane {

class CompareWindow final : public QDialog {
    Q_OBJECT
public:
    // otherTitle: the other side's column, "In the radio" or "In the file".
    CompareWindow(std::vector<Difference> differences, const QString& otherTitle, const QString& caption,
                  MessageFn tell, QWidget* parent = nullptr);

    // Show Changes before Write: the Write button, and Close becomes Cancel.
    void OfferWrite();

    const std::vector<Difference>& Differences() const { return differences_; }
    QTableWidget& Table() const { return *table_; }
    QString CountText() const;

    // The table as CSV at path; false (and told) when it could not be saved.
    bool SaveCsvToPath(const QString& path);

signals:
    // The user chose Write after seeing the changes.
    void writeConfirmed();

private:
    void FillTable();
    void OnSaveClicked();
    void OnWriteClicked();

    std::vector<Difference> differences_;
    QString otherTitle_;
    MessageFn tell_;
    QLabel* label1_;
    QTableWidget* table_;
    QPushButton* save_;
    QPushButton* write_;
    QPushButton* close_;
};

}  // namespace corvane
