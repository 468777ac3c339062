// Shared data helper: dates of the host's data (yyyymmdd integers) as
// display text, in six formats, three of them with the Japanese era from
// the host's era table.
#pragma once

#include <cstdint>
#include <string>

#include "AccUty/run_failure.h"
#include "host/set_gengo.h"
#include "platform/win_types.h"

namespace stmtlink {

class CmnProcHpr {
 public:
  // own_set_manager 0: work on the host data manager's set manager (the
  // only form this program uses).
  explicit CmnProcHpr(std::int32_t own_set_manager = 0);
  // Tells the host's message manager that no error is pending.
  virtual ~CmnProcHpr();

  CmnProcHpr(const CmnProcHpr&) = delete;
  CmnProcHpr& operator=(const CmnProcHpr&) = delete;

  // The era that contains date into *era (zeroed first) and its year
  // within that era into *era_year (when given). 0 found; -1 when no era
  // contains the date or the era table cannot be read.
  int FindEra(std::int32_t date, StGENGOINFO* era, std::int32_t* era_year);

  // The date as text:
  //   0 "令和2年4月1日"  era name, era year, month, day
  //   1 "R.2/4/1"        era abbreviation ("R.02/04/01" with zero_pad)
  //   2 "2020/4/1"       ("2020/04/01" with zero_pad)
  //   3 "2020/4/1"       the year at least two digits ("2020/04/01")
  //   4 "2020年4月1日"
  //   5 as 0, with "元" for the first year of an era
  // Another format, or an era format whose era is not found: "". When the
  // era table could not be read the text is "" too, and ReadFailure() says
  // which call failed.
  std::string FormatDate(std::int32_t date, int format, int zero_pad);

  // The first failed read of the era table by this helper (ok when none):
  // the caller must not take an empty date for a date outside every era,
  // and keeps it in the run's failure.
  const RunFailure& ReadFailure() const { return read_failure_; }

  // Owner window of the host's error messages.
  void SetOwnerWindow(HWND owner) { owner_window_ = owner; }

 private:
  // Records the failed call for the host and keeps it in ReadFailure();
  // fatal: the message manager's answer. Returns -1.
  int HostError(long result, int line, const char* call, long fatal);

  std::int32_t reserved_ = 0;
  HWND owner_window_ = 0;
  std::string text_;
  std::int32_t own_set_manager_;
  RunFailure read_failure_;
};

} // namespace stmtlink
