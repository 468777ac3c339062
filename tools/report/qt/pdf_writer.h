// The statements as a PDF through Qt's text engine: A4, the Japanese font
// embedded, the company and period at the top of every page and the page
// number at its foot.
#pragma once

#include <functional>
#include <string>

class QPagedPaintDevice;
class QPainter;

namespace stmtlink::report {

struct PdfPage {
  std::string running_head; // company and period, UTF-8
  std::string title;        // the PDF's title
};

// Lays out html (the document of StatementsHtml in its Qt form, UTF-8) and
// writes it to path: a temporary of ReplacementPath, which puts it in
// place. False when it could not be written.
bool WritePdf(const std::string& html, const PdfPage& page, const std::string& path,
              int* pages = nullptr);

class LedgerPagePainter;

// The statements as in WritePdf, then the general ledger painted page by
// page: paint_ledger reads the report's ledger again and lays it out
// (ledger_pages.h) onto the painter it is given, which paints each page as
// it fills. ledger_pages: the count of the first pass, for the total.
// Nothing of the ledger is kept but the page at hand.
bool WritePdfWithLedger(const std::string& html, const PdfPage& page, const std::string& path,
                        int ledger_pages, const std::function<bool(LedgerPagePainter*)>& paint_ledger,
                        int* pages = nullptr);

// A Qt application for drawing, on the offscreen platform when there is no
// display; made once, on first use.
void EnsureQtApplication();

// The name the tool's Qt application object goes by (argv[0] for Qt).
inline constexpr char kReportToolName[] = "stmtlink-report";

// Lays out html and paints it page by page onto an open painter of device
// (a PDF writer or a printer), with the running head and page numbers.
// Returns the number of pages; the page numbers' total counts
// extra_pages more (the ledger's, painted after).
int PaintPages(const std::string& html, const PdfPage& page, QPagedPaintDevice* device,
               QPainter* painter, int extra_pages = 0);

} // namespace stmtlink::report
