// The application object: the program's only long-lived object. It opens
// the link connection with the host, learns from the command line how to
// report back to the host, checks the receiver's level, reads the selected
// company data and its consumption-tax settings, hands over to the run, and
// at the end closes the connection and tells the host how the run ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AccUty/run_failure.h"
#include "aggregate/account_line.h"
#include "aggregate/ledger_line.h"

#include "host/host_extras.h"
#include "host/host_records.h"
#include "platform/win_app.h"
#include "platform/win_types.h"

class ClSetData;

namespace stmtlink {
class ConditionsDialog;
class ProgressDialog;
}

namespace stmtlink {

// The outcome reported to the host (and the program's exit status).
enum ResultCode : std::int32_t {
  kResultCompleted = 0,
  kResultCancelled = 1,
  kResultFailed = 2,
};

class LinkApp : public CWinApp {
 public:
  LinkApp();
  ~LinkApp() override = default;

  LinkApp(const LinkApp&) = delete;
  LinkApp& operator=(const LinkApp&) = delete;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Reads "window,message,function[,output path]". 1 when all three commas
  // are there; the fields before a missing comma stay set even then. The
  // text is read whole, however long, so an imposed path is never cut.
  int ParseCommandLine(const std::string& text);
  // The receiver's level check in the program's folder (see
  // environment_check.h), with the host window as owner of its message.
  int CheckEnvironment(int show_messages);
  // The books' check when they are opened (HostExtras::CheckBooks); false
  // after the refusal, naming the books file and the cause, has been shown.
  bool BooksAreSound();
  // The run's one reading of the journal (HostExtras::ReadJournal), its lines
  // checked as the books' check checks them: false with the refusal's text
  // (worded as BooksAreSound words it) in *refusal. `ledger`: the reading
  // keeps the lines for the general ledger. The progress window's second
  // bar pulses meanwhile.
  bool JournalIsSound(ProgressDialog* progress, bool ledger, std::string* refusal);
  // The user's selected data set into *record (zero-filled first): 1 found,
  // 0 not found or not read (a failed host call is kept in failure()).
  int ReadSelectedData(StDATAINFO* record);
  // The consumption-tax settings of that data set: 1 read, 0 not (the
  // caller's record is then left as it was). must_read: a failed answer is
  // kept in failure() as a failed read (the data set was found).
  int ReadTaxSettings(StSHOHIZEIINFO* record, const StDATAINFO* data, bool must_read = true);
  // Shows that the books could not be read (the failure kept) and makes
  // the outcome failed; returns FALSE for InitInstance.
  BOOL FailBooksUnreadable();
  // The first failure of the run (ok while nothing failed): the one its
  // message names.
  const RunFailure& failure() const { return failure_; }

  // Members, in the order the host-facing contract gives them.
  std::int32_t startedByHost = 0;
  HWND hostWindow = 0;
  std::uint32_t doneMessage = 0;
  std::int16_t functionId = 3;
  std::string hostOutputPath;
  HWND hostParent = 0; // the framework window object for hostWindow
  std::int32_t resultCode = kResultCompleted;
  ClSetData* dataSet = nullptr;
  // The host's extras (host/host_extras.h), handed in by the composition
  // root before the application runs; null runs as over a host without them.
  HostExtras* hostExtras = nullptr;

  // The note text split into lines (entities decoded), emptied first.
  void SplitNoteText(const std::string& text);

  // The statement lines of the run; freed at exit.
  AccountLineList accountLines;
  LedgerLineList ledgerLines;
  std::vector<std::string> noteLines;

  // What start-up read; the run works on these.
  StDATAINFO selectedData{};
  StSHOHIZEIINFO taxSettings{};

 private:
  // The run after a confirmed dialog: month conditions, progress window,
  // aggregation, notes, report, remembered conditions, closing message.
  BOOL Run(ConditionsDialog& dialog);

  // Every step that reads from the host keeps its failure here; the first
  // one stays and is the one shown.
  RunFailure failure_;

  // hostExtras, or the port of a host without extras.
  HostExtras& Extras() { return hostExtras ? *hostExtras : noExtras_; }

  NoHostExtras noExtras_;
};

} // namespace stmtlink
