#include "tools/report/qt/pdf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tools/report/findings.h"
#include "tools/report/ledger_pages.h"
#include "ui/qt_support/qt_application_start.h"

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
  UseOffscreenWithoutDisplay();
  // Kept for the rest of the process: pages may be painted more than once.
  static QtApplicationStart start(kReportToolName, QtApplicationStart::Kind::kPainting);
}

int PaintPages(const std::string& html, const PdfPage& page, QPagedPaintDevice* device,
               QPainter* painter, int extra_pages) {
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
    if (p > 0) PaintHeadAndFoot(painter, small, running, body, head, foot, p + 1, pages + extra_pages); // not on the cover
    painter->save();
    painter->translate(0, head - p * body.height());
    document.drawContents(painter, QRectF(0, p * body.height(), body.width(), body.height()));
    painter->restore();
  }
  return pages;
}

namespace {

// A4 with the statements' margins, at the resolution the text engine lays out for.
void SetUpWriter(QPdfWriter* writer, const PdfPage& page) {
  writer->setResolution(300);
  writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(14, 12, 14, 12), QPageLayout::Millimeter));
  writer->setTitle(QString::fromStdString(page.title));
  writer->setCreator("stmtlink-report");
}

// Paints the ledger's pages after the statements'.
class QtLedgerPainter : public LedgerPagePainter {
 public:
  QtLedgerPainter(QPdfWriter* writer, QPainter* painter, const PdfPage& page, int first_page, int total)
      : writer_(writer), painter_(painter), running_(QString::fromStdString(page.running_head)),
        page_(first_page), total_(total) {
    const int dpi = writer->logicalDpiX();
    const QRect area = writer->pageLayout().paintRectPixels(dpi);
    mm_ = dpi / 25.4;
    head_ = 8 * mm_;
    foot_ = 8 * mm_;
    body_ = QSizeF(area.width(), area.height() - head_ - foot_);
    row_ = body_.height() / kLedgerRowsPerPage;
    font_ = QFont("IPAPGothic");
    font_.setPointSizeF(7.5);
    small_ = font_;
    small_.setPointSizeF(7.5);
    // 日付, 相手勘定科目, 摘要, 借方, 貸方, 残高: widths in parts of the body's width.
    const double parts[] = {0.15, 0.17, 0.29, 0.13, 0.13, 0.13};
    double x = 0;
    for (double part : parts) {
      edges_.push_back(x);
      x += part * body_.width();
    }
    edges_.push_back(body_.width());
  }

  void NewPage() override {
    writer_->newPage();
    PaintHeadAndFoot(painter_, small_, running_, body_, head_, foot_, ++page_, total_);
  }
  void Title(int row, const std::string& text) override {
    QFont title = font_;
    title.setPointSizeF(14);
    painter_->setFont(title);
    painter_->drawText(Row(row, 2), Qt::AlignCenter, QString::fromStdString(text));
  }
  void AccountHead(int row, const std::string& caption) override {
    QFont bold = font_;
    bold.setBold(true);
    bold.setPointSizeF(9);
    painter_->setFont(bold);
    painter_->drawText(Row(row, 1).adjusted(mm_, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromStdString(caption));
  }
  void Headings(int row) override {
    painter_->fillRect(Row(row, 1), QColor(232, 232, 232));
    const char* const names[] = {"日付", "相手勘定科目", "摘要", "借方", "貸方", "残高"};
    painter_->setFont(font_);
    for (int c = 0; c < 6; ++c) painter_->drawText(Cell(row, c), Qt::AlignCenter, QString::fromUtf8(names[c]));
    Grid(row);
  }
  void Line(int row, const LedgerLine& line) override {
    const bool total = line.kind == LedgerLineKind::kMonthTotal || line.kind == LedgerLineKind::kCumulative ||
                       line.kind == LedgerLineKind::kClosing;
    QFont font = font_;
    font.setBold(total);
    painter_->setFont(font);
    const QFontMetricsF metrics(font, writer_);
    auto text = [&](int c, const std::string& value, Qt::Alignment align) {
      const QRectF cell = Cell(row, c).adjusted(mm_ * 0.8, 0, -mm_ * 0.8, 0);
      painter_->drawText(cell, align | Qt::AlignVCenter,
                         metrics.elidedText(QString::fromStdString(value), Qt::ElideRight, cell.width()));
    };
    auto figure = [&](int c, const std::optional<std::int64_t>& value) {
      if (value) text(c, GroupedNumber(*value, "△"), Qt::AlignRight);
    };
    text(0, line.date, Qt::AlignLeft);
    text(1, line.counter_account, Qt::AlignLeft);
    text(2, line.description, Qt::AlignLeft);
    figure(3, line.debit);
    figure(4, line.credit);
    figure(5, line.balance);
    Grid(row);
  }

 private:
  QRectF Row(int row, int rows) const { return QRectF(0, head_ + row * row_, body_.width(), rows * row_); }
  QRectF Cell(int row, int column) const {
    return QRectF(edges_[column], head_ + row * row_, edges_[column + 1] - edges_[column], row_);
  }
  void Grid(int row) {
    painter_->save();
    painter_->setPen(QPen(QColor(110, 110, 110), mm_ * 0.12));
    for (int c = 0; c < 6; ++c) painter_->drawRect(Cell(row, c));
    painter_->restore();
  }

  QPdfWriter* writer_;
  QPainter* painter_;
  QString running_;
  int page_, total_;
  double mm_ = 1, head_ = 0, foot_ = 0, row_ = 1;
  QSizeF body_;
  QFont font_, small_;
  std::vector<double> edges_;
};

} // namespace

bool WritePdf(const std::string& html, const PdfPage& page, const std::string& path,
              int* page_count) {
  return WritePdfWithLedger(html, page, path, 0, [](LedgerPagePainter*) { return true; }, page_count);
}

bool WritePdfWithLedger(const std::string& html, const PdfPage& page, const std::string& path,
                        int ledger_pages, const std::function<bool(LedgerPagePainter*)>& paint_ledger,
                        int* page_count) {
  EnsureQtApplication();
  QPdfWriter writer(QString::fromStdString(path));
  SetUpWriter(&writer, page);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  const int statements = PaintPages(html, page, &writer, &painter, ledger_pages);
  QtLedgerPainter ledger(&writer, &painter, page, statements, statements + ledger_pages);
  const bool read = paint_ledger(&ledger);
  if (page_count) *page_count = statements + ledger_pages;
  return painter.end() && read && QFile::exists(QString::fromStdString(path));
}

} // namespace stmtlink::report
