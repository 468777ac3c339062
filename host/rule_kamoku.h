// The host's account-sum cursor: one StKAMOKUSUMINFO row per main account of
// the current data set, in master order, with its debit and credit sums per
// slot in both amount sets (see account_sums.h for how the substitute
// computes them from the books).
//
// Use: AttachSetMgr, SetCurDataID, AttachOptLink; MoveReady; GetSumCount;
// SetMovePos(0); MoveNext until 5000; MoveFinish. Every call returns 0 for
// success or an error code (host_errors.h).
//
// Substitute: the rows hold every slot whatever the search conditions say
// (the program picks the slots it needs), so MoveReady only records them.
// Besides "ClRuleKamoku::MoveNext", a failure injected as
// "ClRuleKamoku::MoveNext@N" hits only the read of row N (counted from 1
// since MoveReady), so a test can fail a cursor part-way.
#pragma once

#include <memory>

#include "host/host_records.h"
#include "host/rule_base.h"

// The arguments of MoveReady besides the conditions, as the program passes
// them (their meaning is the host's): sum type base 1, department sum type
// 0, display type 0, past type 0.
constexpr int kSumReadyBaseType = 1;
constexpr int kSumReadyDepartmentType = 0;
constexpr int kSumReadyDisplayType = 0;
constexpr int kSumReadyPastType = 0;

class ClRuleKamoku : public ClRuleBase {
 public:
  ClRuleKamoku();
  ~ClRuleKamoku() override;

  // Computes the rows. kHostErrorNoDataSet when no data set has the current
  // data ID, kHostErrorBooks when the books cannot be read.
  long MoveReady(int sum_type_base, int bumon_sum_type, int disp_type, const StFINDINFO* find,
                 const StBUMONINFO* bumon, int past_type);
  // The number of rows; kHostErrorArgument before a successful MoveReady.
  long GetSumCount(long* count);
  // The row that the next MoveNext reads (0 the first).
  long SetMovePos(long position);
  // Copies the next row into *row; 5000 after the last one.
  long MoveNext(StKAMOKUSUMINFO* row);
  // Ends the reading; the cursor needs a new MoveReady.
  long MoveFinish();

  const char* ClassName() const override { return "ClRuleKamoku"; }

 private:
  struct Reading; // the rows made ready, where the implementation keeps them
  std::unique_ptr<Reading> reading_;
};
