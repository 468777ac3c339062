#include "aggregate/ledger_line_feed.h"

#include <system_error>
#include <utility>

namespace stmtlink {

LedgerLineFeed::LedgerLineFeed(LedgerLineList* list, std::size_t batch_lines)
    : list_(list), batch_lines_(batch_lines == 0 ? 1 : batch_lines) {
  filling_.lines.reset(new LedgerLine[batch_lines_]);
}

LedgerLineFeed::~LedgerLineFeed() {
  Drain();
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
}

LedgerLine* LedgerLineFeed::Line() {
  LedgerLine* line = &filling_.lines[filling_.count];
  *line = LedgerLine{};
  return line;
}

bool LedgerLineFeed::Put() {
  if (refused_.load(std::memory_order_relaxed)) return false;
  if (++filling_.count == batch_lines_) HandOver();
  return !refused_.load(std::memory_order_relaxed);
}

bool LedgerLineFeed::Drain() {
  if (thread_.joinable()) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !handed_full_; });
  }
  AppendAll(&filling_);
  return !refused_.load();
}

void LedgerLineFeed::HandOver() {
  if (!thread_.joinable() && !no_thread_) {
    try {
      handed_.lines.reset(new LedgerLine[batch_lines_]);
      thread_ = std::thread([this] { Work(); });
    } catch (const std::bad_alloc&) {
      no_thread_ = true;
    } catch (const std::system_error&) {
      no_thread_ = true;
    }
  }
  if (no_thread_) {
    AppendAll(&filling_);
    return;
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !handed_full_; });
    std::swap(filling_, handed_);
    handed_full_ = true;
  }
  changed_.notify_all();
  filling_.count = 0;
}

void LedgerLineFeed::AppendAll(Batch* batch) {
  for (std::size_t i = 0; i < batch->count && !refused_.load(std::memory_order_relaxed); ++i)
    if (!list_->Append(batch->lines[i])) refused_.store(true);
  batch->count = 0;
}

void LedgerLineFeed::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return handed_full_ || stop_; });
    if (!handed_full_) return; // stopped with nothing left
    lock.unlock();
    AppendAll(&handed_);
    lock.lock();
    handed_full_ = false;
    changed_.notify_all();
  }
}

} // namespace stmtlink
