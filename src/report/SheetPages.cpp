#include "report/SheetPages.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>

namespace corvane {
namespace {

// Portrait paper sizes in points: ISO 216 A4 (210 x 297 mm) and US Letter (8.5 x 11 in).
constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kA4Width = 210 * kPointsPerMm;
constexpr double kA4Height = 297 * kPointsPerMm;
constexpr double kLetterWidth = 8.5 * 72;
constexpr double kLetterHeight = 11 * 72;

// Column widths in ems of the table font: each the widest text of its column
// in an Arial-metric sans serif (the header "POWER", or a cell such as
// "446.006250" or "[188] ED036") plus the cell padding. The pocket layout
// needs all of them; the table layout widens them in this proportion.
constexpr std::array<double, kSheetColumnCount> kColumnEms = {4.7, 4.4, 6.0, 6.0, 6.3, 3.5, 3.9, 4.5, 2.8, 3.0};

struct LayoutMetrics {
    double margin;
    double headerHeight;
    double rowHeight;
    double fontSize;
    double titleFontSize;
    double blockGap;
    int blocksPerPage;
};

// The settings block: a caption row and a value row, then a gap.
constexpr int kSettingsRows = 2;
constexpr double kSettingsGapRows = 0.75;

constexpr LayoutMetrics kTable{36, 44, 14, 9, 14, 0, 1};
constexpr LayoutMetrics kPocket{24, 36, 8.5, 6, 11, 10, 2};

}  // namespace

std::optional<Paper> PaperFromName(std::string_view name) {
    std::string lower;
    for (const char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "a4") return Paper::A4;
    if (lower == "letter") return Paper::Letter;
    return std::nullopt;
}

std::string_view PaperName(Paper paper) { return paper == Paper::Letter ? "letter" : "a4"; }

double PageGeometry::BlockWidth() const {
    return (ContentWidth() - (blocksPerPage - 1) * blockGap) / blocksPerPage;
}

int PageGeometry::RowsPerBlock(bool firstPage) const {
    const double tableHeight = pageHeight - margin - TableTop(firstPage);
    // Small tolerance: a row that fits to a rounding error still fits.
    const int rows = static_cast<int>(std::floor(tableHeight / rowHeight + 1e-9)) - 1;
    return std::max(rows, 1);
}

PageGeometry GeometryFor(SheetFormat format) {
    const LayoutMetrics& m = format.layout == SheetLayout::Pocket ? kPocket : kTable;
    PageGeometry g;
    g.pageWidth = format.paper == Paper::Letter ? kLetterWidth : kA4Width;
    g.pageHeight = format.paper == Paper::Letter ? kLetterHeight : kA4Height;
    g.margin = m.margin;
    g.headerHeight = m.headerHeight;
    g.rowHeight = m.rowHeight;
    g.settingsGap = kSettingsGapRows * m.rowHeight;
    g.settingsHeight = kSettingsRows * m.rowHeight + g.settingsGap;
    g.fontSize = m.fontSize;
    g.titleFontSize = m.titleFontSize;
    g.blockGap = m.blockGap;
    g.blocksPerPage = m.blocksPerPage;
    const double totalEms = std::accumulate(kColumnEms.begin(), kColumnEms.end(), 0.0);
    for (int c = 0; c < kSheetColumnCount; ++c) g.columnWidths[c] = g.BlockWidth() * kColumnEms[c] / totalEms;
    return g;
}

std::vector<SheetPage> PaginateSheet(int rowCount, const PageGeometry& geometry) {
    std::vector<SheetPage> pages;
    int next = 0;
    do {
        SheetPage& page = pages.emplace_back();
        page.number = static_cast<int>(pages.size());
        page.showsSettings = page.number == 1;
        const int perBlock = geometry.RowsPerBlock(page.showsSettings);
        for (int block = 0; block < geometry.blocksPerPage && next < rowCount; ++block) {
            const int count = std::min(perBlock, rowCount - next);
            page.blocks.push_back({next, count});
            next += count;
        }
    } while (next < rowCount);
    for (SheetPage& page : pages) page.count = static_cast<int>(pages.size());
    return pages;
}

std::string PageNumberText(const SheetPage& page) {
    return "Page " + std::to_string(page.number) + " of " + std::to_string(page.count);
}

}  // namespace corvane
