#include "host/rule_shiwake.h"

#include <cstring>
#include <optional>
#include <string>

#include "host/host_errors.h"
#include "host/substitute/host_call.h"
#include "host/substitute/journal_store.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"

using stmtlink::BeginHostCall;

struct ClRuleShiwake::Reading {
  stmtlink::RuleRows<std::uint32_t> lines; // indices into the store
  std::shared_ptr<const stmtlink::JournalStore> journal;

  long ReadAt(std::size_t position, StSWKTINFO* line);
};

ClRuleShiwake::ClRuleShiwake() : reading_(std::make_unique<Reading>()) {}
ClRuleShiwake::~ClRuleShiwake() = default;

namespace {

constexpr std::int32_t kFieldEntry = 6;

} // namespace

long ClRuleShiwake::MoveReady(const StFINDINFO* find, const StSORTINFO*, const StSWKDISPINFO*,
                              int cursor_type) {
  bool understood = true;
  const std::optional<std::int64_t> wanted = stmtlink::WantedValue(find, kFieldEntry, &understood);
  if (long code = BeginHostCall("ClRuleShiwake::MoveReady", wanted.value_or(0), cursor_type))
    return code;
  Reading& reading = *reading_;
  reading.lines.Restart();
  reading.journal.reset();
  if (!understood) return stmtlink::kHostErrorArgument;
  std::string error;
  stmtlink::SubstituteHome& home = stmtlink::CurrentHome();
  std::int64_t data_no = 0;
  if (long code = home.FindDataNo(cur_data_id_, &data_no, &error)) return code;
  std::shared_ptr<const stmtlink::JournalStore> journal = home.JournalLines(data_no, &error);
  if (!journal) return stmtlink::kHostErrorBooks;
  std::vector<std::uint32_t> lines;
  if (wanted) {
    const auto entry = journal->EntryLines(*wanted);
    lines.assign(entry.begin(), entry.end());
  } else {
    lines.resize(journal->size());
    for (std::uint32_t i = 0; i < journal->size(); ++i) lines[i] = i;
  }
  reading.journal = std::move(journal);
  reading.lines.Ready(std::move(lines));
  return 0;
}

long ClRuleShiwake::GetSwkCount(const StFINDINFO*, const StSWKDISPINFO*, long* count) {
  return reading_->lines.CountCall("ClRuleShiwake::GetSwkCount", count);
}

long ClRuleShiwake::Reading::ReadAt(std::size_t position, StSWKTINFO* line) {
  std::size_t at = 0;
  if (long code = lines.TakeInto(line, position, &at)) return code;
  const stmtlink::JournalLine& stored = journal->line(lines.rows()[at]);
  stmtlink::FillJournalFields(stored, journal->Description(stored), line);
  return 0;
}

long ClRuleShiwake::MoveFirst(StSWKTINFO* line) {
  if (long code = BeginHostCall("ClRuleShiwake::MoveFirst")) return code;
  return reading_->ReadAt(0, line);
}

long ClRuleShiwake::MoveNext(StSWKTINFO* line) {
  if (long code = BeginHostCall("ClRuleShiwake::MoveNext")) return code;
  return reading_->ReadAt(reading_->lines.NextPosition(), line);
}

long ClRuleShiwake::MoveFinish() {
  if (long code = BeginHostCall("ClRuleShiwake::MoveFinish")) return code;
  reading_->lines.Forget();
  reading_->journal.reset();
  return 0;
}
