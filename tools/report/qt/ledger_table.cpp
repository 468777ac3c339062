#include "tools/report/qt/ledger_table.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "tools/report/findings.h"
#include "tools/report/ledger_book.h"

namespace stmtlink::report {

// Lines passed from the reader thread to the table; shared, so that the
// reader may finish after the window is gone.
struct LedgerQueue {
  struct Entry {
    std::string cells[6];
    bool account = false, total = false;
  };
  static constexpr std::size_t kCapacity = 2000;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Entry> entries;
  bool done = false;      // the reader has finished
  bool abandoned = false; // the table is gone: drop the rest
};

namespace {

constexpr int kBatch = 400; // lines taken each time the table reaches its end

class QueueOutput : public LedgerBookOutput {
 public:
  explicit QueueOutput(std::shared_ptr<LedgerQueue> queue) : queue_(std::move(queue)) {}
  void BeginAccount(const std::string& account, const std::string& category) override {
    LedgerQueue::Entry entry;
    entry.cells[0] = account + "（" + category + "）";
    entry.account = true;
    Push(std::move(entry));
  }
  void Line(const LedgerLine& line) override {
    LedgerQueue::Entry entry;
    auto figure = [](const std::optional<std::int64_t>& v) { return v ? GroupedNumber(*v, "△") : std::string(); };
    entry.cells[0] = line.date;
    entry.cells[1] = line.counter_account;
    entry.cells[2] = line.description;
    entry.cells[3] = figure(line.debit);
    entry.cells[4] = figure(line.credit);
    entry.cells[5] = figure(line.balance);
    entry.total = line.kind != LedgerLineKind::kEntry && line.kind != LedgerLineKind::kBroughtForward;
    Push(std::move(entry));
  }
  void EndAccount() override {}

 private:
  void Push(LedgerQueue::Entry entry) {
    std::unique_lock<std::mutex> lock(queue_->mutex);
    queue_->changed.wait(lock, [&] { return queue_->abandoned || queue_->entries.size() < LedgerQueue::kCapacity; });
    if (queue_->abandoned) return;
    queue_->entries.push_back(std::move(entry));
    queue_->changed.notify_all();
  }
  std::shared_ptr<LedgerQueue> queue_;
};

} // namespace

LedgerTableModel::LedgerTableModel(const std::string& path, QObject* parent)
    : QAbstractTableModel(parent), queue_(std::make_shared<LedgerQueue>()) {
  std::thread([queue = queue_, path] {
    QueueOutput output(queue);
    ReadResult read;
    LedgerBook book(&output, &read.root);
    ReadOptions options;
    options.ledger = &book;
    if (ReadReport(path, options, &read)) book.Finish();
    std::lock_guard<std::mutex> lock(queue->mutex);
    queue->done = true;
    queue->changed.notify_all();
  }).detach();
}

LedgerTableModel::~LedgerTableModel() {
  std::lock_guard<std::mutex> lock(queue_->mutex);
  queue_->abandoned = true;
  queue_->entries.clear();
  queue_->changed.notify_all();
}

int LedgerTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}
int LedgerTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QVariant LedgerTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Shown& row = rows_[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return row.cells[index.column()];
  if (role == Qt::TextAlignmentRole)
    return index.column() >= 3 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  if (role == Qt::FontRole && (row.account || row.total)) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role == Qt::BackgroundRole && row.account) return QBrush(QColor(232, 232, 232));
  return {};
}

QVariant LedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const kHeads[] = {"日付", "相手勘定科目", "摘要", "借方", "貸方", "残高"};
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section > 5) return {};
  return QString::fromUtf8(kHeads[section]);
}

bool LedgerTableModel::canFetchMore(const QModelIndex& parent) const {
  if (parent.isValid()) return false;
  std::lock_guard<std::mutex> lock(queue_->mutex);
  return !queue_->done || !queue_->entries.empty();
}

void LedgerTableModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid()) return;
  std::vector<Shown> taken;
  {
    // The reader runs far ahead of a person; waiting for a batch is short.
    std::unique_lock<std::mutex> lock(queue_->mutex);
    queue_->changed.wait(lock, [&] { return queue_->done || queue_->entries.size() >= kBatch; });
    while (!queue_->entries.empty() && taken.size() < kBatch) {
      LedgerQueue::Entry& entry = queue_->entries.front();
      Shown shown;
      for (int c = 0; c < 6; ++c) shown.cells[c] = QString::fromStdString(entry.cells[c]);
      shown.account = entry.account;
      shown.total = entry.total;
      taken.push_back(std::move(shown));
      queue_->entries.pop_front();
    }
    queue_->changed.notify_all();
  }
  if (taken.empty()) return;
  beginInsertRows(QModelIndex(), static_cast<int>(rows_.size()), static_cast<int>(rows_.size() + taken.size()) - 1);
  for (Shown& shown : taken) rows_.push_back(std::move(shown));
  endInsertRows();
}

} // namespace stmtlink::report
