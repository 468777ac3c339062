// The ledger lines of the collection handed to the line list on a second
// thread. The collection's own work is host calls, one after another, that
// must stay in order on the caller's thread; packing a line and interning
// its five texts is not, so the list does that for the lines before while
// the collection reads the next ones. Lines reach the list in the order
// they were put, and every one has reached it when Drain returns.
//
// The thread starts only once a batch fills: a small ledger is appended on
// the caller's thread at Drain, as if there were no feed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>

#include "aggregate/ledger_line.h"

namespace stmtlink {

class LedgerLineFeed {
 public:
  // Lines handed over at a time (two batches of them are kept: some 440 KB
  // at the default).
  static constexpr std::size_t kBatchLines = 1024;

  explicit LedgerLineFeed(LedgerLineList* list, std::size_t batch_lines = kBatchLines);
  ~LedgerLineFeed(); // drains first

  LedgerLineFeed(const LedgerLineFeed&) = delete;
  LedgerLineFeed& operator=(const LedgerLineFeed&) = delete;

  // A zero-filled line for the caller to fill; Put() hands it on. Without
  // Put() the next Line() is the same place again (the line is dropped).
  LedgerLine* Line();
  // Hands on the line that Line() gave. False, and nothing more is taken,
  // once the list has refused a line (no memory).
  bool Put();
  // Waits until every line put has reached the list. False when the list
  // refused one: the lines before it are there, none after.
  bool Drain();

 private:
  struct Batch {
    std::unique_ptr<LedgerLine[]> lines;
    std::size_t count = 0;
  };
  void HandOver();
  void AppendAll(Batch* batch);
  void Work();

  LedgerLineList* const list_;
  const std::size_t batch_lines_;
  Batch filling_; // the caller's
  Batch handed_;  // the thread's while handed_full_
  std::mutex mutex_;
  std::condition_variable changed_;
  bool handed_full_ = false; // guarded by mutex_
  bool stop_ = false;        // guarded by mutex_
  std::atomic<bool> refused_{false};
  std::thread thread_;
  bool no_thread_ = false; // the thread could not be started: appended here
};

} // namespace stmtlink
