#include "host/rule_kamoku.h"

#include <cstring>
#include <string>

#include "host/substitute/account_sums.h"
#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "platform/text_codec.h"

using stmtlink::BeginHostCall;

long ClRuleKamoku::MoveReady(int sum_type_base, int bumon_sum_type, int disp_type,
                             const StFINDINFO* find, const StBUMONINFO*, int past_type) {
  // The journal shows the first two conditions (the month positions).
  const int first = find ? find[0].value : 0;
  const int last = find ? find[1].value : 0;
  if (long code = BeginHostCall("ClRuleKamoku::MoveReady", sum_type_base, bumon_sum_type,
                                disp_type, first, last, past_type))
    return code;
  ready_ = false;
  rows_.clear();
  position_ = 0;
  reads_ = 0;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  switch (stmtlink::ComputeAccountSums(*books, stmtlink::ToUtf8(cur_data_id_), &rows_, &error)) {
    case stmtlink::SumsStatus::kOk:
      ready_ = true;
      return 0;
    case stmtlink::SumsStatus::kNoDataSet:
      return stmtlink::kHostErrorNoDataSet;
    case stmtlink::SumsStatus::kBooksError:
      break;
  }
  return stmtlink::kHostErrorBooks;
}

long ClRuleKamoku::GetSumCount(long* count) {
  if (long code = BeginHostCall("ClRuleKamoku::GetSumCount")) return code;
  if (!count || !ready_) return stmtlink::kHostErrorArgument;
  *count = static_cast<long>(rows_.size());
  return 0;
}

long ClRuleKamoku::SetMovePos(long position) {
  if (long code = BeginHostCall("ClRuleKamoku::SetMovePos", position)) return code;
  if (!ready_ || position < 0 || static_cast<std::size_t>(position) > rows_.size())
    return stmtlink::kHostErrorArgument;
  position_ = static_cast<std::size_t>(position);
  return 0;
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row) {
  // Recorded without arguments: one line per row keeps the journal small.
  if (long code = BeginHostCall("ClRuleKamoku::MoveNext")) return code;
  ++reads_;
  if (long code = stmtlink::HostFailureFor("ClRuleKamoku::MoveNext@" + std::to_string(reads_)))
    return code;
  if (!row || !ready_) return stmtlink::kHostErrorArgument;
  if (position_ >= rows_.size()) return stmtlink::kHostEndOfRows;
  std::memcpy(row, &rows_[position_++], sizeof(*row));
  return 0;
}

long ClRuleKamoku::MoveFinish() {
  if (long code = BeginHostCall("ClRuleKamoku::MoveFinish")) return code;
  ready_ = false;
  rows_.clear();
  rows_.shrink_to_fit();
  position_ = 0;
  return 0;
}
