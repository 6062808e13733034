#pragma once
// How the channel list falls onto paper, in points (1/72 inch): the page
// geometry of each paper and layout, and which rows each page carries. Every
// face draws these pages as they are, so a sheet printed from the desktop,
// the page or the CLI's HTML has the same rows on the same page.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/ChannelSheet.h"

namespace corvane {

enum class Paper { A4, Letter };
// Table: one column of channels per page. Pocket: two narrower columns side
// by side in a smaller type, to fold and keep with a radio.
enum class SheetLayout { Table, Pocket };

struct SheetFormat {
    Paper paper = Paper::A4;
    SheetLayout layout = SheetLayout::Table;
};

// "a4" or "letter", in any case.
std::optional<Paper> PaperFromName(std::string_view name);
std::string_view PaperName(Paper paper);  // "a4", "letter"

struct PageGeometry {
    double pageWidth = 0;      // the paper, portrait
    double pageHeight = 0;
    double margin = 0;         // on every side
    double headerHeight = 0;   // title, set and image lines, page number, rule
    double settingsHeight = 0; // the settings block, first page only: captions, values, gap
    double settingsGap = 0;    // its gap below the values
    double rowHeight = 0;      // every table row, the column headers included
    double fontSize = 0;       // table and settings text
    double titleFontSize = 0;
    double blockGap = 0;       // between the pocket layout's two columns
    int blocksPerPage = 1;
    // Width of each column in points, in sheet column order.
    std::array<double, kSheetColumnCount> columnWidths{};

    double ContentWidth() const { return pageWidth - 2 * margin; }
    double BlockWidth() const;
    // Channel rows one block holds below its column headers.
    int RowsPerBlock(bool firstPage) const;
    // Offsets from the top of the page.
    double HeaderTop() const { return margin; }
    double SettingsTop() const { return margin + headerHeight; }
    double TableTop(bool firstPage) const { return SettingsTop() + (firstPage ? settingsHeight : 0); }
    double BlockLeft(int block) const { return margin + block * (BlockWidth() + blockGap); }
};

PageGeometry GeometryFor(SheetFormat format);

// Rows [first, first + count) of ChannelSheet::rows.
struct RowBlock {
    int first = 0;
    int count = 0;
};

struct SheetPage {
    int number = 1;  // 1-based
    int count = 1;   // pages in the sheet
    bool showsSettings = false;
    std::vector<RowBlock> blocks;  // left to right; a row never spans two
};

// Fills each block to its height before the next; at least one page, which
// carries the settings even when no channel has a frequency.
std::vector<SheetPage> PaginateSheet(int rowCount, const PageGeometry& geometry);

std::string PageNumberText(const SheetPage& page);  // "Page 2 of 6"

}  // namespace corvane
