// The remembered-settings file: its two value forms, the records of others
// kept in order, files beyond 32,767 bytes, a last record without a line
// feed, the atomic replacement, and two programs saving at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "dialog/remembered_conditions.h"
#include "host/substitute/host_ini.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::ReadTextFile;

TEST(ConditionsRecordTest, ReadsBothValueForms) {
  ConditionsRecord r;
  ParseConditionsValue("10/3/2/0/C:\\out\\表.xml", &r);
  EXPECT_EQ(10, r.from);
  EXPECT_EQ(3, r.to);
  EXPECT_EQ(2, r.kind);
  EXPECT_EQ(0, r.ledger);
  EXPECT_EQ("C:\\out\\表.xml", r.path);

  ConditionsRecord old;
  ParseConditionsValue("4/3/1/C:\\out\\old.xml", &old);
  EXPECT_EQ(4, old.from);
  EXPECT_EQ(3, old.to);
  EXPECT_EQ(1, old.kind);
  EXPECT_EQ(1, old.ledger); // the older form had no ledger option: on
  EXPECT_EQ("C:\\out\\old.xml", old.path);

  ConditionsRecord empty_path;
  ParseConditionsValue("4/3/1/1/", &empty_path);
  EXPECT_EQ(1, empty_path.ledger);
  EXPECT_EQ("", empty_path.path);
}

TEST(ConditionsRecordTest, KeyMatchesOnlyAtTheStartOfARecord) {
  const std::string content = "XUSER01/0/1:1/1/1/1/C:\\x.xml\nUSER01/0/1:4/3/1/0/C:\\mine.xml\n";
  std::string value;
  ASSERT_TRUE(FindConditionsValue(content, ConditionsKey("USER01", 0, 1), &value));
  EXPECT_EQ("4/3/1/0/C:\\mine.xml", value);
  EXPECT_FALSE(FindConditionsValue(content, ConditionsKey("USER01", 0, 2), &value));

  ConditionsRecord r{5, 6, 1, 1, "C:\\new.xml"};
  EXPECT_EQ("XUSER01/0/1:1/1/1/1/C:\\x.xml\nUSER01/0/1:5/6/1/1/C:\\new.xml\n",
            ReplaceConditionsRecord(content, ConditionsKey("USER01", 0, 1), r));
}

TEST(ConditionsRecordTest, LastRecordWithoutLineFeed) {
  std::string value;
  ASSERT_TRUE(FindConditionsValue("A/0/1:1/2/1/1/C:\\a.xml", "A/0/1:", &value));
  EXPECT_EQ("1/2/1/1/C:\\a.xml", value);

  ConditionsRecord r{4, 3, 1, 1, "C:\\b.xml"};
  // Another's last record keeps its own line; this one's is replaced whole.
  EXPECT_EQ("A/0/1:1/2/1/1/C:\\a.xml\nB/0/1:4/3/1/1/C:\\b.xml\n",
            ReplaceConditionsRecord("A/0/1:1/2/1/1/C:\\a.xml", "B/0/1:", r));
  EXPECT_EQ("A/0/1:1/2/1/1/C:\\a.xml\nB/0/1:4/3/1/1/C:\\b.xml\n",
            ReplaceConditionsRecord("A/0/1:1/2/1/1/C:\\a.xml\nB/0/1:9/9/2/0/C:\\old.xml", "B/0/1:", r));
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { SetSettingsFolder("C:\\settings\\"); }
  void SetSettingsFolder(const std::string& folder) {
    home_.WriteHostIni("[Folders]\nAppFolder1=" + folder + "\n");
    ForgetHostIni();
  }
  std::string FilePath() const { return home_.Path("drive_c/settings/StmtLinkStd.env"); }
  std::string Content() const { return ReadTextFile(FilePath()); }

  ScratchHome home_;
};

TEST_F(SettingsFileTest, FirstSaveCreatesTheFolderThenRecordsKeepTheirOrder) {
  ConditionsRecord loaded;
  EXPECT_FALSE(LoadConditionsRecord("USER01/0/1:", &loaded)); // no file yet

  SetSettingsFolder("C:\\settings\\");
  ASSERT_TRUE(SaveConditionsRecord("USER01/0/1:", {4, 3, 1, 1, "C:\\out\\a.xml"}));
  ASSERT_TRUE(SaveConditionsRecord("USER02/0/2:", {5, 9, 2, 0, "C:\\out\\b.xml"}));
  ASSERT_TRUE(SaveConditionsRecord("USER03/0/3:", {1, 1, 1, 1, ""}));
  EXPECT_EQ("USER01/0/1:4/3/1/1/C:\\out\\a.xml\n"
            "USER02/0/2:5/9/2/0/C:\\out\\b.xml\n"
            "USER03/0/3:1/1/1/1/\n",
            Content());

  // The same key again: its old record goes, the new one stands last.
  ASSERT_TRUE(SaveConditionsRecord("USER01/0/1:", {6, 8, 2, 0, "C:\\表\\c.xml"}));
  EXPECT_EQ("USER02/0/2:5/9/2/0/C:\\out\\b.xml\n"
            "USER03/0/3:1/1/1/1/\n"
            "USER01/0/1:6/8/2/0/C:\\表\\c.xml\n",
            Content());
  ASSERT_TRUE(LoadConditionsRecord("USER01/0/1:", &loaded));
  EXPECT_EQ(6, loaded.from);
  EXPECT_EQ(8, loaded.to);
  EXPECT_EQ(2, loaded.kind);
  EXPECT_EQ(0, loaded.ledger);
  EXPECT_EQ("C:\\表\\c.xml", loaded.path);
  // No working files are left beside it (the lock file stays by design).
  EXPECT_EQ("", ReadTextFile(FilePath() + ".new"));
}

TEST_F(SettingsFileTest, FileNameIsAppendedToTheFolderAsTheHostGivesIt) {
  SetSettingsFolder("C:\\settings");
  home_.MakeDir("drive_c/settings");
  ASSERT_TRUE(SaveConditionsRecord("U/0/1:", {4, 3, 1, 1, "C:\\a.xml"}));
  EXPECT_EQ("U/0/1:4/3/1/1/C:\\a.xml\n", ReadTextFile(home_.Path("drive_c/settingsStmtLinkStd.env")));
  SetSettingsFolder("");
  EXPECT_FALSE(SaveConditionsRecord("U/0/1:", {4, 3, 1, 1, "C:\\a.xml"}));
}

TEST_F(SettingsFileTest, FileBeyondSixteenBitLengthsIsKeptWhole) {
  std::string others;
  for (int i = 0; others.size() < 40000; ++i)
    others += "OTHER" + std::to_string(i) + "/0/1:4/3/1/1/C:\\out\\report" + std::to_string(i) + ".xml\n";
  const std::string mine_old = "USER01/0/1:1/12/1/1/C:\\old.xml\n";
  home_.MakeDir("drive_c/settings");
  const std::size_t half = others.find('\n', others.size() / 2) + 1;
  home_.WriteFile("drive_c/settings/StmtLinkStd.env",
                  others.substr(0, half) + mine_old + others.substr(half));

  ConditionsRecord loaded;
  ASSERT_TRUE(LoadConditionsRecord("USER01/0/1:", &loaded)); // found beyond 32,767 bytes
  EXPECT_EQ("C:\\old.xml", loaded.path);
  ASSERT_TRUE(SaveConditionsRecord("USER01/0/1:", {4, 3, 2, 0, "C:\\new.xml"}));
  EXPECT_EQ(others + "USER01/0/1:4/3/2/0/C:\\new.xml\n", Content());
}

TEST_F(SettingsFileTest, InterruptedSaveLeavesTheOldFileWhole) {
  ASSERT_TRUE(SaveConditionsRecord("USER01/0/1:", {4, 3, 1, 1, "C:\\a.xml"}));
  ASSERT_TRUE(SaveConditionsRecord("USER02/0/1:", {4, 3, 1, 1, "C:\\b.xml"}));
  const std::string before = Content();

  FaultInjectionEnv env;
  env.Fail(FaultInjectionEnv::Op::kRename); // the new file is written, the rename fails
  {
    ScopedEnv use(&env);
    EXPECT_FALSE(SaveConditionsRecord("USER01/0/1:", {9, 9, 2, 0, "C:\\c.xml"}));
  }
  EXPECT_EQ(1, env.Calls(FaultInjectionEnv::Op::kRename));
  EXPECT_EQ(before, Content());
  EXPECT_FALSE(Env::Real()->Stat(FilePath() + ".new", nullptr)); // removed again

  env.Clear();
  env.SetDiskSpace(10); // a short write of the new file
  {
    ScopedEnv use(&env);
    EXPECT_FALSE(SaveConditionsRecord("USER03/0/1:", {9, 9, 2, 0, "C:\\c.xml"}));
  }
  EXPECT_EQ(before, Content());

  env.Clear();
  env.Fail(FaultInjectionEnv::Op::kSync); // written, but not on the disk
  const int syncs = env.Calls(FaultInjectionEnv::Op::kSync);
  {
    ScopedEnv use(&env);
    EXPECT_FALSE(SaveConditionsRecord("USER04/0/1:", {9, 9, 2, 0, "C:\\c.xml"}));
  }
  EXPECT_EQ(syncs + 1, env.Calls(FaultInjectionEnv::Op::kSync));
  EXPECT_EQ(before, Content());
}

TEST_F(SettingsFileTest, LinksPlantedAsTheWorkingFilesNeverRedirectTheSave) {
  ASSERT_TRUE(SaveConditionsRecord("USER01/0/1:", {4, 3, 1, 1, "C:\\a.xml"}));
  const std::string victim = home_.WriteFile("victim.txt", "keep me");
  ASSERT_EQ(0, symlink(victim.c_str(), (FilePath() + ".new").c_str()));
  ASSERT_TRUE(SaveConditionsRecord("USER02/0/1:", {5, 6, 1, 1, "C:\\b.xml"}));
  EXPECT_EQ("USER01/0/1:4/3/1/1/C:\\a.xml\nUSER02/0/1:5/6/1/1/C:\\b.xml\n", Content());

  // A link as the lock file: the save is refused, nothing is written.
  ASSERT_EQ(0, unlink((FilePath() + ".lock").c_str()));
  ASSERT_EQ(0, symlink(victim.c_str(), (FilePath() + ".lock").c_str()));
  EXPECT_FALSE(SaveConditionsRecord("USER03/0/1:", {7, 8, 1, 1, "C:\\c.xml"}));
  EXPECT_EQ("keep me", ReadTextFile(victim));
  EXPECT_EQ("USER01/0/1:4/3/1/1/C:\\a.xml\nUSER02/0/1:5/6/1/1/C:\\b.xml\n", Content());
}

TEST_F(SettingsFileTest, TwoProgramsSavingAtOnceLoseNoRecord) {
  constexpr int kSavesEach = 40;
  ASSERT_TRUE(SaveConditionsRecord("FIRST/0/0:", {1, 1, 1, 1, "C:\\first.xml"}));
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      bool ok = true;
      for (int i = 0; i < kSavesEach; ++i) {
        std::string key = "P" + std::to_string(c) + "U" + std::to_string(i) + "/0/1:";
        ok = SaveConditionsRecord(key, {4, 3, 1, 1, "C:\\p.xml"}) && ok;
      }
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string content = Content();
  EXPECT_EQ(0u, content.find("FIRST/0/0:1/1/1/1/C:\\first.xml\n"));
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kSavesEach; ++i) {
      std::string record = "P" + std::to_string(c) + "U" + std::to_string(i) + "/0/1:4/3/1/1/C:\\p.xml\n";
      EXPECT_NE(std::string::npos, content.find(record)) << record;
    }
  EXPECT_EQ(1 + 2 * kSavesEach, static_cast<int>(std::count(content.begin(), content.end(), '\n')));
}

} // namespace
} // namespace stmtlink
