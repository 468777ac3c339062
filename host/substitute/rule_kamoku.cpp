#include "host/rule_kamoku.h"

#include <cstring>
#include <string>

#include "host/host_errors.h"
#include "host/substitute/account_sums.h"
#include "host/substitute/host_call.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"
#include "platform/text_codec.h"

using stmtlink::BeginHostCall;

struct ClRuleKamoku::Reading {
  stmtlink::RuleRows<StKAMOKUSUMINFO> rows;
};

ClRuleKamoku::ClRuleKamoku() : reading_(std::make_unique<Reading>()) {}
ClRuleKamoku::~ClRuleKamoku() = default;

long ClRuleKamoku::MoveReady(int sum_type_base, int bumon_sum_type, int disp_type,
                             const StFINDINFO* find, const StBUMONINFO*, int past_type) {
  // The journal shows the first two conditions (the month positions).
  const int first = find ? find[0].value : 0;
  const int last = find ? find[1].value : 0;
  if (long code = BeginHostCall("ClRuleKamoku::MoveReady", sum_type_base, bumon_sum_type,
                                disp_type, first, last, past_type))
    return code;
  reading_->rows.Restart();
  std::string error;
  std::vector<StKAMOKUSUMINFO> rows;
  switch (stmtlink::ComputeAccountSums(stmtlink::CurrentHome(), stmtlink::ToUtf8(cur_data_id_), &rows, &error)) {
    case stmtlink::SumsStatus::kOk:
      reading_->rows.Ready(std::move(rows));
      return 0;
    case stmtlink::SumsStatus::kNoDataSet:
      return stmtlink::kHostErrorNoDataSet;
    case stmtlink::SumsStatus::kBooksError:
      break;
  }
  return stmtlink::kHostErrorBooks;
}

long ClRuleKamoku::GetSumCount(long* count) {
  return reading_->rows.CountCall("ClRuleKamoku::GetSumCount", count);
}

long ClRuleKamoku::SetMovePos(long position) {
  return reading_->rows.SetPositionCall("ClRuleKamoku::SetMovePos", position);
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row) {
  // Recorded without arguments: one line per row keeps the journal small.
  if (long code = BeginHostCall("ClRuleKamoku::MoveNext")) return code;
  stmtlink::RuleRows<StKAMOKUSUMINFO>& rows = reading_->rows;
  if (long code = rows.NthReadFailure("ClRuleKamoku::MoveNext")) return code;
  if (!row) return stmtlink::kHostErrorArgument;
  std::size_t at = 0;
  if (long code = rows.TakeNext(&at)) return code;
  std::memcpy(row, &rows.rows()[at], sizeof(*row));
  return 0;
}

long ClRuleKamoku::MoveFinish() {
  if (long code = BeginHostCall("ClRuleKamoku::MoveFinish")) return code;
  reading_->rows.Forget();
  return 0;
}
