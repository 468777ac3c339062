// The note switches, group flags and note lines, read from settings texts
// kept in books built by the test.
#include <gtest/gtest.h>

#include <cstring>

#include "host/substitute/substitute_control.h"
#include "notes/notes_reader.h"
#include "platform/host_home.h"
#include "tests/support/books_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BooksBuilder;
using testing::TempDir;

class NotesReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(books_.ok());
    ASSERT_TRUE(books_.AddDataSet({}));
    SetHostHome(home_.path());
    ResetHostSubstitute();
  }
  // Every read of these books succeeds: missing settings are no failure.
  void TearDown() override {
    EXPECT_TRUE(failure_.ok()) << failure_.Text();
    ResetHostSubstitute();
  }

  // Stores a settings text (UTF-8) of one kind for data set 1.
  void SetSetting(int kind, const std::string& utf8) {
    std::string escaped;
    for (char c : utf8) escaped += c == '\'' ? std::string("''") : std::string(1, c);
    ASSERT_TRUE(books_.Exec("INSERT OR REPLACE INTO statement_setting (data_no, kind, text) VALUES (1, " +
                            std::to_string(kind) + ", '" + escaped + "')"));
    ResetHostSubstitute();
  }

  TempDir home_;
  BooksBuilder books_{home_.path()};
  SettingsStore store_;
  RunFailure failure_;
};

TEST_F(NotesReaderTest, SwitchesReadTheirValues) {
  SetSetting(100, "[Main]\r\nInputMode= 2\r\n");
  SetSetting(0, "[Output]\r\nNote=0\r\n");
  EXPECT_EQ(1, IsNoteInputOn(&store_, &failure_));
  EXPECT_EQ(0, IsNoteOutputOn(&store_, &failure_));
  SetSetting(0, "Note=1");
  EXPECT_EQ(1, IsNoteOutputOn(&store_, &failure_));
  SetSetting(0, "Note=");
  EXPECT_EQ(0, IsNoteOutputOn(&store_, &failure_));
  SetSetting(100, "InputMode=0\r\n");
  EXPECT_EQ(0, IsNoteInputOn(&store_, &failure_));
  // The number is read on the key's line only.
  SetSetting(100, "InputMode=\r\n5\r\n");
  EXPECT_EQ(0, IsNoteInputOn(&store_, &failure_));
}

TEST_F(NotesReaderTest, MissingSettingsReadAsSwitchedOff) {
  EXPECT_EQ(0, IsNoteInputOn(&store_, &failure_));
  EXPECT_EQ(0, IsNoteOutputOn(&store_, &failure_));
  unsigned char flags[kNoteGroupCount];
  std::memset(flags, 7, sizeof(flags));
  ReadNoteGroupFlags(&store_, flags, &failure_);
  EXPECT_EQ(7, flags[0]); // left as it was
  std::string text = "old";
  EXPECT_EQ(1, ReadNoteText(&store_, &text, &failure_));
  EXPECT_EQ("", text);
}

TEST_F(NotesReaderTest, GroupFlagsFollowTheSectionsInOrder) {
  SetSetting(100, "InputMode=1\r\n[Note_1]\r\nDisp=1\r\n[Note_2]\r\nDisp=0\r\n[Note_3]\r\nDisp=257\r\n");
  unsigned char flags[kNoteGroupCount] = {};
  ReadNoteGroupFlags(&store_, flags, &failure_);
  EXPECT_EQ(1, flags[0]);
  EXPECT_EQ(0, flags[1]);
  EXPECT_EQ(1, flags[2]); // 257 cut to 8 bits
  EXPECT_EQ(0, flags[3]);
}

TEST_F(NotesReaderTest, SectionWithoutDispTakesTheNextOnesValue) {
  SetSetting(100, "[Note_1]\r\nOther=5\r\n[Note_2]\r\nDisp=3\r\n[Note_3]\r\nDisp=4\r\n");
  unsigned char flags[kNoteGroupCount] = {};
  ReadNoteGroupFlags(&store_, flags, &failure_);
  EXPECT_EQ(3, flags[0]);
  EXPECT_EQ(4, flags[1]);
  EXPECT_EQ(0, flags[2]);
}

TEST_F(NotesReaderTest, MoreThanFiftySectionsFillTheTableAndStop) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "[Note_" + std::to_string(i) + "]\r\nDisp=" + std::to_string(i + 1) + "\r\n";
  SetSetting(100, text);
  unsigned char table[kNoteGroupCount + 1] = {};
  table[kNoteGroupCount] = 0xAB; // a guard byte just past the table
  ReadNoteGroupFlags(&store_, table, &failure_);
  EXPECT_EQ(1, table[0]);
  EXPECT_EQ(50, table[kNoteGroupCount - 1]);
  EXPECT_EQ(0xAB, table[kNoteGroupCount]);
}

TEST_F(NotesReaderTest, NoteTextComesBackAsShiftJis) {
  SetSetting(1000, testing::U8(u8"<ID>1</ID>\r\n<Value>重要な会計方針</Value>\r\n"));
  std::string text;
  ReadNoteText(&store_, &text, &failure_);
  EXPECT_EQ("<ID>1</ID>\r\n<Value>重要な会計方針</Value>\r\n", text);
}

TEST_F(NotesReaderTest, AFailedFetchReadsAsOffAndTheFirstFailureIsKept) {
  SetSetting(100, "InputMode=1\r\n");
  InjectHostFailure("ClSaveKessansho::GetDataType02", 9001);
  EXPECT_EQ(0, IsNoteInputOn(&store_, &failure_));
  InjectHostFailure("ClSaveBase::AttachSetMgr", 9002);
  std::string text = "old";
  EXPECT_EQ(1, ReadNoteText(&store_, &text, &failure_));
  EXPECT_EQ("", text);
  EXPECT_EQ("注記を読み込めませんでした（ClSaveKessansho::GetDataType02 がエラーコード 9001 を返しました）。",
            failure_.Text());
  ClearHostFailures();
  failure_ = RunFailure(); // seen
}

TEST_F(NotesReaderTest, FetchPreparesAFreshStoreForTheSelectedData) {
  SetSetting(0, "Note=1");
  ClearHostCalls();
  IsNoteOutputOn(&store_, &failure_);
  std::vector<std::string> expected = {"ClSaveBase::AttachSetMgr", "ClSaveBase::SetCurDataID(D0000001)",
                                       "ClSaveBase::AttachOptLink", "ClSaveKessansho::GetDataType02(0)"};
  std::vector<std::string> calls;
  for (const std::string& call : HostCalls())
    if (call.rfind("ClSave", 0) == 0) calls.push_back(call);
  EXPECT_EQ(expected, calls);
}

TEST(SplitNoteTextTest, EntitiesAreDecodedAndLinesSplitAtCrLf) {
  std::vector<std::string> lines = {"stale"};
  SplitNoteText("A&amp;B\r\n\r\nC", &lines);
  EXPECT_EQ((std::vector<std::string>{"A&B", "", "C"}), lines);
  SplitNoteText("x\r\n", &lines);
  EXPECT_EQ((std::vector<std::string>{"x"}), lines);
  SplitNoteText("no line end &quot;q&quot; &apos;", &lines);
  EXPECT_EQ((std::vector<std::string>{"no line end \"q\" '"}), lines);
  SplitNoteText("", &lines);
  EXPECT_TRUE(lines.empty());
  // Decoding runs entity by entity over the whole text.
  SplitNoteText("&amp;lt;&gt;", &lines);
  EXPECT_EQ((std::vector<std::string>{"<>"}), lines);
}

} // namespace
} // namespace stmtlink
