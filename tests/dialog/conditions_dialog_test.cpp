// The conditions dialog's logic over a scripted window: initial values,
// refusals, the month and output-path checks of Execute with their messages
// and focus, the folder and overwrite questions, the fixed output path, the
// keyboard table and the results.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "dialog/conditions_dialog.h"
#include "res/common/conditions_template.h"
#include "host/substitute/host_ini.h"
#include "platform/env.h"
#include "tests/dialog/dialog_test_support.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::DialogFrontEnd;
using testing::ScriptedDialogs;

constexpr char kMonthsMessage[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
constexpr char kBadCharacters[] = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
constexpr char kBadDrive[] = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
constexpr char kNoFileName[] = "ファイル名が指定されていません。";
constexpr char kCreateQuestion[] = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
constexpr char kCreateFailed[] = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
constexpr char kOverwrite[] = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

// What one press of Execute left behind.
struct Attempt {
  bool ended = false;
  int focus = 0;
  std::vector<std::string> messages;
};

class ConditionsDialogTest : public ::testing::Test {
 protected:
  ConditionsDialogTest() {
    home_.WriteHostIni(testing::U8(u8"[Folders]\nAppFolder0=C:\\export\\\nAppFolder1=C:\\settings\\\n"
                                   u8"[Drives]\nD=/media/cdrom,cdrom\n"
                                   u8"\\\\fileserver\\share=share_folder,remote\n"));
    ForgetHostIni();
    home_.MakeDir("drive_c/existing");
    home_.MakeDir("share_folder");
    home_.WriteFile("drive_c/existing/report.xml", "old");
    SetPeriod(20250401, 20260331);
    dialog_.isCompanyLawData = 1;
    std::strcpy(dialog_.userId, "USER01");
    dialog_.selectionNo1 = 0;
    dialog_.selectionNo2 = 1;
    dialog_.companyName = " 株式会社テスト";
  }
  void SetPeriod(int start, int end) {
    dialog_.periodStart = start;
    dialog_.periodEnd = end;
  }
  int Run(std::function<void(ScriptedDialogs&, DialogLogic&)> script = nullptr) {
    front_end_.dialogs.script = std::move(script);
    return dialog_.DoModal();
  }
  // Types the months and the output path, presses Execute once.
  Attempt Execute(const std::string& from, const std::string& to, const std::string& output) {
    Attempt attempt;
    front_end_.messages.clear();
    Run([&](ScriptedDialogs& port, DialogLogic& logic) {
      port.Type(IDC_FROM_MONTH, from);
      port.Type(IDC_TO_MONTH, to);
      port.Type(IDC_OUTPUT_PATH, output);
      port.Click(logic, IDC_EXECUTE);
      attempt.ended = port.ended();
      attempt.focus = port.GetFocus();
    });
    attempt.messages = front_end_.Texts();
    return attempt;
  }
  bool LinuxExists(const char8_t* relative) {
    return Env::Real()->Stat(home_.Path(testing::U8(relative)), nullptr);
  }
  ScriptedDialogs& port() { return front_end_.dialogs; }

  ScratchHome home_;
  DialogFrontEnd front_end_;
  ConditionsDialog dialog_;
};

TEST_F(ConditionsDialogTest, StartsFromThePeriodWithoutARecord) {
  int focus = 0;
  std::pair<int, int> selection;
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run([&](ScriptedDialogs& p, DialogLogic&) {
              focus = p.GetFocus();
              selection = p.Selection(IDC_FROM_MONTH);
            }));
  EXPECT_EQ("4", port().GetItemText(IDC_FROM_MONTH));
  EXPECT_EQ("3", port().GetItemText(IDC_TO_MONTH));
  EXPECT_EQ(" 株式会社テスト", port().GetItemText(IDC_COMPANY_NAME));
  EXPECT_EQ(BST_CHECKED, port().IsItemChecked(IDC_SHAREHOLDERS));
  EXPECT_EQ(BST_UNCHECKED, port().IsItemChecked(IDC_MEMBERS));
  EXPECT_EQ(BST_CHECKED, port().IsItemChecked(IDC_LEDGER));
  EXPECT_EQ("C:\\export\\*.xml", port().GetItemText(IDC_OUTPUT_PATH));
  EXPECT_EQ(2, port().TextLimit(IDC_FROM_MONTH));
  EXPECT_EQ(2, port().TextLimit(IDC_TO_MONTH));
  EXPECT_EQ(255, port().TextLimit(IDC_OUTPUT_PATH));
  EXPECT_EQ(IDC_FROM_MONTH, focus); // first in tab order, its text selected
  EXPECT_EQ(std::make_pair(0, 1), selection);
  EXPECT_EQ('\0', dialog_.rememberedPath[0]);
  EXPECT_EQ(1, dialog_.equityKind);
  EXPECT_EQ(1, dialog_.outputLedger);
}

TEST_F(ConditionsDialogTest, WithoutAnExportFolderTheTemporaryFolderIsOffered) {
  home_.WriteHostIni("[Folders]\nAppFolder1=C:\\settings\\\n");
  ForgetHostIni();
  home_.MakeDir("drive_c/tmp");
  FaultInjectionEnv env;
  env.SetTempDir(home_.Path("drive_c/tmp"));
  ScopedEnv use(&env);
  Run();
  EXPECT_EQ("C:\\tmp\\*.xml", port().GetItemText(IDC_OUTPUT_PATH));
}

TEST_F(ConditionsDialogTest, StartsFromTheRememberedRecordOfEitherForm) {
  home_.MakeDir("drive_c/settings");
  home_.WriteFile("drive_c/settings/StmtLinkStd.env",
                  "USER01/0/2:0/2/1/1/C:\\other.xml\n"
                  "USER01/0/1:10/2/2/0/C:\\out\\r.xml\n");
  Run();
  EXPECT_EQ("10", port().GetItemText(IDC_FROM_MONTH));
  EXPECT_EQ("2", port().GetItemText(IDC_TO_MONTH));
  EXPECT_EQ(BST_CHECKED, port().IsItemChecked(IDC_MEMBERS));
  EXPECT_EQ(BST_UNCHECKED, port().IsItemChecked(IDC_SHAREHOLDERS));
  EXPECT_EQ(BST_UNCHECKED, port().IsItemChecked(IDC_LEDGER));
  EXPECT_EQ("C:\\out\\r.xml", port().GetItemText(IDC_OUTPUT_PATH));
  EXPECT_STREQ("C:\\out\\r.xml", dialog_.rememberedPath);

  // The older form: the ledger box comes up checked. A from month of 0 is
  // the period's first month.
  dialog_.selectionNo2 = 2;
  home_.WriteFile("drive_c/settings/StmtLinkStd.env", "USER01/0/2:0/2/1/C:\\old.xml\n");
  Run();
  EXPECT_EQ("4", port().GetItemText(IDC_FROM_MONTH));
  EXPECT_EQ("2", port().GetItemText(IDC_TO_MONTH));
  EXPECT_EQ(BST_CHECKED, port().IsItemChecked(IDC_LEDGER));
  EXPECT_EQ("C:\\old.xml", port().GetItemText(IDC_OUTPUT_PATH));
}

TEST_F(ConditionsDialogTest, UnsuitableDataIsRefusedBeforeInput) {
  dialog_.isPastResults = 1;
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run());
  EXPECT_FALSE(port().opened);
  ASSERT_EQ(1u, front_end_.messages.size());
  EXPECT_EQ("過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。",
            front_end_.messages[0].text);
  EXPECT_EQ(MB_OK | MB_ICONEXCLAMATION, front_end_.messages[0].flags);
  EXPECT_EQ("決算書", front_end_.messages[0].caption);

  front_end_.messages.clear();
  dialog_.isPastResults = 0;
  dialog_.isCompanyLawData = 0;
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run());
  EXPECT_FALSE(port().opened);
  ASSERT_EQ(1u, front_end_.messages.size());
  EXPECT_NE(std::string::npos, front_end_.messages[0].text.find("会社法対応データへ   \n変換"));
}

TEST_F(ConditionsDialogTest, MonthRulesOfPeriodsInsideAndAcrossACalendarYear) {
  struct Case {
    int start, end;
    const char* from;
    const char* to;
    int failure_focus; // 0: accepted
  } cases[] = {
      // January to December.
      {20250101, 20251231, "1", "12", 0},
      {20250101, 20251231, "5", "5", 0},
      {20250101, 20251231, "5", "3", IDC_FROM_MONTH},
      {20250101, 20251231, "", "3", IDC_FROM_MONTH},
      {20250101, 20251231, "0", "3", IDC_FROM_MONTH},
      {20250101, 20251231, "13", "3", IDC_FROM_MONTH},
      {20250101, 20251231, "1", "", IDC_TO_MONTH},
      {20250101, 20251231, "1", "13", IDC_TO_MONTH},
      // April to December: months outside the period.
      {20250401, 20251231, "3", "5", IDC_FROM_MONTH},
      {20250101, 20250630, "2", "7", IDC_FROM_MONTH},
      // April to March: crossing the end of the year.
      {20250401, 20260331, "4", "3", 0},
      {20250401, 20260331, "10", "2", 0},
      {20250401, 20260331, "1", "3", 0},
      {20250401, 20260331, "3", "3", 0},
      {20250401, 20260331, "2", "10", IDC_TO_MONTH},
      {20250401, 20260331, "5", "4", IDC_TO_MONTH},
      {20250401, 20260331, "2", "1", IDC_TO_MONTH},
      {20250401, 20260331, "3", "12", IDC_TO_MONTH},
      // July to March (a nine-month period): April to June lie outside.
      {20250701, 20260331, "5", "8", IDC_FROM_MONTH},
      {20250701, 20260331, "7", "5", IDC_FROM_MONTH},
  };
  for (const Case& c : cases) {
    SetPeriod(c.start, c.end);
    Attempt a = Execute(c.from, c.to, "C:\\existing\\new.xml");
    std::string where = std::to_string(c.start) + " " + c.from + "-" + c.to;
    if (c.failure_focus == 0) {
      EXPECT_TRUE(a.ended) << where;
      EXPECT_TRUE(a.messages.empty()) << where;
    } else {
      EXPECT_FALSE(a.ended) << where;
      EXPECT_EQ(std::vector<std::string>{kMonthsMessage}, a.messages) << where;
      EXPECT_EQ(c.failure_focus, a.focus) << where;
    }
  }
}

TEST_F(ConditionsDialogTest, MonthsBeforeTheIntroductionMonthAreRefused) {
  dialog_.introductionMonth = 5;
  Attempt a = Execute("4", "7", "C:\\existing\\new.xml"); // position 4
  EXPECT_FALSE(a.ended);
  EXPECT_EQ(std::vector<std::string>{"集計期間には、導入開始月より前は指定できません。"}, a.messages);
  EXPECT_EQ(IDC_TO_MONTH, a.focus);
  EXPECT_TRUE(Execute("4", "8", "C:\\existing\\new.xml").ended); // position 5
}

TEST_F(ConditionsDialogTest, ExecuteResultsAndTheValuesTheCallerReads) {
  EXPECT_EQ(ConditionsDialog::kResultExecute, Run([](ScriptedDialogs& p, DialogLogic& logic) {
              p.Type(IDC_FROM_MONTH, "5");
              p.Type(IDC_TO_MONTH, "9");
              p.Click(logic, IDC_MEMBERS);
              p.Click(logic, IDC_LEDGER);
              p.Type(IDC_OUTPUT_PATH, "C:\\existing\\表.xml");
              p.Click(logic, IDC_EXECUTE);
            }));
  EXPECT_EQ("5", dialog_.fromMonthText);
  EXPECT_EQ("9", dialog_.toMonthText);
  EXPECT_EQ(2, dialog_.equityKind);
  EXPECT_EQ(0, dialog_.outputLedger);
  EXPECT_EQ("C:\\existing\\表.xml", dialog_.outputPath);
  EXPECT_TRUE(front_end_.messages.empty());
}

TEST_F(ConditionsDialogTest, OutputPathRefusalsFocusTheOutputWithItsTextSelected) {
  struct Case {
    const char* path;
    const char* message;
  } cases[] = {
      {"C:\\export\\*.xml", kBadCharacters}, // the default path
      {"Z:\\tmp\\a*b.xml", kBadCharacters},
      {"D:\\a.xml", kBadDrive},                      // CD-ROM
      {"\\\\fileserver\\a.xml", kBadDrive},          // no share
      {"C:\\existing\\", kNoFileName},
      {"C:\\existing", kNoFileName},                 // a directory
  };
  for (const Case& c : cases) {
    std::pair<int, int> selection;
    front_end_.messages.clear();
    Run([&](ScriptedDialogs& p, DialogLogic& logic) {
      p.Type(IDC_OUTPUT_PATH, c.path);
      p.Click(logic, IDC_EXECUTE);
      EXPECT_FALSE(p.ended()) << c.path;
      EXPECT_EQ(IDC_OUTPUT_PATH, p.GetFocus()) << c.path;
      selection = p.Selection(IDC_OUTPUT_PATH);
    });
    EXPECT_EQ(std::vector<std::string>{c.message}, front_end_.Texts()) << c.path;
    EXPECT_EQ(std::make_pair(0, static_cast<int>(std::strlen(c.path))), selection) << c.path;
  }
}

TEST_F(ConditionsDialogTest, TheProgramsOwnInputsAreNeverTheOutput) {
  constexpr char kProgramInput[] =
      "指定された出力先は会計データまたは設定のファイルのため、上書きできません。\n\n出力先を再入力してください。";
  home_.WriteFile("books.db", "books");
  ASSERT_EQ(0, symlink(home_.Path("books.db").c_str(), home_.Path("drive_c/existing/link.xml").c_str()));
  std::string home = "Z:" + home_.Path("");
  std::replace(home.begin(), home.end(), '/', '\\');
  if (home.back() != '\\') home += '\\';
  // The settings file does not exist yet: its name is refused all the same.
  for (const std::string& path : {home + "books.db", home + "host.ini", home + "drive_c\\existing\\link.xml",
                                  std::string("C:\\settings\\StmtLinkStd.env")}) {
    const Attempt attempt = Execute("4", "3", path);
    EXPECT_FALSE(attempt.ended) << path;
    EXPECT_EQ(std::vector<std::string>{kProgramInput}, attempt.messages) << path;
  }
  EXPECT_EQ("books", testing::ReadTextFile(home_.Path("books.db")));
  EXPECT_TRUE(Execute("4", "3", "C:\\existing\\StmtLinkStd.env").ended); // not the settings folder
}

TEST_F(ConditionsDialogTest, EmptyOutputShowsTheMessageThenTheSaveDialog) {
  port().save_answer = "C:\\existing\\chosen.xml";
  Run([](ScriptedDialogs& p, DialogLogic& logic) {
    p.Type(IDC_OUTPUT_PATH, "");
    p.Click(logic, IDC_EXECUTE);
    EXPECT_FALSE(p.ended());
    EXPECT_EQ(IDC_EXECUTE, p.GetFocus());
    EXPECT_EQ("C:\\existing\\chosen.xml", p.GetItemText(IDC_OUTPUT_PATH));
  });
  EXPECT_EQ(std::vector<std::string>{"データ出力先が指定されていません。\n\n出力先を指定してください。"},
            front_end_.Texts());
  ASSERT_EQ(1u, port().save_requests.size());
  const SaveFileRequest& r = port().save_requests[0];
  EXPECT_EQ("保存ファイルを指定", r.title);
  EXPECT_EQ("Xml Files (*.xml)|*.xml||", r.filter);
  EXPECT_EQ("XML", r.default_extension);
  EXPECT_EQ(0x180Cu, r.flags);
}

TEST_F(ConditionsDialogTest, BrowseStartsFromTheFolderOrTheDriveOfThePath) {
  Run([](ScriptedDialogs& p, DialogLogic& logic) {
    p.Type(IDC_OUTPUT_PATH, "C:\\表\\a.xml");
    p.Click(logic, IDC_BROWSE);
    p.Type(IDC_OUTPUT_PATH, "C:a.xml");
    p.Click(logic, IDC_BROWSE);
    EXPECT_EQ("C:a.xml", p.GetItemText(IDC_OUTPUT_PATH)); // cancelled: unchanged
  });
  ASSERT_EQ(2u, port().save_requests.size());
  EXPECT_EQ("C:\\表\\", port().save_requests[0].initial_folder);
  EXPECT_EQ("a.xml", port().save_requests[0].file_name);
  EXPECT_EQ("C:", port().save_requests[1].initial_folder);
  EXPECT_EQ("a.xml", port().save_requests[1].file_name);
}

TEST_F(ConditionsDialogTest, MissingFolderIsCreatedOnlyAfterYes) {
  Attempt declined = Execute("4", "3", "C:\\new\\表\\a.xml");
  EXPECT_FALSE(declined.ended);
  EXPECT_EQ(std::vector<std::string>{kCreateQuestion}, declined.messages);
  EXPECT_EQ(IDC_OUTPUT_PATH, declined.focus);
  EXPECT_FALSE(LinuxExists(u8"drive_c/new"));

  front_end_.answers = {IDYES};
  Attempt accepted = Execute("4", "3", "C:\\new\\表\\a.xml");
  EXPECT_TRUE(accepted.ended);
  EXPECT_TRUE(LinuxExists(u8"drive_c/new/表"));

  FaultInjectionEnv env;
  env.Fail(FaultInjectionEnv::Op::kCreateDir);
  ScopedEnv use(&env);
  front_end_.answers = {IDYES};
  Attempt failed = Execute("4", "3", "C:\\existing\\sub\\a.xml");
  EXPECT_FALSE(failed.ended);
  EXPECT_EQ((std::vector<std::string>{kCreateQuestion, kCreateFailed}), failed.messages);
  EXPECT_EQ(IDC_OUTPUT_PATH, failed.focus);
}

TEST_F(ConditionsDialogTest, ExistingFileIsOverwrittenOnlyAfterYes) {
  Attempt declined = Execute("4", "3", "C:\\existing\\report.xml");
  EXPECT_FALSE(declined.ended);
  EXPECT_EQ(std::vector<std::string>{kOverwrite}, declined.messages);
  EXPECT_EQ(IDC_OUTPUT_PATH, declined.focus);
  EXPECT_EQ(MB_YESNO | MB_ICONQUESTION, front_end_.messages[0].flags);

  front_end_.answers = {IDYES};
  EXPECT_TRUE(Execute("4", "3", "C:\\existing\\report.xml").ended);
}

TEST_F(ConditionsDialogTest, FixedOutputPathCannotBeChangedAndIsNotQuestioned) {
  dialog_.fixedOutputPath = "C:\\existing\\report.xml"; // exists: still no question
  int result = Run([](ScriptedDialogs& p, DialogLogic& logic) {
    EXPECT_FALSE(p.IsItemEnabled(IDC_OUTPUT_PATH));
    EXPECT_FALSE(p.IsItemEnabled(IDC_BROWSE));
    EXPECT_TRUE(p.IsItemEnabled(IDC_SHAREHOLDERS));
    EXPECT_TRUE(p.IsItemEnabled(IDC_LEDGER));
    EXPECT_EQ("出力先", p.GetItemText(IDC_OUTPUT_GROUP));
    EXPECT_FALSE(p.Type(IDC_OUTPUT_PATH, "C:\\other.xml"));
    p.SetFocus(IDC_TO_MONTH);
    p.Key(logic, VK_RETURN);
    EXPECT_EQ(IDC_EXECUTE, p.GetFocus());
    p.Key(logic, VK_RETURN);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  EXPECT_EQ(1, dialog_.outputPathFixed);
  EXPECT_EQ("C:\\existing\\report.xml", dialog_.outputPath);
  EXPECT_TRUE(front_end_.messages.empty());
}

TEST_F(ConditionsDialogTest, KeyboardTable) {
  port().save_answer = "C:\\existing\\picked.xml";
  int result = Run([](ScriptedDialogs& p, DialogLogic& logic) {
    p.Type(IDC_TO_MONTH, "13");
    p.Key(logic, VK_RETURN); // from-month edit
    EXPECT_EQ(IDC_TO_MONTH, p.GetFocus());
    EXPECT_EQ(std::make_pair(0, 2), p.Selection(IDC_TO_MONTH));
    p.Key(logic, VK_RETURN);
    EXPECT_EQ(IDC_OUTPUT_PATH, p.GetFocus());
    p.Key(logic, VK_RETURN);
    EXPECT_EQ(IDC_BROWSE, p.GetFocus());
    p.Key(logic, VK_RETURN); // Browse: the save dialog, then Execute has the focus
    EXPECT_EQ("C:\\existing\\picked.xml", p.GetItemText(IDC_OUTPUT_PATH));
    EXPECT_EQ(IDC_EXECUTE, p.GetFocus());
    // Keys with Shift, and Enter on a radio or the check box, get the default
    // handling, which must never end the dialog.
    p.SetFocus(IDC_FROM_MONTH);
    p.Key(logic, VK_RETURN, /*shift=*/true);
    EXPECT_EQ(IDC_FROM_MONTH, p.GetFocus());
    p.SetFocus(IDC_SHAREHOLDERS);
    p.Key(logic, VK_RETURN);
    p.SetFocus(IDC_LEDGER);
    p.Key(logic, VK_RETURN);
    EXPECT_FALSE(p.ended());
    // F12 executes from anywhere; a to month of 13 is refused.
    p.Key(logic, VK_F12);
    EXPECT_FALSE(p.ended());
    EXPECT_EQ(IDC_TO_MONTH, p.GetFocus());
    p.Type(IDC_TO_MONTH, "3");
    p.Key(logic, VK_F12);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  EXPECT_EQ(std::vector<std::string>{kMonthsMessage}, front_end_.Texts());
}

TEST_F(ConditionsDialogTest, CancelByButtonEscOrEnterOnCancel) {
  for (int way = 0; way < 3; ++way) {
    front_end_.messages.clear();
    int result = Run([way](ScriptedDialogs& p, DialogLogic& logic) {
      if (way == 0) p.Click(logic, IDC_CANCEL_BUTTON);
      if (way == 1) p.Key(logic, VK_ESCAPE);
      if (way == 2) {
        p.SetFocus(IDC_CANCEL_BUTTON);
        p.Key(logic, VK_RETURN);
      }
      EXPECT_TRUE(p.ended());
    });
    EXPECT_EQ(ConditionsDialog::kResultCancel, result);
    ASSERT_EQ(1u, front_end_.messages.size()) << way;
    EXPECT_EQ("｢決算書｣の集計を中止します。", front_end_.messages[0].text);
    EXPECT_EQ(MB_OK | MB_ICONASTERISK, front_end_.messages[0].flags);
  }
}

TEST_F(ConditionsDialogTest, SaveWithoutAPathKeepsTheRememberedOne) {
  home_.MakeDir("drive_c/settings");
  home_.WriteFile("drive_c/settings/StmtLinkStd.env", "USER01/0/1:4/3/1/1/C:\\remembered.xml\n");
  Run();
  EXPECT_TRUE(dialog_.SaveConditions(5, 9, 2, 0, nullptr));
  EXPECT_TRUE(dialog_.SaveConditions(5, 9, 2, 0, nullptr));
  EXPECT_EQ("USER01/0/1:5/9/2/0/C:\\remembered.xml\n",
            testing::ReadTextFile(home_.Path("drive_c/settings/StmtLinkStd.env")));
  EXPECT_TRUE(dialog_.SaveConditions(5, 9, 2, 0, "C:\\given.xml"));
  EXPECT_EQ("USER01/0/1:5/9/2/0/C:\\given.xml\n",
            testing::ReadTextFile(home_.Path("drive_c/settings/StmtLinkStd.env")));
}

} // namespace
} // namespace stmtlink
