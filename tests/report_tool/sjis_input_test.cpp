// The report's bytes on their way to the parser: code page 932 (not plain
// Shift_JIS), characters split across the reader's blocks, line ends, and
// the lines the reader names beyond the parser's own line count.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"
#include "tools/report/report_check.h"
#include "tools/report/sjis_input.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::TempDir;
using stmtlink::testing::WriteTextFile;

// All of a file through SjisInput, in reads of the given size.
std::string Through(const std::string& path, int read_size, SjisInput** keep = nullptr) {
  static SjisInput* input = nullptr;
  delete input;
  input = new SjisInput(open(path.c_str(), O_RDONLY));
  std::string out;
  char buffer[8192];
  int n;
  while ((n = input->Read(buffer, read_size)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  if (keep) *keep = input;
  return out;
}

TEST(SjisInput, ConvertsCodePage932AcrossBlocksAndCountsLineEnds) {
  TempDir dir;
  const std::string path = dir.File("t.xml");
  // 株 (0x8A 0x94) so placed that its lead byte ends the first 64 KiB block;
  // ① and ㈱ (NEC row 13), ｶﾞ (half-width), the backslash as itself.
  std::string bytes(65535, 'a');
  bytes += "\x8A\x94\r\n\x87\x40\x87\x8A\xB6\xDE\\\r\n";
  ASSERT_TRUE(WriteTextFile(path, bytes));
  SjisInput* input = nullptr;
  const std::string utf8 = Through(path, 4000, &input);
  EXPECT_EQ(std::string(65535, 'a') + "株\r\n①㈱ｶﾞ\\\r\n", utf8);
  EXPECT_EQ(0, input->encoding_fault_line());
  EXPECT_EQ(0, input->bad_line_ends());
  EXPECT_EQ(3, input->lines());

  // A lone LF, a lone CR, and a CR at the very end.
  ASSERT_TRUE(WriteTextFile(path, "a\nb\rc\r\nd\r"));
  Through(path, 3, &input);
  EXPECT_EQ(3, input->bad_line_ends());
  EXPECT_EQ(1, input->first_bad_line_end());

  // A pair with no character, and a lead byte with nothing after it.
  ASSERT_TRUE(WriteTextFile(path, "ok\r\n\x85\x40"));
  Through(path, 100, &input);
  EXPECT_EQ(2, input->encoding_fault_line());
  EXPECT_EQ("85 40", input->encoding_fault_bytes());
  ASSERT_TRUE(WriteTextFile(path, "ok\x82"));
  Through(path, 100, &input);
  EXPECT_EQ("82", input->encoding_fault_bytes());
  // A lead byte that ends the first block, with a byte that makes no
  // character of it; control bytes pass, a byte that starts nothing stops.
  ASSERT_TRUE(WriteTextFile(path, "\r\n" + std::string(65533, 'a') + "\x8A\x7F"));
  EXPECT_EQ("\r\n" + std::string(65533, 'a'), Through(path, 4000, &input));
  EXPECT_EQ(2, input->encoding_fault_line());
  EXPECT_EQ("8A 7F", input->encoding_fault_bytes());
  ASSERT_TRUE(WriteTextFile(path, "\x01\t\r\n\xA0" "b"));
  EXPECT_EQ("\x01\t\r\n", Through(path, 100, &input));
  EXPECT_EQ(2, input->encoding_fault_line());
  EXPECT_EQ("A0", input->encoding_fault_bytes());
}

TEST(ReportReader, NamesLinesBeyondTheParsersOwnCount) {
  // A ledger of 9,000 rows (about 90,000 lines) with a bad amount near its
  // end: the refusal names its line exactly, though libxml2 keeps lines
  // above 65,534 only in texts.
  TempDir dir;
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n<DATA>\r\n<HJ00780S>\r\n"
      "<HJ00780S01>\r\n<HJ00780S0010>a</HJ00780S0010>\r\n<HJ00780S0020>b</HJ00780S0020>\r\n"
      "<HJ00780S0030>0</HJ00780S0030>\r\n<HJ00780S0040>0</HJ00780S0040>\r\n";
  long line = 9;
  long bad_line = 0;
  for (int row = 0; row < 9000; ++row) {
    text += "<HJ00780S02>\r\n";
    for (const char* field : {"0050", "0060", "0070", "0080", "0090", "0100", "0110", "0120"}) {
      const bool bad = row == 8990 && std::string(field) == "0110";
      text += std::string("<HJ00780S") + field + ">" + (bad ? "12x" : "0") + "</HJ00780S" + field + ">\r\n";
      if (bad) bad_line = line + 2;
      ++line;
    }
    text += "</HJ00780S02>\r\n";
    line += 2;
  }
  text += "</HJ00780S01>\r\n</HJ00780S>\r\n</DATA>\r\n</REPORT>\r\n";
  ASSERT_TRUE(WriteTextFile(dir.File("big.xml"), text));
  ReadResult read;
  EXPECT_FALSE(ReadReport(dir.File("big.xml"), ReadOptions{}, &read));
  EXPECT_EQ(Refusal::kNotNumber, read.refusal);
  EXPECT_GT(bad_line, 65535);
  EXPECT_EQ(bad_line, read.refusal_place.line);
  EXPECT_EQ("/REPORT/DATA/HJ00780S/HJ00780S01/HJ00780S02/HJ00780S0110", read.refusal_place.path);
}

} // namespace
} // namespace stmtlink::report
