// The statements as a PDF through Qt's text engine: A4, the Japanese font
// embedded, the company and period at the top of every page and the page
// number at its foot.
#pragma once

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

// A Qt application for drawing, on the offscreen platform when there is no
// display; made once, on first use.
void EnsureQtApplication();

// Lays out html and paints it page by page onto an open painter of device
// (a PDF writer or a printer), with the running head and page numbers.
// Returns the number of pages.
int PaintPages(const std::string& html, const PdfPage& page, QPagedPaintDevice* device,
               QPainter* painter);

} // namespace stmtlink::report
