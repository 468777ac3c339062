#include "tools/report/qt/pdf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ui/qt/qt_start_environment.h"

namespace stmtlink::report {
namespace {

// Qt's own notes on standard error are for its developers and in English;
// the tool says what failed in its own words. Critical messages still pass.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// The company and period at the head of a page, its number at the foot.
void PaintHeadAndFoot(QPainter* painter, const QFont& font, const QString& running, const QSizeF& body,
                      double head, double foot, int page, int pages) {
  painter->setFont(font);
  painter->setPen(Qt::black);
  painter->drawText(QRectF(0, 0, body.width(), head * 0.8), Qt::AlignLeft | Qt::AlignBottom, running);
  painter->drawLine(QPointF(0, head * 0.85), QPointF(body.width(), head * 0.85));
  painter->drawText(QRectF(0, head + body.height() + foot * 0.2, body.width(), foot * 0.8),
                    Qt::AlignHCenter | Qt::AlignTop, QString("- %1 / %2 -").arg(page).arg(pages));
}

} // namespace

void EnsureQtApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  qInstallMessageHandler(QuietQtNotes);
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "stmtlink-report";
  static char* argv[] = {name, nullptr};
  // The same start as the program's windows: a runtime folder (no warning
  // on standard error) and Japanese formats under the C locale.
  QtStartEnvironment start;
  start.BeforeQtStarts();
  static std::unique_ptr<QGuiApplication> app(new QGuiApplication(argc, argv));
  start.AfterQtStarted();
}

int PaintPages(const std::string& html, const PdfPage& page, QPagedPaintDevice* device,
               QPainter* painter) {
  QFont font("IPAPGothic");
  font.setPointSizeF(9);
  QTextDocument document;
  document.setDefaultFont(font);
  document.documentLayout()->setPaintDevice(device);
  document.setHtml(QString::fromUtf8(html.data(), static_cast<int>(html.size())));

  const int dpi = device->logicalDpiX();
  const QRect area = device->pageLayout().paintRectPixels(dpi);
  const double dots_per_mm = dpi / 25.4;
  const double head = 8 * dots_per_mm, foot = 8 * dots_per_mm;
  const QSizeF body(area.width(), area.height() - head - foot);
  document.setPageSize(body);
  const int pages = document.pageCount();

  QFont small = font;
  small.setPointSizeF(7.5);
  const QString running = QString::fromStdString(page.running_head);
  for (int p = 0; p < pages; ++p) {
    if (p > 0) device->newPage();
    if (p > 0) PaintHeadAndFoot(painter, small, running, body, head, foot, p + 1, pages); // not on the cover
    painter->save();
    painter->translate(0, head - p * body.height());
    document.drawContents(painter, QRectF(0, p * body.height(), body.width(), body.height()));
    painter->restore();
  }
  return pages;
}

bool WritePdf(const std::string& html, const PdfPage& page, const std::string& path,
              int* page_count) {
  EnsureQtApplication();
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(300);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(14, 12, 14, 12), QPageLayout::Millimeter));
  writer.setTitle(QString::fromStdString(page.title));
  writer.setCreator("stmtlink-report");

  QPainter painter;
  if (!painter.begin(&writer)) return false;
  const int pages = PaintPages(html, page, &writer, &painter);
  if (page_count) *page_count = pages;
  return painter.end() && QFile::exists(QString::fromStdString(path));
}

} // namespace stmtlink::report
