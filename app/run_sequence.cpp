// The run after the conditions dialog was confirmed: month conditions,
// progress window, aggregation, notes, report file, remembered conditions,
// the closing message and the outcome for the host.
#include <cstdlib>
#include <cstring>

#include "AccUty/run_failure.h"
#include "aggregate/statement_aggregator.h"
#include "app/link_app.h"
#include "app/month_conditions.h"
#include "app/progress_dialog.h"
#include "dialog/conditions_dialog.h"
#include "notes/notes_reader.h"
#include "platform/front_end_port.h"
#include "report/report_writer.h"

namespace stmtlink {
namespace {

constexpr char kCaption[] = "決算書";
constexpr char kAggregationFailed[] = "決算書情報の集計に失敗しました。";
constexpr char kEnding[] = "\n\nアプリケーションを終了します。";
constexpr char kReportFailed[] = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
constexpr char kCompleted[] = "決算書情報の出力が終了しました。\n\nアプリケーションを終了します。";

// The framework's wait cursor for the run: on once the progress window
// shows, off before the closing message (which waits for the user, so a busy
// cursor over it would say the wrong thing), and off at the latest when
// the run is cleaned up.
class RunWaitCursor {
 public:
  RunWaitCursor() { CurrentFrontEnd()->ShowWaitCursor(true); }
  ~RunWaitCursor() { End(); }
  RunWaitCursor(const RunWaitCursor&) = delete;
  RunWaitCursor& operator=(const RunWaitCursor&) = delete;
  void End() {
    if (active_) CurrentFrontEnd()->ShowWaitCursor(false);
    active_ = false;
  }

 private:
  bool active_ = true;
};

// The aggregation failure message; when a host call failed, with what could
// not be read between its two sentences.
std::string AggregationFailedText(const RunFailure& failure) {
  std::string text = kAggregationFailed;
  if (const std::string cause = failure.Text(); !cause.empty()) text += "\n\n" + cause;
  return text + kEnding;
}

} // namespace

void LinkApp::SplitNoteText(const std::string& text) { stmtlink::SplitNoteText(text, &noteLines); }

BOOL LinkApp::Run(ConditionsDialog& dialog) {
  const int from = std::atoi(dialog.fromMonthText.c_str());
  const int to = std::atoi(dialog.toMonthText.c_str());
  // The dialog limits the path to 255 bytes; the run keeps it whole.
  const std::string output_path = dialog.outputPath;
  const std::int32_t output_ledger = dialog.outputLedger;
  const std::int16_t equity_kind = dialog.equityKind;

  ProgressDialog progress;
  progress.Create();
  if (hostParent != 0) progress.SetParent(hostWindow);
  progress.ShowWindow(true);
  RunWaitCursor wait_cursor;
  progress.ResetMainBar();
  const HWND progress_window = progress.GetSafeHwnd();

  StatementAggregator aggregator;
  aggregator.progressWindow = &progress;
  aggregator.lines = &accountLines;
  aggregator.ledgerLines = &ledgerLines;
  aggregator.ledgerEnabled = output_ledger;
  aggregator.hostExtras = &Extras();

  ReportWriter writer;
  writer.progressWindow = &progress;
  writer.lines = &accountLines;
  writer.ledgerLines = &ledgerLines;
  writer.ownerWindow = progress_window;
  writer.equityKind = equity_kind;

  // A failed aggregation (a host error, an amount overflow), or notes that
  // could not be read, stop the run before any file is written: a report
  // with accounts, ledger rows or notes missing, followed by the completion
  // message, would call a failure a success.
  const auto fail_aggregation = [&] {
    wait_cursor.End();
    MessageBox(progress_window, AggregationFailedText(failure_).c_str(), kCaption,
               MB_OK | MB_ICONEXCLAMATION);
    progress.EndDialog(1);
    resultCode = kResultFailed;
    return FALSE;
  };
  // The journal is read once, here, before any figure: a line that breaks
  // the books' rules refuses them as the check at start-up refuses the
  // rest, and what was read serves the host calls of the aggregation.
  if (std::string refusal; !JournalIsSound(&progress, output_ledger != 0, &refusal)) {
    wait_cursor.End();
    MessageBox(progress_window, refusal.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    progress.EndDialog(1);
    resultCode = kResultFailed;
    return FALSE;
  }
  MonthConditions conditions{};
  if (failure_.Note(BuildMonthConditions(&conditions, &selectedData, from, to))) return fail_aggregation();
  const std::int32_t tax_method = taxSettings.taxIncluded != 0 ? 1 : 0;

  if (failure_.Note(aggregator.aggregate(tax_method, conditions.entries, &selectedData)))
    return fail_aggregation();

  unsigned char note_group_flags[kNoteGroupCount] = {};
  if (aggregator.IsNoteInputOn(&failure_) && aggregator.IsNoteOutputOn(&failure_)) {
    std::memset(note_group_flags, 0, sizeof(note_group_flags));
    aggregator.ReadNoteGroupFlags(note_group_flags, &failure_);
    std::string note_text;
    aggregator.ReadNoteText(&note_text, &failure_);
    SplitNoteText(note_text);
    writer.notesAvailable = 1;
    writer.noteLines = &noteLines;
    writer.noteGroupFlags = note_group_flags;
  }
  if (failure_.failed()) return fail_aggregation();

  writer.progressBase = static_cast<std::int16_t>(aggregator.progressPosition);
  if (!writer.WriteReport(output_path.c_str(), functionId, &selectedData)) {
    wait_cursor.End();
    MessageBox(progress_window, kReportFailed, kCaption, MB_OK | MB_ICONEXCLAMATION);
    progress.EndDialog(1);
    resultCode = kResultFailed;
    return FALSE;
  }

  // Started by the host, the path it chose is not remembered: the path
  // remembered before stays.
  dialog.SaveConditions(static_cast<std::int16_t>(from), static_cast<std::int16_t>(to), equity_kind,
                        output_ledger, startedByHost == 1 ? nullptr : output_path.c_str());
  progress.EndDialog(1);
  wait_cursor.End();
  MessageBox(progress_window, kCompleted, kCaption, MB_OK | MB_ICONASTERISK);
  return TRUE;
}

} // namespace stmtlink
