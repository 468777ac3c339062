// The conditions dialog (resource 130, "決算書 - 集計条件"): the months to
// aggregate, the kind of equity statement, whether the general ledger is
// wanted, and the output file. Toolkit-free logic; a front end runs it
// through the dialog port.
//
// The caller fills the input fields (company and period texts, the data
// set's period, introduction month and flags, the host user, and any output
// path the host imposes) and calls DoModal. The dialog refuses data sets
// that cannot be linked, starts from the remembered conditions (or from the
// accounting period), checks every entry on Execute, creates a missing
// output folder on request, asks before overwriting, and ends with
// kResultExecute (every check passed) or kResultCancel (refused or
// cancelled). After kResultExecute the caller reads fromMonthText,
// toMonthText, outputPath, equityKind and outputLedger, and once the report
// is written calls SaveConditions. The dialog itself never writes the
// remembered conditions.
#pragma once

#include <cstdint>
#include <string>

#include "AccUty/run_failure.h"
#include "platform/dialog_port.h"
#include "platform/win_types.h"

namespace stmtlink {

class ConditionsDialog : public DialogLogic {
 public:
  static constexpr int kResultExecute = 1002;
  static constexpr int kResultCancel = 1003;

  explicit ConditionsDialog(HWND parent = 0);
  ~ConditionsDialog() override = default;
  ConditionsDialog(const ConditionsDialog&) = delete;
  ConditionsDialog& operator=(const ConditionsDialog&) = delete;

  // Runs the dialog through the current front end; kResultExecute or
  // kResultCancel.
  int DoModal();

  // The remembered conditions of userId / selectionNo1 / selectionNo2.
  // Load: true when a record was found (path cut to 260 bytes). Save: true
  // when written; a null path writes rememberedPath, so the path remembered
  // before stays.
  bool LoadConditions(std::int16_t* from, std::int16_t* to, std::int16_t* kind,
                      std::int32_t* ledger, char path[261]);
  bool SaveConditions(std::int16_t from, std::int16_t to, std::int16_t kind, std::int32_t ledger,
                      const char* path);

  // DialogLogic.
  const DialogTemplate& Template() const override;
  BOOL OnInitDialog() override;
  void OnCommand(int id) override;
  BOOL PreTranslateMessage(const KeyMessage& message) override;
  int AbandonResult() const override { return kResultCancel; }
  HWND parent() const { return parent_; }

  void OnExecute();
  void OnBrowse();
  void OnCancel();

  // Set by the caller.
  std::string periodText;  // " yyyy/mm/dd～yyyy/mm/dd"
  std::string companyName; // " " and the company name
  std::int16_t introductionMonth = 0; // 99: past-results data
  std::int32_t selectionNo1 = 0;
  std::int32_t selectionNo2 = 0;
  std::int32_t periodStart = 0; // yyyymmdd
  std::int32_t periodEnd = 0;
  std::int32_t isPastResults = 0;
  std::int16_t isCompanyLawData = 0;
  std::string fixedOutputPath; // imposed by the host; empty when none
  char userId[65] = {};

  // Set by the dialog.
  std::string outputPath;
  std::string toMonthText;
  std::string fromMonthText;
  std::int16_t equityKind = 0;   // 1 shareholders' equity, 2 members' equity
  std::int32_t outputLedger = 0; // 1: general-ledger information wanted
  std::int32_t outputPathFixed = 0;
  char rememberedPath[261] = {};
  // The host's failure to give the period's months: the dialog showed it
  // and ended as cancelled; the run takes it and ends as failed.
  RunFailure periodFailure;

 private:
  // The framework's data exchange: fields to controls (save false) or back.
  void UpdateData(bool save);
  void EndDialog(int result);
  int Message(const char* text, UINT flags);
  // Focus on an edit with its whole text selected.
  void FocusEdit(int id);
  // Part of OnExecute: the output path checks and folder creation; false
  // when one failed (its message shown, focus on the output edit).
  bool CheckOutputPath();
  // The period's months from the host (period_months.h). When the host
  // failed: the books-unreadable message, the dialog ended as cancelled
  // (the failure kept in periodFailure, so the program ends as failed),
  // false.
  bool PeriodMonths(std::int16_t* first, std::int16_t* last);
  // The settings key of userId and the selection numbers.
  std::string Key() const;

  HWND parent_;
  DialogPort* port_ = nullptr;
};

} // namespace stmtlink
