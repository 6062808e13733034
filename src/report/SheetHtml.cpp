#include "report/SheetHtml.h"

#include <cmath>

namespace corvane {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
// Cells of every other row are shaded so a line can be followed across.
constexpr std::string_view kShade = "#e8e8e8";
// Chromium may round a page a hair taller than the paper and spill a blank
// page; the page box stays this much shorter.
constexpr double kPageSlack = 0.5;
constexpr double kCellPaddingEm = 0.25;  // left and right, as the column widths allow

// Length of the valid UTF-8 sequence at the start of text, 0 when invalid.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned int code = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; code = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; code = lead & 0x0F; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; code = lead & 0x07; }
    else return 0;
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool invalid = code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF);
    return overlong || invalid ? 0 : length;
}

// Locale-independent: a desktop program runs with the user's locale, whose
// decimal comma would break the CSS.
// Lengths are positive and small; two decimals are plenty.
std::string Pt(double points) {
    const long long hundredths = std::llround(points * 100);
    const std::string fraction = std::to_string(hundredths % 100);
    return std::to_string(hundredths / 100) + (fraction.size() < 2 ? ".0" : ".") + fraction + "pt";
}

class HtmlOut {
public:
    HtmlOut& operator<<(std::string_view raw) { html_ += raw; return *this; }
    HtmlOut& Text(std::string_view text) { html_ += EscapeHtml(text); return *this; }

    std::string Take() { return std::move(html_); }

private:
    std::string html_;
};

void WriteStyle(HtmlOut& out, const PageGeometry& g, Paper paper) {
    out << "<style>\n"
        << "@page { size: " << (paper == Paper::Letter ? "letter" : "A4") << " portrait; margin: 0; }\n"
        << "* { box-sizing: border-box; }\n"
        << "html, body { margin: 0; padding: 0; }\n"
        << "body { font-family: \"Liberation Sans\", Arial, Helvetica, sans-serif; color: #000;"
           " -webkit-print-color-adjust: exact; print-color-adjust: exact; }\n"
        << ".page { position: relative; overflow: hidden; background: #fff; width: " << Pt(g.pageWidth)
        << "; height: " << Pt(g.pageHeight - kPageSlack) << "; padding: " << Pt(g.margin)
        << "; break-after: page; page-break-after: always; }\n"
        << ".page:last-child { break-after: auto; page-break-after: auto; }\n"
        << "@media screen { body { background: #777; } .page { margin: 12pt auto; box-shadow: 0 0 6pt #000; } }\n"
        << "header { height: " << Pt(g.headerHeight) << "; font-size: " << Pt(g.fontSize) << "; }\n"
        << "header .line { display: flex; justify-content: space-between; align-items: baseline; gap: 12pt; white-space: nowrap; }\n"
        << "header .line span { overflow: hidden; text-overflow: ellipsis; }\n"
        << "header .headline { font-size: " << Pt(g.titleFontSize) << "; font-weight: bold; }\n"
        << "header .image { font-weight: bold; }\n"
        << "header .line + .line { margin-top: " << Pt(g.fontSize * 0.5) << "; }\n"
        << "header .rule { border-bottom: 0.75pt solid #000; margin-top: " << Pt(g.fontSize * 0.5) << "; }\n"
        << "table { border-collapse: collapse; table-layout: fixed; font-size: " << Pt(g.fontSize) << "; }\n"
        << "th, td { height: " << Pt(g.rowHeight) << "; padding: 0 " << Pt(g.fontSize * kCellPaddingEm)
        << "; text-align: left; vertical-align: middle; white-space: nowrap; overflow: hidden; line-height: 1; }\n"
        << "th { font-weight: bold; border-bottom: 0.5pt solid #000; }\n"
        << "table.settings { width: " << Pt(g.ContentWidth()) << "; margin-bottom: " << Pt(g.settingsGap) << "; }\n"
        << "table.settings th { border: none; color: #444; font-weight: normal; vertical-align: bottom; }\n"
        << "table.settings td { font-weight: bold; vertical-align: top; }\n"
        << ".blocks { display: flex; gap: " << Pt(g.blockGap) << "; }\n"
        << "table.channels { width: " << Pt(g.BlockWidth()) << "; }\n"
        // One gradient behind the whole table rather than a background per
        // cell, which viewers draw with hairline gaps: below the white header
        // row the first, third, ... channel rows are shaded.
        << "table.channels { background: linear-gradient(to bottom, transparent 50%, " << kShade << " 50%) 0 0 / 100% "
        << Pt(2 * g.rowHeight) << " repeat-y; }\n"
        << ".empty { font-size: " << Pt(g.fontSize) << "; }\n"
        << "</style>\n";
}

void WriteHeader(HtmlOut& out, const ChannelSheet& sheet, const SheetPage& page) {
    out << "<header>\n<div class=\"line\"><span class=\"headline\">";
    out.Text(SheetHeadline(sheet)) << "</span><span class=\"page-number\">";
    out.Text(PageNumberText(page)) << "</span></div>\n<div class=\"line\"><span class=\"set\">";
    out.Text(SheetSetLine(sheet)) << "</span><span class=\"image\">";
    out.Text(SheetImageLine(sheet)) << "</span></div>\n<div class=\"rule\"></div>\n</header>\n";
}

// Captions over values, one column per setting.
void WriteSettings(HtmlOut& out, const ChannelSheet& sheet) {
    out << "<table class=\"settings\">\n<tr>";
    for (const SheetSetting& setting : sheet.settings) {
        out << "<th>";
        out.Text(setting.caption) << "</th>";
    }
    out << "</tr>\n<tr>";
    for (const SheetSetting& setting : sheet.settings) {
        out << "<td>";
        out.Text(setting.value) << "</td>";
    }
    out << "</tr>\n</table>\n";
}

void WriteBlock(HtmlOut& out, const ChannelSheet& sheet, const PageGeometry& g, const RowBlock& block) {
    out << "<table class=\"channels\"><colgroup>";
    for (const double width : g.columnWidths) out << "<col style=\"width: " << Pt(width) << "\">";
    out << "</colgroup>\n<thead><tr>";
    for (const std::string& header : sheet.headers) {
        out << "<th>";
        out.Text(header) << "</th>";
    }
    out << "</tr></thead>\n<tbody>\n";
    for (int i = block.first; i < block.first + block.count; ++i) {
        out << "<tr>";
        for (const std::string& cell : sheet.rows[static_cast<std::size_t>(i)].cells) {
            out << "<td>";
            out.Text(cell) << "</td>";
        }
        out << "</tr>\n";
    }
    out << "</tbody></table>\n";
}

void WritePage(HtmlOut& out, const ChannelSheet& sheet, const PageGeometry& g, const SheetPage& page) {
    out << "<section class=\"page\">\n";
    WriteHeader(out, sheet, page);
    if (page.showsSettings) WriteSettings(out, sheet);
    if (sheet.rows.empty()) {
        out << "<p class=\"empty\">";
        out.Text(kSheetNoChannelsText) << "</p>\n";
    }
    out << "<div class=\"blocks\">\n";
    for (const RowBlock& block : page.blocks) WriteBlock(out, sheet, g, block);
    out << "</div>\n</section>\n";
}

}  // namespace

std::string ChannelSheetHtml(const ChannelSheet& sheet, SheetFormat format) {
    const PageGeometry geometry = GeometryFor(format);
    HtmlOut out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    out.Text(SheetHeadline(sheet)) << "</title>\n";
    WriteStyle(out, geometry, format.paper);
    out << "</head>\n<body>\n";
    for (const SheetPage& page : PaginateSheet(static_cast<int>(sheet.rows.size()), geometry))
        WritePage(out, sheet, geometry, page);
    out << "</body>\n</html>\n";
    return out.Take();
}

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            escaped += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default: {
                const auto byte = static_cast<unsigned char>(c);
                // C0, DEL and C1 (U+0080..U+009F, which Windows-1252's unused bytes decode to).
                const bool c1 = byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
                const bool control = (byte < 0x20 && c != '\t') || byte == 0x7F || c1;
                escaped += control ? kReplacement : text.substr(0, length);
            }
        }
        text.remove_prefix(length);
    }
    return escaped;
}

}  // namespace corvane
