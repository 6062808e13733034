#pragma once
// The printed channel list on the desktop: the core's sheet and pages painted
// with QPainter onto any paged device, a QPrinter from the print dialog or a
// QPdfWriter, so paper and PDF show the pages the HTML shows.
#include <QString>

#include "forms/MessageFn.h"
#include "model/Status.h"
#include "report/ChannelSheet.h"
#include "report/SheetPages.h"

class QPagedPaintDevice;
class QPageSize;
class QWidget;

namespace corvane {

struct Workspace;

// Sets the device to the format's paper, portrait, without margins, and
// paints every page. An error when the device cannot be painted on.
Status PaintChannelList(QPagedPaintDevice& device, const ChannelSheet& sheet, SheetFormat format);

// The sheet as a PDF file at path.
Status WriteChannelListPdf(const QString& path, const ChannelSheet& sheet, SheetFormat format);

// The paper of a page size a print dialog chose: Letter for Letter, else A4.
Paper PaperForPageSize(const QPageSize& size);

// The sheet of the working set as it stands, dated today.
ChannelSheet TodaysChannelSheet(const Workspace& ws);

// File > Print Channel List...: the print dialog (a printer or a PDF file,
// the paper, and a "Pocket layout" tick on its own tab), then the pages.
// Cancel prints nothing; a failure is told.
void RunChannelListPrint(QWidget* parent, const Workspace& ws, const MessageFn& tell);

}  // namespace corvane
