// The general ledger in the view window, loaded as it is scrolled: a
// reader thread reads the report's ledger into the book form
// (ledger_book.h) and hands its lines over through a small queue, waiting
// while the queue is full; the table takes the next lines only when the
// user scrolls to its end (canFetchMore/fetchMore). A ledger of a gigabyte
// is never read further than the user has looked, and only what has been
// shown is kept.
#pragma once

#include <QAbstractTableModel>

#include <memory>
#include <string>
#include <vector>

namespace stmtlink::report {

struct LedgerQueue;

class LedgerTableModel : public QAbstractTableModel {
 public:
  // Starts reading the ledger of the report at path.
  explicit LedgerTableModel(const std::string& path, QObject* parent = nullptr);
  ~LedgerTableModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  struct Shown {
    QString cells[6]; // 日付, 相手勘定科目, 摘要, 借方, 貸方, 残高
    bool account = false, total = false;
  };
  std::shared_ptr<LedgerQueue> queue_;
  std::vector<Shown> rows_;
};

} // namespace stmtlink::report
