// The conditions dialog on a terminal: the form drawn from the template,
// fields changed by number, keys, Browse with a typed path, and the end of
// input taken as Esc.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dialog/conditions_dialog.h"
#include "host/substitute/host_ini.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"
#include "ui/console_front_end.h"

namespace stmtlink {
namespace {

using testing::U8;

class ConsoleDialogsTest : public ::testing::Test {
 protected:
  ConsoleDialogsTest() {
    home_.WriteHostIni("[Folders]\nAppFolder0=C:\\existing\\\n");
    ForgetHostIni();
    home_.MakeDir("drive_c/existing");
    home_.WriteFile("drive_c/existing/picked.XML", "old");
    dialog_.periodStart = 20250401;
    dialog_.periodEnd = 20260331;
    dialog_.isCompanyLawData = 1;
    dialog_.companyName = " 株式会社テスト";
    dialog_.periodText = " 2025/04/01～2026/03/31";
  }
  ~ConsoleDialogsTest() override { SetFrontEnd(nullptr); }

  // Runs the dialog with this terminal input (UTF-8); the terminal's output.
  int Run(const std::string& input, std::string* output) {
    std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
    char* out_buffer = nullptr;
    std::size_t out_size = 0;
    std::FILE* out = open_memstream(&out_buffer, &out_size);
    int result;
    {
      ConsoleFrontEnd console(in, out);
      SetFrontEnd(&console);
      result = dialog_.DoModal();
      SetFrontEnd(nullptr);
    }
    std::fclose(in);
    std::fclose(out);
    output->assign(out_buffer, out_size);
    std::free(out_buffer);
    return result;
  }

  ScratchHome home_;
  ConditionsDialog dialog_;
};

TEST_F(ConsoleDialogsTest, FieldsChangedByNumberThenExecute) {
  std::string out;
  // 1 from; 2 asks for the to month; 4 members' radio; 9 ledger box
  // (checked at first); 5 output; 7 Execute. Texts the edits cannot take
  // whole are refused in words, and the fields keep what they had.
  int result = Run(U8(u8"1=abc\n2=123\n1=5\n2\n9\n4\n9\n5=C:\\existing\\表.xml\n7\n"), &out);
  EXPECT_EQ(ConditionsDialog::kResultExecute, result) << out;
  EXPECT_NE(std::string::npos, out.find(U8(u8"1 には数字だけを入力できます（「abc」は入力しませんでした）")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"2 には半角 2 文字までしか入りません（「123」は入力しませんでした）")));
  EXPECT_NE(std::string::npos, out.find(U8(u8">1[4] 月度(S) ～ 2[3]")));
  EXPECT_EQ("5", dialog_.fromMonthText);
  EXPECT_EQ("9", dialog_.toMonthText);
  EXPECT_EQ(2, dialog_.equityKind);
  EXPECT_EQ(0, dialog_.outputLedger);
  EXPECT_EQ("C:\\existing\\表.xml", dialog_.outputPath);
  // The form, row by row, in UTF-8.
  EXPECT_NE(std::string::npos, out.find(U8(u8"== 決算書 - 集計条件 ==")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"事業所名 ：  株式会社テスト\n")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"集計期間 ： >1[4] 月度(S) ～ 2[3] 月度(E)\n"))) << out;
  EXPECT_NE(std::string::npos, out.find(U8(u8"5[C:\\existing\\*.xml] 6<参照(D)...>")));
  // The equity caption's three statics as one text, beside the first radio.
  EXPECT_NE(std::string::npos,
            out.find(U8(u8"株主／社員資本等変動計算書の選択 ： 3(*) 株主資本等変動計算書の情報を出力する(K)\n"
                        u8"4( ) 社員資本")))
      << out;
  EXPECT_NE(std::string::npos, out.find(U8(u8"キー: Enter、F12 (f12)、Esc (esc)、tab")));
}

TEST_F(ConsoleDialogsTest, KeysBrowseAndRefusals) {
  std::string out;
  // Enter from the from-month edit moves to the to-month edit; "=" types
  // into it; the default "*.xml" path is refused; Browse takes a typed name
  // (the default extension added; the folder must exist, the file need
  // not); Execute then asks about overwriting. F12 comes as the word and as
  // the key's sequence.
  int result = Run("\n=3\nf12\n\n6\nno\\such\npicked\n\x1b[24~\ny\n", &out);
  EXPECT_EQ(ConditionsDialog::kResultExecute, result) << out;
  EXPECT_EQ("C:\\existing\\picked.XML", dialog_.outputPath);
  EXPECT_NE(std::string::npos, out.find(U8(u8"データの出力先に不正な文字が含まれています。")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"そのフォルダは存在しません")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"同名のファイルが存在します。")));
  EXPECT_NE(std::string::npos, out.find(U8(u8"はい=y／いいえ=n: ")));
  // A new file can be named too.
  dialog_.outputPath.clear();
  result = Run("\n=3\n6\nnew\n\x1b[24~\n", &out);
  EXPECT_EQ(ConditionsDialog::kResultExecute, result) << out;
  EXPECT_EQ("C:\\existing\\new.XML", dialog_.outputPath);
}

TEST_F(ConsoleDialogsTest, EndOfInputOrTheEscKeyCancels) {
  for (const char* input : {"1=6\nnonsense\n", "1=6\nnonsense\n\x1b\n5\n"}) {
    std::string out;
    EXPECT_EQ(ConditionsDialog::kResultCancel, Run(input, &out));
    EXPECT_NE(std::string::npos, out.find(U8(u8"入力を読み取れません")));
    EXPECT_NE(std::string::npos, out.find(U8(u8"｢決算書｣の集計を中止します。")));
    // Esc ends the dialog at once: the edit after it is never asked for.
    EXPECT_EQ(std::string::npos, out.find(U8(u8"5 の新しい内容")));
  }
}

} // namespace
} // namespace stmtlink
