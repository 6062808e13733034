#include "forms/ChannelListPrinter.h"

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "forms/FormHelpers.h"
#include "model/Workspace.h"

namespace corvane {
namespace {

using forms::ToQString;

// Kept equal to the HTML page's style, so both faces look alike.
constexpr auto kFontFamily = "Liberation Sans";
const QColor kShade(0xe8, 0xe8, 0xe8);
const QColor kCaptionColour(0x44, 0x44, 0x44);
constexpr double kHeaderRulePt = 0.75;
constexpr double kColumnRulePt = 0.5;
constexpr double kCellPaddingEm = 0.25;
constexpr double kLineGapEm = 0.5;
constexpr double kLineHeightEm = 1.2;

// Paints one sheet's pages; all lengths in points from the paper's corner.
class SheetPainter {
public:
    SheetPainter(QPainter& painter, const ChannelSheet& sheet, const PageGeometry& geometry, double dotsPerPoint)
        : painter_(painter), sheet_(sheet), g_(geometry), scale_(dotsPerPoint) {}

    void PaintPage(const SheetPage& page) {
        PaintHeader(page);
        if (page.showsSettings) PaintSettings();
        const double top = g_.TableTop(page.showsSettings);
        if (sheet_.rows.empty()) Text(QRectF(g_.margin, top, g_.ContentWidth(), g_.rowHeight), ToQString(kSheetNoChannelsText), Font());
        for (std::size_t b = 0; b < page.blocks.size(); ++b) PaintBlock(page.blocks[b], g_.BlockLeft(static_cast<int>(b)), top);
    }

private:
    QRectF Device(const QRectF& points) const {
        return {points.x() * scale_, points.y() * scale_, points.width() * scale_, points.height() * scale_};
    }

    QFont Font(double points = 0, bool bold = false) const {
        QFont font(kFontFamily);
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points > 0 ? points : g_.fontSize);
        font.setBold(bold);
        return font;
    }

    // Text in a box, cut with an ellipsis where it would not fit.
    void Text(const QRectF& box, const QString& text, const QFont& font, Qt::Alignment align = Qt::AlignLeft,
              const QColor& colour = Qt::black) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QRectF device = Device(box);
        const QString shown = QFontMetricsF(font, painter_.device()).elidedText(text, Qt::ElideRight, device.width());
        painter_.drawText(device, static_cast<int>(align | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    }

    void Rule(double x, double y, double width, double thickness) {
        painter_.fillRect(Device(QRectF(x, y, width, thickness)), Qt::black);
    }

    void PaintHeader(const SheetPage& page) {
        const double x = g_.margin;
        const double width = g_.ContentWidth();
        const double titleHeight = g_.titleFontSize * kLineHeightEm;
        const double lineHeight = g_.fontSize * kLineHeightEm;
        double y = g_.HeaderTop();
        Text(QRectF(x, y, width, titleHeight), ToQString(SheetHeadline(sheet_)), Font(g_.titleFontSize, true));
        // The page number on the title's baseline.
        const double baselineDrop = titleHeight - lineHeight;
        Text(QRectF(x, y + baselineDrop, width, lineHeight), ToQString(PageNumberText(page)), Font(), Qt::AlignRight);
        y += titleHeight + g_.fontSize * kLineGapEm;
        const QString imageLine = ToQString(SheetImageLine(sheet_));
        const double imageAdvance = QFontMetricsF(Font(0, true), painter_.device()).horizontalAdvance(imageLine) / scale_;
        const double imageWidth = std::min(width * 0.7, imageAdvance + 1);
        Text(QRectF(x, y, width - imageWidth, lineHeight), ToQString(SheetSetLine(sheet_)), Font());
        Text(QRectF(x + width - imageWidth, y, imageWidth, lineHeight), imageLine, Font(0, true), Qt::AlignRight);
        y += lineHeight + g_.fontSize * kLineGapEm;
        Rule(x, y, width, kHeaderRulePt);
    }

    // Captions over values, one equal column per setting.
    void PaintSettings() {
        const double top = g_.SettingsTop();
        const double columnWidth = g_.ContentWidth() / static_cast<double>(sheet_.settings.size());
        const double padding = g_.fontSize * kCellPaddingEm;
        for (std::size_t i = 0; i < sheet_.settings.size(); ++i) {
            const double x = g_.margin + i * columnWidth + padding;
            const QRectF caption(x, top, columnWidth - 2 * padding, g_.rowHeight);
            Text(caption, ToQString(sheet_.settings[i].caption), Font(), Qt::AlignLeft, kCaptionColour);
            Text(caption.translated(0, g_.rowHeight), ToQString(sheet_.settings[i].value), Font(0, true));
        }
    }

    void PaintRow(const std::array<std::string, kSheetColumnCount>& cells, double left, double y, const QFont& font) {
        const double padding = g_.fontSize * kCellPaddingEm;
        double x = left;
        for (int c = 0; c < kSheetColumnCount; ++c) {
            Text(QRectF(x + padding, y, g_.columnWidths[c] - 2 * padding, g_.rowHeight), ToQString(cells[c]), font);
            x += g_.columnWidths[c];
        }
    }

    void PaintBlock(const RowBlock& block, double left, double top) {
        const double width = g_.BlockWidth();
        PaintRow(sheet_.headers, left, top, Font(0, true));
        Rule(left, top + g_.rowHeight - kColumnRulePt, width, kColumnRulePt);
        const QFont font = Font();
        for (int i = 0; i < block.count; ++i) {
            const double y = top + (i + 1) * g_.rowHeight;
            if (i % 2 == 0) painter_.fillRect(Device(QRectF(left, y, width, g_.rowHeight)), kShade);
            PaintRow(sheet_.rows[static_cast<std::size_t>(block.first + i)].cells, left, y, font);
        }
    }

    QPainter& painter_;
    const ChannelSheet& sheet_;
    const PageGeometry& g_;
    const double scale_;
};

QPageSize PageSizeOf(Paper paper) { return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4); }

}  // namespace

Status PaintChannelList(QPagedPaintDevice& device, const ChannelSheet& sheet, SheetFormat format) {
    const PageGeometry geometry = GeometryFor(format);
    // The pages are laid out from the paper's corner: no device margins.
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setFullPage(true);
    device.setPageLayout(QPageLayout(PageSizeOf(format.paper), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&device)) return Status::Error("cannot print to this device");
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double dotsPerPoint = device.logicalDpiY() / 72.0;
    SheetPainter sheetPainter(painter, sheet, geometry, dotsPerPoint);
    const std::vector<SheetPage> pages = PaginateSheet(static_cast<int>(sheet.rows.size()), geometry);
    for (const SheetPage& page : pages) {
        if (page.number > 1 && !device.newPage()) return Status::Error("cannot start page " + std::to_string(page.number));
        sheetPainter.PaintPage(page);
    }
    return painter.end() ? Status::Ok() : Status::Error("cannot finish printing");
}

Status WriteChannelListPdf(const QString& path, const ChannelSheet& sheet, SheetFormat format) {
    QPdfWriter writer(path);
    writer.setTitle(ToQString(SheetHeadline(sheet)));
    writer.setCreator(ToQString(sheet.program));
    Status painted = PaintChannelList(writer, sheet, format);
    if (painted && !QFile::exists(path)) return Status::Error("cannot write " + path.toStdString());
    return painted;
}

Paper PaperForPageSize(const QPageSize& size) { return size.id() == QPageSize::Letter ? Paper::Letter : Paper::A4; }

ChannelSheet TodaysChannelSheet(const Workspace& ws) {
    const QDate today = QDate::currentDate();
    return BuildChannelSheet(ws, SheetDate(today.year(), today.month(), today.day()));
}

void RunChannelListPrint(QWidget* parent, const Workspace& ws, const MessageFn& tell) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQString(kSheetTitle));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Channel List"));
    auto* options = new QWidget(&dialog);  // shown as a tab where the platform dialog has tabs
    options->setWindowTitle(QStringLiteral("Channel List"));
    auto* pocket = new QCheckBox(QStringLiteral("Pocket layout (two columns per page, small type)"), options);
    pocket->setObjectName(QStringLiteral("PocketLayout"));
    (new QVBoxLayout(options))->addWidget(pocket);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted) return;
    const SheetFormat format{PaperForPageSize(printer.pageLayout().pageSize()),
                             pocket->isChecked() ? SheetLayout::Pocket : SheetLayout::Table};
    if (const Status printed = PaintChannelList(printer, TodaysChannelSheet(ws), format); !printed)
        tell(ToQString(printed.message()));
}

}  // namespace corvane
