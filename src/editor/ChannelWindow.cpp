#include "editor/ChannelWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <array>

#include "editor/CellEditors.h"
#include "editor/ChannelTableModel.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/MessageSink.h"
#include "editor/Twips.h"
#include "editor/UndoHistory.h"
#include "image/MemoryImage.h"
#include "store/WorkingSet.h"

namespace corvane {

namespace {

// Column widths by column, label first.
constexpr std::array<int, kColumnCount> kColumnWidthTwips{1250, 1000, 1650, 1650, 1500, 1500,
                                                          1000, 1200, 1250, 1000, 1000};
constexpr int kTallRowTwips = 300;     // rows 0..10
constexpr int kTallRowCount = 10;      // data rows 1..10 (row 0 is the header)
constexpr int kDefaultRowTwips = 240;  // every other row
constexpr int kEditorWidthTwips = 14700;
constexpr int kEditorHeightTwips = 8400;
constexpr int kStatusLabelWidth = 260;

const QColor kConnectedColour(0, 0, 255);
const QColor kNotConnectedColour(255, 0, 0);

}  // namespace

ChannelWindow::ChannelWindow(ProgramSession& session, MessageSink& messages, QWidget* parent)
    : QWidget(parent),
      session_(session),
      ws_(session.Ws()),
      messages_(messages),
      model_(new ChannelTableModel(ws_.channels, this)),
      grid_(new FrozenColumnTableView(kFixedColumnCount, this)),
      editors_(nullptr),
      label1_(new QLabel(this)),
      progressBar1_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmRadioMain"));
    setWindowTitle(QStringLiteral("PC Setting"));
    setFixedSize(TwipsToPixels(kEditorWidthTwips), TwipsToPixels(kEditorHeightTwips));

    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setMinimumWidth(kStatusLabelWidth);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, static_cast<int>(kImageLength));
    progressBar1_->setValue(0);
    progressBar1_->setTextVisible(false);
    progressBar1_->hide();

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(label1_);
    statusRow->addWidget(progressBar1_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(grid_, 1);
    layout->addLayout(statusRow);

    editors_ = new CellEditors(ws_, messages_, *grid_, *this);
    history_ = new UndoHistory(ws_, session_.History(), this);
    editors_->SetHistory(history_);
    connect(history_, &UndoHistory::aboutToRestore, this, &ChannelWindow::CloseCellEditors);
    SetUpGrid();

    connect(grid_, &QAbstractItemView::clicked, this, [this] { editors_->OnCellClicked(); });
    connect(grid_, &FrozenColumnTableView::keyTyped, this, [this](int code) { editors_->OnKeyTyped(code); });
    connect(grid_, &FrozenColumnTableView::scrolled, this, [this] { editors_->OnScrolled(); });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { editors_->OnCellLeft(); });
}

ChannelWindow::~ChannelWindow() = default;

void ChannelWindow::SetUpGrid() {
    grid_->setEnabled(false);
    grid_->SetSourceModel(model_);
    QHeaderView* rows = grid_->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(TwipsToPixels(kDefaultRowTwips));
    grid_->FrozenView()->verticalHeader()->setMinimumSectionSize(1);
    grid_->FrozenView()->verticalHeader()->setDefaultSectionSize(TwipsToPixels(kDefaultRowTwips));
    grid_->SetHeaderHeight(TwipsToPixels(kTallRowTwips));
    for (int row = 0; row < kTallRowCount; ++row) grid_->setRowHeight(row, TwipsToPixels(kTallRowTwips));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int col = 0; col < kColumnCount; ++col) grid_->setColumnWidth(col, TwipsToPixels(kColumnWidthTwips[col]));
    grid_->setEnabled(true);
}

Status ChannelWindow::LoadChannels() {
    editors_->SuppressComboClicks = -1;
    Status loaded = session_.LoadChannelEditor();
    // Only the spreadsheet dialogs need Data: say so once and carry on.
    if (Status data = EnsureDataFolder(ws_); !data.ok()) messages_.Show(this, QString::fromStdString(data.message()));
    model_->Rebind();
    editors_->FillPickers();
    LinkEngine* link = session_.OpenLink(*this);
    editors_->SuppressComboClicks = 0;
    progressBar1_->show();
    editors_->ResetEditCell();
    if (link != nullptr) link->ReconnectPort();
    return loaded;
}

Status ChannelWindow::SaveAndCloseChannels() { return session_.CloseEditor(); }

void ChannelWindow::CloseCellEditors() { editors_->CloseCellEditors(); }

void ChannelWindow::EnableToolbarAfterTransfer() {
    emit transferButtonsEnabled(true);
    progressBar1_->setValue(0);
}

void ChannelWindow::OnLinkStatus(const std::string& text, StatusColour colour) {
    const QColor& shown = colour == StatusColour::Blue ? kConnectedColour : kNotConnectedColour;
    QPalette palette = label1_->palette();
    palette.setColor(QPalette::WindowText, shown);
    label1_->setPalette(palette);
    label1_->setText(QString::fromStdString(text));
}

void ChannelWindow::OnWriteReadEnabled(bool enabled) { emit writeReadEnabled(enabled); }

void ChannelWindow::OnTransferButtonsEnabled(bool enabled) { emit transferButtonsEnabled(enabled); }

void ChannelWindow::OnPortInUse(bool inUse) { emit portInUse(inUse); }

void ChannelWindow::OnProgress(int value) { progressBar1_->setValue(value); }

void ChannelWindow::OnMessage(const std::string& text, MessageKind kind) {
    pendingMessages_.emplace_back(text, kind);
    if (messagesPosted_) return;
    messagesPosted_ = true;
    QMetaObject::invokeMethod(this, &ChannelWindow::ShowPendingMessages, Qt::QueuedConnection);
}

void ChannelWindow::ShowPendingMessages() {
    messagesPosted_ = false;
    // One box at a time: messages raised while one is up follow it.
    if (showingMessages_) return;
    showingMessages_ = true;
    while (!pendingMessages_.empty()) {
        const auto [text, kind] = std::move(pendingMessages_.front());
        pendingMessages_.pop_front();
        messages_.Show(this, QString::fromStdString(text),
                       kind == MessageKind::Information ? MessageIcon::None : MessageIcon::Exclamation);
    }
    showingMessages_ = false;
}

void ChannelWindow::OnCloseCellEditors() { CloseCellEditors(); }

void ChannelWindow::OnImageForCompare(std::span<const uint8_t> image) {
    emit imageForCompare(QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
}

void ChannelWindow::OnPortNameChanged() { emit portNameChanged(); }

void ChannelWindow::RefreshFromWorkspace() {
    CloseCellEditors();
    model_->Rebind();
    // A read may have switched the edition; the DCS picker follows it.
    editors_->SuppressComboClicks = -1;
    editors_->FillPickers();
    editors_->SuppressComboClicks = 0;
}

// A read is one undo step from the bytes' arrival to the decoded workspace.
void ChannelWindow::OnImageReceived(std::span<const uint8_t> /*image*/) {
    if (readStepOpen_) return;
    readStepOpen_ = true;
    history_->Begin(kStepReadFromRadio);
}

void ChannelWindow::OnImageAccepted() {
    if (readStepOpen_) {
        readStepOpen_ = false;
        history_->End();
    }
    RefreshFromWorkspace();
    emit imageAccepted();
}

void ChannelWindow::OnBackupFailed(const std::string& text) { emit backupFailed(QString::fromStdString(text)); }

}  // namespace corvane
