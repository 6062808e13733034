#pragma once
// The channel list as one self-contained HTML document: the pages of
// PaginateSheet, each the size of the paper, with print CSS (@page size, a
// page break after each) so a browser prints them as they are laid out.
#include <string>
#include <string_view>

#include "report/ChannelSheet.h"
#include "report/SheetPages.h"

namespace corvane {

std::string ChannelSheetHtml(const ChannelSheet& sheet, SheetFormat format);

// Text as HTML character data or attribute value: & < > " ' as references,
// control characters and bytes that are not UTF-8 as U+FFFD.
std::string EscapeHtml(std::string_view text);

}  // namespace corvane
