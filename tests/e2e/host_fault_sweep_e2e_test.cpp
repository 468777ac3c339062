// Every host call the program makes, made to fail in turn: all of its
// calls, and its first, a middle and its last call alone. A run with the
// general ledger and the notes on sample books must then end as failed in
// words (exit 2, the host told 2, a message, no report, nothing
// remembered), or, only for the calls whose failure changes nothing that
// was read, complete with the very report of a run without faults. Never a
// crash, a hang, or a completed run with another report.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

// Calls whose failure leaves what was read as it was: closing a cursor or
// the connection after its rows were read, and the application folders,
// whose empty answer is the host's "no such folder" (the export folder
// then falls back to the temporary folder, and conditions that cannot be
// remembered leave the run as it ended).
bool FailureChangesNothingRead(const std::string& call) {
  static const std::set<std::string> kCalls = {
      "ClAccConnect::LogOut",     "ClAccConnect::Terminate",   "ClFileMgr::GetAppFolderPath",
      "ClSetData::ReleaseDatCursor", "ClSetGengo::ReleaseCursor", "ClSetKamoku::ReleaseCursor"};
  return kCalls.count(call) != 0 || call.ends_with("::MoveFinish");
}

class HostFaultSweep : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"),
                                 {"sample", "--home", home_.path(), "--entries", "80",
                                  "--balanced-compound", "20"});
    ASSERT_EQ(0, made.exit_status) << made.err;
    host_ini_ = ReadTextFile(home_.File("host.ini"));
  }

  struct Outcome {
    ProgramRun run;
    std::string report; // empty when none was written
    std::string posted; // the outcome posted to the host window
    bool remembered = false;
  };

  Outcome Run(const std::string& faults) {
    const std::string report = home_.File("drive_c/r.xml");
    const std::string settings = home_.File("drive_c/HostApp/Settings/StmtLinkStd.env");
    std::filesystem::remove(report);
    std::filesystem::remove(settings);
    std::filesystem::remove(home_.File("host-window.log"));
    EXPECT_TRUE(WriteTextFile(home_.File("host.ini"), host_ini_ + "\n" + faults));
    Outcome outcome;
    // A hang ends in timeout's 124.
    outcome.run = RunProgram("/usr/bin/timeout",
                             {"60", BuiltProgram("StmtLinkStd"), "--ui", "batch", "--home", home_.path(),
                              "--from", "4", "--to", "3", "--ledger", "1", "--output", "C:\\r.xml",
                              "--answer", "yes", "4660,1025,7,"});
    if (std::filesystem::exists(report)) outcome.report = ReadTextFile(report);
    const std::string log = ReadTextFile(home_.File("host-window.log"));
    if (std::size_t at = log.find("lParam="); at != std::string::npos) outcome.posted = log.substr(at + 7, 1);
    outcome.remembered = std::filesystem::exists(settings);
    return outcome;
  }

  TempDir home_;
  std::string host_ini_;
};

TEST_F(HostFaultSweep, EveryFailedHostCallEndsTheRunAsFailedOrChangesNothing) {
  // The calls of a run without faults, from the substitute's journal.
  Outcome clean = Run("[Trace]\nCallJournal=calls.txt\n");
  ASSERT_EQ(0, clean.run.exit_status) << clean.run.err;
  ASSERT_FALSE(clean.report.empty());
  std::map<std::string, long> counts;
  std::istringstream journal(ReadTextFile(home_.File("calls.txt")));
  for (std::string call; std::getline(journal, call);) ++counts[call];
  // The run reads the ledger, its counter accounts, the eras, the journal
  // entries of compound lines and the notes: all of them must be tried.
  for (const char* call : {"ClRuleMotocho::MoveNext", "ClSetKamoku::WalkFind", "ClSetGengo::Walk",
                           "ClRuleShiwake::MoveNext", "ClSaveKessansho::GetDataType02",
                           "ClAccPeriod::GetAMonthByDate", "ClDataMgr::GetSetMgr"})
    ASSERT_GT(counts[call], 0) << call;

  int tried = 0, failed = 0, unchanged = 0;
  for (const auto& [call, count] : counts) {
    std::set<std::string> faults = {call};
    if (count > 1) {
      for (long n : {1L, (count + 1) / 2, count}) faults.insert(call + "#" + std::to_string(n));
    }
    for (const std::string& fault : faults) {
      SCOPED_TRACE(fault);
      Outcome outcome = Run("[Faults]\n" + fault + "=9001\n");
      ++tried;
      if (call == "ClAccConnect::Initiate") {
        // No connection: the program ends at once and quietly, as the host
        // expects, and tells it nothing.
        EXPECT_EQ(0, outcome.run.exit_status);
        EXPECT_TRUE(outcome.report.empty());
        EXPECT_EQ("", outcome.posted);
        continue;
      }
      if (outcome.run.exit_status == 0) {
        EXPECT_TRUE(FailureChangesNothingRead(call)) << "completed although the call failed";
        EXPECT_TRUE(outcome.report == clean.report) << "completed with another report";
        EXPECT_EQ("0", outcome.posted);
        ++unchanged;
        continue;
      }
      ASSERT_EQ(2, outcome.run.exit_status) << outcome.run.err;
      EXPECT_EQ("2", outcome.posted);
      EXPECT_NE(std::string::npos, outcome.run.err.find(U8(u8"決算書 [exclamation]"))) << outcome.run.err;
      EXPECT_TRUE(outcome.report.empty()) << "a report was written";
      EXPECT_FALSE(outcome.remembered);
      ++failed;
    }
  }
  std::cout << "host fault sweep: " << counts.size() << " calls, " << tried << " faults tried, "
            << failed << " failed in words, " << unchanged << " completed identically\n";
  EXPECT_EQ(tried, failed + unchanged + 1); // and the connection that was never made
}

} // namespace
} // namespace stmtlink
