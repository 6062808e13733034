// The printed channel list: what the sheet lists, how it falls onto pages,
// and the HTML every browser prints it from.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "image_fixtures.h"
#include "model/ChannelDefaults.h"
#include "report/ChannelSheet.h"
#include "report/SheetHtml.h"
#include "report/SheetPages.h"

namespace corvane {
namespace {

int Count(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
    return count;
}

TEST(ChannelSheet, ListsTheChannelsWithAFrequencyAsTheGridShowsThem) {
    const Workspace ws = testing::RichWorkspace(kEditionKorea);
    const ChannelSheet sheet = BuildChannelSheet(ws, SheetDate(2025, 3, 7));

    ASSERT_EQ(sheet.rows.size(), 4u);  // 1, 2, 3 (transmit only) and 255
    EXPECT_EQ(sheet.rows[0].cells, (std::array<std::string, kSheetColumnCount>{
                                       "[CH-001]", "A-1", "446.006250", "446.006250", "[12] C100.0", "Yes", "Wide",
                                       "High", "On", "On"}));
    EXPECT_EQ(sheet.rows[1].cells[SheetTone], "[001] D023");
    EXPECT_EQ(sheet.rows[2].channel, 3);
    EXPECT_EQ(sheet.rows[2].cells[SheetRx], "");
    EXPECT_EQ(sheet.rows[3].cells[SheetTone], "[208] ED526");  // the edition's DCS list
    EXPECT_EQ(sheet.headers[SheetChannel], "No");
    EXPECT_EQ(sheet.headers[SheetTone], "TONE");
    EXPECT_EQ(sheet.headers[SheetCompander], "COM");
    EXPECT_EQ(SheetSetLine(sheet), "Korea, Custom mode, 2025-03-07");
    EXPECT_EQ(SheetHeadline(sheet), "Corvane PC Programmer - Channel List");

    // The setup window's captions and option texts.
    std::vector<std::pair<std::string, std::string>> settings;
    for (const SheetSetting& s : sheet.settings) settings.emplace_back(s.caption, s.value);
    EXPECT_EQ(settings, (std::vector<std::pair<std::string, std::string>>{
                            {"Name ID:", "KZ"}, {"DTMF ID:", "90817"}, {"P1-Side", "UP"}, {"P2-Left", "DOWN"},
                            {"P3-Center", "MENU_FUN"}, {"P4-Right", "SQUELCH"}, {"Squelch", "4"}}));
}

TEST(ChannelSheet, ToneIsWhatTheRadioIsSentAndStrayIndicesShowAsNumbers) {
    Workspace ws = testing::RichWorkspace(kEditionPmrLpd);
    ws.channels.SetCell(1, ColDcs, DcsLabel(6, kEditionPmrLpd));  // both tones: the image sends CTCSS
    ws.channels.SetCell(2, ColDcs, "[006] D043");                 // a Korea label: no tone in this edition
    ws.settings.Squelch = 9;
    const ChannelSheet sheet = BuildChannelSheet(ws, "d");
    EXPECT_EQ(sheet.rows[0].cells[SheetTone], "[12] C100.0");
    EXPECT_EQ(sheet.rows[1].cells[SheetTone], "OFF");
    EXPECT_EQ(sheet.settings.back().value, "(9)");
}

TEST(ChannelSheet, FingerprintIsTheImagesOrWhyThereIsNone) {
    Workspace ws = testing::RichWorkspace(kEditionPmrLpd);
    const ChannelSheet sheet = BuildChannelSheet(ws, "d");
    EXPECT_TRUE(std::regex_match(sheet.fingerprint, std::regex("[0-9a-f]{8}"))) << sheet.fingerprint;
    EXPECT_EQ(SheetImageLine(sheet), "Image fingerprint " + sheet.fingerprint);

    ws.channels.SetCell(1, ColPower, std::string(kLow));
    EXPECT_NE(BuildChannelSheet(ws, "d").fingerprint, sheet.fingerprint);

    ws.settings.NameId = "";
    const ChannelSheet refused = BuildChannelSheet(ws, "d");
    EXPECT_EQ(refused.fingerprint, "");
    EXPECT_EQ(SheetImageLine(refused), "No image: " + refused.imageProblem);
    EXPECT_EQ(refused.imageProblem, "Name ID \"\" cannot be sent");  // the rule behind it stays with the program
    EXPECT_EQ(refused.rows.size(), sheet.rows.size());
}

struct PaginationCase {
    SheetFormat format;
    int pagesFor255;
};

class Pagination : public ::testing::TestWithParam<PaginationCase> {};

// Every row once, in order, whole on one page inside the margins; every page
// full before the next starts; the settings on the first page only.
TEST_P(Pagination, RowsNeverSplitAndPagesFillInOrder) {
    const PageGeometry g = GeometryFor(GetParam().format);
    for (const int rowCount : {0, 1, 77, 255}) {
        SCOPED_TRACE(rowCount);
        const std::vector<SheetPage> pages = PaginateSheet(rowCount, g);
        ASSERT_FALSE(pages.empty());
        int next = 0;
        for (const SheetPage& page : pages) {
            EXPECT_EQ(page.count, static_cast<int>(pages.size()));
            EXPECT_EQ(page.showsSettings, page.number == 1);
            EXPECT_LE(static_cast<int>(page.blocks.size()), g.blocksPerPage);
            const int capacity = g.RowsPerBlock(page.showsSettings);
            // Column headers and rows end above the bottom margin.
            EXPECT_LE(g.TableTop(page.showsSettings) + (capacity + 1) * g.rowHeight, g.pageHeight - g.margin + 1e-6);
            for (std::size_t b = 0; b < page.blocks.size(); ++b) {
                const RowBlock& block = page.blocks[b];
                EXPECT_EQ(block.first, next);
                EXPECT_GE(block.count, 1);
                EXPECT_LE(block.count, capacity);
                const bool lastBlock = &page == &pages.back() && b + 1 == page.blocks.size();
                if (!lastBlock) {
                    EXPECT_EQ(block.count, capacity);
                }
                next += block.count;
            }
        }
        EXPECT_EQ(next, rowCount);
        EXPECT_EQ(PageNumberText(pages.back()), "Page " + std::to_string(pages.size()) + " of " + std::to_string(pages.size()));
    }
    EXPECT_EQ(static_cast<int>(PaginateSheet(kChannelCount, g).size()), GetParam().pagesFor255);

    double right = g.BlockLeft(g.blocksPerPage - 1) + g.BlockWidth();
    EXPECT_NEAR(right, g.pageWidth - g.margin, 1e-6);
    double columns = 0;
    for (const double width : g.columnWidths) columns += width;
    EXPECT_NEAR(columns, g.BlockWidth(), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    PapersAndLayouts, Pagination,
    ::testing::Values(PaginationCase{{Paper::A4, SheetLayout::Table}, 6}, PaginationCase{{Paper::Letter, SheetLayout::Table}, 6},
                      PaginationCase{{Paper::A4, SheetLayout::Pocket}, 2},
                      PaginationCase{{Paper::Letter, SheetLayout::Pocket}, 2}));

TEST(PaperFromName, TakesTheTwoNamesInAnyCase) {
    EXPECT_EQ(PaperFromName("A4"), Paper::A4);
    EXPECT_EQ(PaperFromName("letter"), Paper::Letter);
    EXPECT_EQ(PaperFromName("Letter"), Paper::Letter);
    EXPECT_EQ(PaperFromName("a5"), std::nullopt);
    EXPECT_EQ(PaperFromName(""), std::nullopt);
}

TEST(EscapeHtml, MarkupQuotesControlsAndBrokenUtf8) {
    EXPECT_EQ(EscapeHtml("<b a=\"1\" c='2'>&amp;</b>"), "&lt;b a=&quot;1&quot; c=&#39;2&#39;&gt;&amp;amp;&lt;/b&gt;");
    EXPECT_EQ(EscapeHtml("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x93\xBB"), "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x93\xBB");  // ä € 📻
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(EscapeHtml(std::string("a\0b", 3)), "a" + bad + "b");
    EXPECT_EQ(EscapeHtml("\x1B[0m\x7F\xC2\x81"), bad + "[0m" + bad + bad);
    EXPECT_EQ(EscapeHtml("\xFF\xC3"), bad + bad);           // not UTF-8, cut short
    EXPECT_EQ(EscapeHtml("\xC0\xBC"), bad + bad);           // overlong "<"
    EXPECT_EQ(EscapeHtml("\xED\xA0\x80"), bad + bad + bad); // a surrogate
}

TEST(ChannelSheetHtml, EveryTextEscapedAndEveryPageWithItsHeader) {
    Workspace ws;
    ws.edition = kEditionPmrLpd;
    ResetToEditionDefaults(ws);
    ws.channelMode = kModeCustom;
    for (int c = 1; c <= kChannelCount; ++c) ws.channels.SetFrequencyCell(430.0 + c * 0.0125, c, ColRxFreq);
    ws.channels.SetCell(5, ColGroup, "</td><script>alert(1)</script>");
    ws.settings.DtmfId = "<i>&";
    const ChannelSheet sheet = BuildChannelSheet(ws, "\"2025\"");

    for (const auto& [format, pages] : {std::pair{SheetFormat{Paper::A4, SheetLayout::Table}, 6},
                                        std::pair{SheetFormat{Paper::Letter, SheetLayout::Pocket}, 2}}) {
        const std::string html = ChannelSheetHtml(sheet, format);
        EXPECT_EQ(Count(html, "<script"), 0);
        EXPECT_EQ(Count(html, "&lt;/td&gt;&lt;script&gt;alert(1)&lt;/script&gt;"), 1);
        EXPECT_EQ(Count(html, "<td>&lt;i&gt;&amp;</td>"), 1);  // settings on the first page only
        EXPECT_EQ(Count(html, "&quot;2025&quot;"), pages);
        EXPECT_EQ(Count(html, "<section class=\"page\">"), pages);
        for (int n = 1; n <= pages; ++n)
            EXPECT_EQ(Count(html, "Page " + std::to_string(n) + " of " + std::to_string(pages)), 1) << n;
        EXPECT_EQ(Count(html, "Image fingerprint " + sheet.fingerprint), pages);
        EXPECT_EQ(Count(html, "<tr><td>[CH-"), kChannelCount);
        EXPECT_EQ(Count(html, "<td>[CH-255]</td>"), 1);
        EXPECT_EQ(Count(html, format.paper == Paper::Letter ? "size: letter" : "size: A4"), 1);
    }
}

}  // namespace
}  // namespace corvane
