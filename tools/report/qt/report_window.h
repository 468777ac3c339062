// stmtlink-report view: a Qt window with the statements on the left and
// the check's findings beside them, printing through Qt's print dialog (to
// a printer or a PDF file) with the same pages as the PDF.
#pragma once

#include <memory>
#include <string>

#include "tools/report/findings.h"
#include "tools/report/qt/pdf_writer.h"

class QApplication;
class QMainWindow;

namespace stmtlink::report {

struct ViewContent {
  std::string html;        // the document, in its Qt form
  PdfPage page;            // running head and title
  std::string summary;     // the check's result line
  const Findings* findings = nullptr;
  bool refused = false;    // the file could not be read: findings holds the reason
  std::string ledger_path; // the report, when it has a general ledger: shown in a tab of its own
};

// The window's font: IPAPGothic 9 pt, set on the whole application.
void SetReportFont(QApplication* app);

// The window for content, sized for it and centred on its screen when
// shown (report_window_layout.h). content must outlive the window.
std::unique_ptr<QMainWindow> MakeReportWindow(const ViewContent& content);

// Shows the window until it is closed; returns the exit status. With
// screenshot set, saves the window to that PNG once shown and closes.
int ShowReportWindow(const ViewContent& content, const std::string& screenshot);

} // namespace stmtlink::report
