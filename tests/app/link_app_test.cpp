// Start-up and connection end of the application object against books built
// in the test: the order of host calls, what the host window is told, and
// the failure table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/link_app.h"
#include "dialog/conditions_input.h"
#include "host/acc_connect.h"
#include "host/substitute/substitute_control.h"
#include "host/substitute/substitute_extras.h"
#include "platform/drive_map.h"
#include "platform/host_home.h"
#include "tests/support/books_builder.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "ui/batch_dialogs.h"

namespace stmtlink {
namespace {

using testing::BooksBuilder;
using testing::DataSetRow;
using testing::ReadTextFile;
using testing::RecordingFrontEnd;
using testing::ScopedCurrentDir;
using testing::TempDir;
using testing::U8;

// Records message boxes and executes the conditions dialog with a new
// output file, so that start-up goes on past the dialog.
class ExecutingFrontEnd : public RecordingFrontEnd {
 public:
  ExecutingFrontEnd() {
    ConditionsChoices choices;
    choices.output_path = "C:\\report.xml";
    dialogs_.SetInput(ConditionsDialogInput(choices));
  }
  DialogPort* Dialogs() override { return &dialogs_; }

 private:
  BatchDialogs dialogs_;
};

class LinkAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(books_.ok());
    DataSetRow first;
    DataSetRow second;
    second.data_no = 2;
    second.data_id = "D0000002";
    second.company_name = U8(u8"株式会社　山桜商事");
    second.tax_included = 1;
    ASSERT_TRUE(books_.AddDataSet(first));
    ASSERT_TRUE(books_.AddDataSet(second));
    SetHostIni("");
  }
  void TearDown() override { ResetHost(); }

  void SetHostIni(const std::string& link_section) {
    ASSERT_TRUE(books_.WriteHostIni(
        "[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=2\n" + link_section));
    SetHostHome(home_.path());
    ResetHost();
  }
  static void ResetHost() {
    ResetHostSubstitute();
    ClearHostFailures();
    ClearHostCalls();
    ClAccConnect::Inst()->ResetForTesting();
    ReloadDriveMap();
  }
  // Runs the application as the framework does, over the substitute's
  // extras as main.cpp hands them in unless the test gives others.
  void Run(LinkApp* app, const std::string& command_line, HostExtras* extras = nullptr) {
    // Start-up moves into the program's folder; come back afterwards.
    ScopedCurrentDir keep(home_.path());
    app->m_lpCmdLine = command_line;
    app->hostExtras = extras ? extras : &substitute_extras_;
    RunApplication(app);
  }
  std::string WindowLog() { return ReadTextFile(home_.File("host-window.log")); }
  static bool Called(const std::string& prefix) {
    const auto& calls = HostCalls();
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }

  TempDir home_;
  BooksBuilder books_{home_.path()};
  ExecutingFrontEnd front_end_;
  SubstituteExtras substitute_extras_;
};

// The host's extras as a test sees them: what was asked of them, and the
// answers it chose.
class RecordingExtras : public HostExtras {
 public:
  void SetBusyHook(std::function<void()> hook) override { hooks.push_back(hook != nullptr); }
  bool CheckBooks(std::string* cause) override {
    ++books_checks;
    *cause = books_cause;
    return books_cause.empty();
  }
  bool ReadJournal(const std::string& data_id, bool keep_ledger_lines, std::string* cause) override {
    journal_reads.push_back(data_id + (keep_ledger_lines ? " with lines" : ""));
    *cause = journal_cause;
    return journal_cause.empty();
  }

  std::string books_cause, journal_cause; // empty: sound
  int books_checks = 0;
  std::vector<std::string> journal_reads;
  std::vector<bool> hooks; // each SetBusyHook: a hook (true) or none
};

TEST_F(LinkAppTest, StartedByHostReadsTheSelectedDataAndNotifiesAtExit) {
  LinkApp app;
  Run(&app, "4660,1025,7,");
  EXPECT_EQ(kResultCompleted, app.resultCode);
  EXPECT_EQ(1, app.startedByHost);
  EXPECT_EQ(2, app.selectedData.dataNo);
  EXPECT_STREQ("D0000002", app.selectedData.dataId);
  EXPECT_STREQ("株式会社　山桜商事", app.selectedData.companyNameText);
  EXPECT_EQ(20250401, app.selectedData.periodStart);
  EXPECT_EQ(20260331, app.selectedData.periodEnd);
  EXPECT_EQ(1, app.selectedData.companyLaw);
  EXPECT_NE(0, app.taxSettings.taxIncluded);
  // The only message is the completion notice.
  ASSERT_EQ(1u, front_end_.messages.size());
  EXPECT_EQ("決算書情報の出力が終了しました。\n\nアプリケーションを終了します。", front_end_.messages[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONASTERISK), front_end_.messages[0].flags);
  EXPECT_EQ("EnableWindow 4660 FALSE\n"
            "SetForegroundWindow 4660\n"
            "EnableWindow 4660 TRUE\n"
            "PostMessage 4660 msg=1025 wParam=7 lParam=0\n"
            "EnableWindow 4660 TRUE\n",
            WindowLog());
}

// The books are checked, and the journal read, only through the port that
// the composition root hands in; what it says decides the run.
TEST_F(LinkAppTest, TheBooksChecksComeThroughTheHostExtras) {
  RecordingExtras unsound_journal;
  unsound_journal.journal_cause = "the books file /h/books.db cannot be used: table journal_line";
  LinkApp failed;
  Run(&failed, "4660,1025,7,", &unsound_journal);
  EXPECT_EQ(kResultFailed, failed.resultCode);
  // The progress window pulses while the journal is read, and only then.
  EXPECT_EQ((std::vector<bool>{true, false}), unsound_journal.hooks);
  ASSERT_EQ(1u, front_end_.messages.size());
  EXPECT_EQ("会計データを読み込めません。\n\nthe books file /h/books.db cannot be used: table journal_line.",
            front_end_.messages[0].text);
  EXPECT_FALSE(Called("ClRuleKamoku::MoveReady")); // no figure was read
  front_end_.messages.clear();

  RecordingExtras unsound_books;
  unsound_books.books_cause = "the books file /h/books.db cannot be used: table era";
  LinkApp refused;
  Run(&refused, "4660,1025,7,", &unsound_books);
  EXPECT_EQ(kResultFailed, refused.resultCode);
  EXPECT_TRUE(unsound_books.journal_reads.empty());
  ASSERT_EQ(1u, front_end_.messages.size());
  EXPECT_EQ("会計データを読み込めません。\n\nthe books file /h/books.db cannot be used: table era.",
            front_end_.messages[0].text);

  RecordingExtras sound;
  LinkApp completed;
  Run(&completed, "4660,1025,7,", &sound);
  EXPECT_EQ(kResultCompleted, completed.resultCode);
  EXPECT_EQ(1, sound.books_checks);
  // The selected data set, its lines kept for the general ledger.
  EXPECT_EQ(std::vector<std::string>{"D0000002 with lines"}, sound.journal_reads);
  EXPECT_EQ((std::vector<bool>{true, false}), sound.hooks);
}

TEST_F(LinkAppTest, ConnectionIsOpenedWithTheEditionCodeInTheHostsOrder) {
  LinkApp app;
  Run(&app, "");
  EXPECT_EQ("決算書", ClAccConnect::Inst()->m_strCaption);
  EXPECT_EQ(0, ClAccConnect::Inst()->AppType()); // the standard edition
  EXPECT_EQ(1, ClAccConnect::Inst()->UseDataType());
  std::vector<std::string> link_calls;
  for (const std::string& call : HostCalls())
    if (call.rfind("ClAccConnect::", 0) == 0 && call.find("DispMsg") == std::string::npos)
      link_calls.push_back(call.substr(0, call.find('(')));
  EXPECT_EQ((std::vector<std::string>{"ClAccConnect::SetAppType", "ClAccConnect::SetUseDataType",
                                      "ClAccConnect::Initiate", "ClAccConnect::ExpSysLink",
                                      "ClAccConnect::LogOut", "ClAccConnect::Terminate",
                                      "ClAccConnect::Release"}),
            link_calls);
}

TEST_F(LinkAppTest, StandAloneRunTellsNoWindowAnything) {
  LinkApp app;
  Run(&app, "not a host line");
  EXPECT_EQ(0, app.startedByHost);
  EXPECT_EQ(2, app.selectedData.dataNo);
  EXPECT_EQ("", WindowLog());
}

TEST_F(LinkAppTest, TwoCommasOnlyNeitherDisablesNorNotifies) {
  LinkApp app;
  Run(&app, "4660,1025");
  EXPECT_EQ(0, app.startedByHost);
  EXPECT_EQ(4660u, app.hostWindow);
  EXPECT_EQ("", WindowLog());
}

TEST_F(LinkAppTest, FailedInitiateShowsNothingButStillClosesTheConnection) {
  SetHostIni("[Link]\nInitiate=12\n");
  LinkApp app;
  Run(&app, "4660,1025,7,");
  EXPECT_EQ(kResultCompleted, app.resultCode);
  EXPECT_EQ(0, app.startedByHost); // the command line was never read
  EXPECT_TRUE(front_end_.messages.empty());
  EXPECT_EQ("", WindowLog());
  EXPECT_TRUE(Called("ClAccConnect::LogOut"));
  EXPECT_TRUE(Called("ClAccConnect::Terminate"));
  EXPECT_TRUE(Called("ClAccConnect::Release"));
  EXPECT_FALSE(Called("ClAccConnect::ExpSysLink"));
}

TEST_F(LinkAppTest, ExpSysLinkAnswersEndTheRunAsCancelledOrFailed) {
  struct Case {
    const char* link;
    std::int32_t result;
  } cases[] = {{"[Link]\nExpSysLink=1\n", kResultCancelled}, {"[Link]\nExpSysLink=9\n", kResultFailed}};
  for (const Case& c : cases) {
    SetHostIni(c.link);
    std::remove(home_.File("host-window.log").c_str());
    LinkApp app;
    Run(&app, "4660,1025,7,");
    EXPECT_EQ(c.result, app.resultCode);
    EXPECT_EQ(0, app.selectedData.dataNo); // nothing read after the refusal
    EXPECT_NE(std::string::npos,
              WindowLog().find("PostMessage 4660 msg=1025 wParam=7 lParam=" + std::to_string(c.result)));
    // The host's own end of the link is silent; a failed answer is said.
    if (c.result == kResultCancelled) {
      EXPECT_TRUE(front_end_.messages.empty());
    } else {
      ASSERT_EQ(1u, front_end_.messages.size());
      EXPECT_NE(std::string::npos, front_end_.messages[0].text.find("ExpSysLink がエラーコード 9 を"));
    }
    front_end_.messages.clear();
  }
}

// A failed read before the run, at start-up or in the dialog's month
// computation, ends it as failed with one message naming the first failure.
TEST_F(LinkAppTest, AFailedReadBeforeTheRunIsShownOnceAndFailsIt) {
  struct Case {
    const char* faults;
    const char* message;
  } cases[] = {
      {"[Faults]\nClSetShohizei::Get=9001\n",
       "会計データを読み込めません。\n\n消費税の設定を読み込めませんでした（ClSetShohizei::Get "
       "がエラーコード 9001 を返しました）。"},
      // The dialog's month computation: the dialog says it and ends.
      {"[Faults]\nClAccPeriod::GetAMonthByDate=9002\n",
       "会計データを読み込めません。\n\n会計期間を読み込めませんでした（ClAccPeriod::GetAMonthByDate "
       "がエラーコード 9002 を返しました）。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.faults);
    SetHostIni(c.faults);
    std::remove(home_.File("host-window.log").c_str());
    LinkApp app;
    Run(&app, "4660,1025,7,");
    EXPECT_EQ(kResultFailed, app.resultCode);
    EXPECT_EQ(RunFailure::Kind::kHostRead, app.failure().kind());
    ASSERT_EQ(1u, front_end_.messages.size());
    EXPECT_EQ(c.message, front_end_.messages[0].text);
    EXPECT_NE(std::string::npos, WindowLog().find("lParam=2"));
    front_end_.messages.clear();
  }
}

TEST_F(LinkAppTest, NegativeFunctionNumberIsSignExtendedToThirtyTwoBits) {
  LinkApp app;
  Run(&app, "4660,1025,-2,");
  EXPECT_NE(std::string::npos, WindowLog().find("wParam=4294967294 lParam=0"));
}

TEST_F(LinkAppTest, UnknownSelectionLeavesTheRecordZeroFilled) {
  ASSERT_TRUE(books_.WriteHostIni("[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=7\n"));
  ResetHost();
  LinkApp app;
  Run(&app, "");
  EXPECT_EQ(0, app.selectedData.dataNo);
  EXPECT_EQ('\0', app.selectedData.companyNameText[0]);
  EXPECT_EQ(0, app.selectedData.periodStart);
}

} // namespace
} // namespace stmtlink
