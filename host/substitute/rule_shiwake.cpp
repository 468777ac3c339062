#include "host/rule_shiwake.h"

#include <cstring>
#include <optional>
#include <string>

#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "host/substitute/journal_store.h"

using stmtlink::BeginHostCall;

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
  journal_.reset();
  position_ = 0;
  if (!understood) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::int64_t data_no = 0;
  if (long code = stmtlink::FindDataNo(*books, cur_data_id_, &data_no, &error)) return code;
  std::shared_ptr<const stmtlink::JournalStore> journal =
      stmtlink::JournalStore::Get(*books, data_no, &error);
  if (!journal) return stmtlink::kHostErrorBooks;
  std::vector<std::uint32_t> lines;
  if (wanted) {
    const auto entry = journal->EntryLines(*wanted);
    lines.assign(entry.begin(), entry.end());
  } else {
    lines.resize(journal->size());
    for (std::uint32_t i = 0; i < journal->size(); ++i) lines[i] = i;
  }
  journal_ = std::move(journal);
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
  const stmtlink::JournalLine& stored = journal_->line(lines_[position]);
  stmtlink::FillJournalFields(stored, journal_->Description(stored), line);
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
  journal_.reset();
  position_ = 0;
  return 0;
}
