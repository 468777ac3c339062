#include "host/rule_shiwake.h"

#include <cstring>
#include <optional>
#include <string>

#include "host/books_db.h"
#include "host/host_call.h"
#include "host/host_errors.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

namespace {

constexpr std::int32_t kFieldEntry = 6;

} // namespace

long ClRuleShiwake::MoveReady(const StFINDINFO* find, const StSORTINFO*, const StSWKDISPINFO*,
                              int cursor_type) {
  bool understood = true;
  const std::optional<std::int64_t> wanted = stmtlink::WantedValue(find, kFieldEntry, &understood);
  if (long code = BeginHostCall("ClRuleShiwake::MoveReady", wanted.value_or(0), cursor_type))
    return code;
  ready_ = false;
  lines_.clear();
  position_ = 0;
  if (!understood) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::int64_t data_no = 0;
  if (long code = stmtlink::FindDataNo(*books, cur_data_id_, &data_no, &error)) return code;
  const std::string sql = std::string("SELECT ") + stmtlink::kJournalLineColumns +
                          " FROM journal_line WHERE data_no = ?1" +
                          (wanted ? " AND entry_id = ?2" : "") +
                          " ORDER BY date, entry_id, line_no";
  BooksStatement q;
  if (!books->Prepare(sql, &q, &error) || !q.BindInt64(1, data_no, &error) ||
      (wanted && !q.BindInt64(2, *wanted, &error)))
    return stmtlink::kHostErrorBooks;
  std::vector<stmtlink::JournalLine> lines;
  for (;;) {
    BooksStatement::Step step = q.Next(&error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return stmtlink::kHostErrorBooks;
    lines.push_back(stmtlink::ReadJournalLine(q));
  }
  lines_ = std::move(lines);
  ready_ = true;
  return 0;
}

long ClRuleShiwake::GetSwkCount(const StFINDINFO*, const StSWKDISPINFO*, long* count) {
  if (long code = BeginHostCall("ClRuleShiwake::GetSwkCount")) return code;
  if (!count || !ready_) return stmtlink::kHostErrorArgument;
  *count = static_cast<long>(lines_.size());
  return 0;
}

long ClRuleShiwake::ReadAt(std::size_t position, StSWKTINFO* line) {
  if (!line) return stmtlink::kHostErrorArgument;
  std::memset(line, 0, sizeof(*line));
  if (!ready_) return stmtlink::kHostErrorArgument;
  if (position >= lines_.size()) return stmtlink::kHostEndOfRows;
  stmtlink::FillJournalFields(lines_[position], line);
  position_ = position + 1;
  return 0;
}

long ClRuleShiwake::MoveFirst(StSWKTINFO* line) {
  if (long code = BeginHostCall("ClRuleShiwake::MoveFirst")) return code;
  return ReadAt(0, line);
}

long ClRuleShiwake::MoveNext(StSWKTINFO* line) {
  if (long code = BeginHostCall("ClRuleShiwake::MoveNext")) return code;
  return ReadAt(position_, line);
}

long ClRuleShiwake::MoveFinish() {
  if (long code = BeginHostCall("ClRuleShiwake::MoveFinish")) return code;
  ready_ = false;
  lines_.clear();
  lines_.shrink_to_fit();
  position_ = 0;
  return 0;
}
