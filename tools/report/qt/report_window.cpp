#include "tools/report/qt/report_window.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tools/report/output_file.h"
#include "tools/report/qt/ledger_table.h"
#include "tools/report/qt/pdf_writer.h"
#include "tools/report/qt/report_window_layout.h"
#include "ui/qt_support/qt_application_start.h"

namespace stmtlink::report {
namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

void Print(QWidget* parent, const ViewContent& content) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(14, 12, 14, 12), QPageLayout::Millimeter));
  printer.setDocName(Q(content.page.title));
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("印刷");
  if (dialog.exec() != QDialog::Accepted) return;
  // Printed to a PDF file: written beside it and put in place when whole.
  const std::string pdf = printer.outputFormat() == QPrinter::PdfFormat
                              ? printer.outputFileName().toStdString()
                              : std::string();
  ReplacementPath replacement;
  std::string reason;
  if (!pdf.empty()) {
    if (!replacement.Prepare(pdf, &reason)) {
      QMessageBox::warning(parent, "印刷", Q(pdf + ": 書き込めません: " + reason));
      return;
    }
    printer.setOutputFileName(Q(replacement.temporary()));
  }
  QPainter painter;
  const bool printed = painter.begin(&printer) &&
                       (PaintPages(content.html, content.page, &printer, &painter), painter.end());
  if (!printed) {
    QMessageBox::warning(parent, "印刷", pdf.empty() ? "印刷できません。" : Q(pdf + ": PDF を作れません"));
  } else if (!pdf.empty() && !replacement.Commit(&reason)) {
    QMessageBox::warning(parent, "印刷", Q(pdf + ": 書き込めません: " + reason));
  }
}

} // namespace

void SetReportFont(QApplication* app) {
  QFont font("IPAPGothic");
  font.setPointSizeF(9);
  app->setFont(font);
}

std::unique_ptr<QMainWindow> MakeReportWindow(const ViewContent& content) {
  auto owned = std::make_unique<QMainWindow>();
  QMainWindow& window = *owned;
  window.setWindowTitle(Q(content.page.title) + " - stmtlink-report");
  auto* splitter = new QSplitter(&window);
  // The statements; with a ledger, the ledger in a tab beside them, read as
  // it is scrolled (the tabs without a frame, so the statements' pane keeps
  // the width the window is fitted to).
  QTabWidget* tabs = content.ledger_path.empty() ? nullptr : new QTabWidget(splitter);
  auto* document = new QTextBrowser(tabs ? static_cast<QWidget*>(tabs) : splitter);
  document->setHtml(Q(content.html));
  if (tabs != nullptr) {
    tabs->setDocumentMode(true);
    tabs->addTab(document, "決算書");
    auto* ledger = new QTableView(tabs);
    ledger->setModel(new LedgerTableModel(content.ledger_path, ledger));
    ledger->verticalHeader()->setVisible(false);
    ledger->verticalHeader()->setDefaultSectionSize(20);
    ledger->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int column : {0, 1, 3, 4, 5}) ledger->setColumnWidth(column, column < 2 ? 130 : 100);
    tabs->addTab(ledger, "総勘定元帳");
  }
  auto* side = new QWidget(splitter);
  auto* layout = new QVBoxLayout(side);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* summary = new QLabel(Q(content.summary), side);
  summary->setWordWrap(true);
  layout->addWidget(summary);
  auto* list = new QListWidget(side);
  list->setWordWrap(true);
  list->setAlternatingRowColors(true);
  if (content.findings != nullptr)
    for (const Finding& finding : content.findings->list()) {
      const char* word = finding.severity == Severity::kError     ? "エラー"
                         : finding.severity == Severity::kWarning ? "警告"
                                                                  : "端数差";
      QString text = QString("【%1】").arg(word);
      if (finding.line > 0) text += QString(" %1 行目").arg(finding.line);
      text += "\n" + Q(finding.message);
      auto* item = new QListWidgetItem(text, list);
      item->setForeground(finding.severity == Severity::kError     ? QColor(170, 0, 0)
                          : finding.severity == Severity::kWarning ? QColor(140, 90, 0)
                                                                   : QColor(60, 60, 60));
      item->setToolTip(Q(finding.path));
    }
  if (list->count() == 0) new QListWidgetItem("指摘はありません。", list);
  layout->addWidget(list, 1);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  window.setCentralWidget(splitter);

  auto* print = new QAction("印刷(&P)…", &window);
  print->setShortcut(QKeySequence::Print);
  QObject::connect(print, &QAction::triggered, &window, [&window, &content] { Print(&window, content); });
  auto* close = new QAction("閉じる(&C)", &window);
  close->setShortcut(QKeySequence::Close);
  QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
  QMenu* file = window.menuBar()->addMenu("ファイル(&F)");
  file->addAction(print);
  file->addSeparator();
  file->addAction(close);
  window.addToolBar("操作")->addAction(print);

  FitReportWindow(&window, splitter, document);
  return owned;
}

int ShowReportWindow(const ViewContent& content, const std::string& screenshot) {
  if (!screenshot.empty()) UseOffscreenWithoutDisplay();
  const QtApplicationStart start(kReportToolName, QtApplicationStart::Kind::kWidgets);
  SetReportFont(qApp);

  const std::unique_ptr<QMainWindow> window = MakeReportWindow(content);
  window->show();
  if (!screenshot.empty()) {
    QTimer::singleShot(200, window.get(), [&window, &screenshot] {
      // The window as shown; with a ledger, its tab too (beside it, "-ledger" on the name).
      auto save = [&window](const std::string& path) {
        ReplacementPath picture;
        std::string reason;
        if (!picture.Prepare(path, &reason) || !window->grab().save(Q(picture.temporary()), "PNG") ||
            !picture.Commit(&reason))
          std::fprintf(stderr, "%s: 書き込めません: %s\n", path.c_str(), reason.c_str());
      };
      save(screenshot);
      auto* tabs = window->findChild<QTabWidget*>();
      if (tabs != nullptr && tabs->count() > 1) {
        tabs->setCurrentIndex(1);
        const std::size_t dot = screenshot.rfind('.');
        save(dot == std::string::npos ? screenshot + "-ledger"
                                      : screenshot.substr(0, dot) + "-ledger" + screenshot.substr(dot));
      }
      window->close();
    });
  }
  QApplication::exec();
  return content.refused ? 2 : 0;
}

} // namespace stmtlink::report
