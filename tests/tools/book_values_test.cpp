// Amounts, dates and texts as people write them in the import's CSV files,
// and the CSV reading itself: quoting, line numbers, encodings.
#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "tools/books/book_values.h"
#include "tools/books/csv_file.h"

namespace stmtlink {
namespace {

using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

TEST(BookValues, AmountsAsWrittenAndBack) {
  struct Good {
    const char* text;
    std::int64_t units;
    const char* written;
  } const goods[] = {
      {"", 0, "0"},
      {"1,234,567", 12345670000, "1234567"},
      {"-980.5", -9805000, "-980.5"},
      {" +12.3456 ", 123456, "12.3456"},
      {"\xC2\xA5"
       "1,000",
       10000000, "1000"},
      {"99999999999999.9999", kAmountLimit - 1, "99999999999999.9999"},
      {"0.0001", 1, "0.0001"},
  };
  for (const Good& g : goods) {
    std::int64_t units = -1;
    std::string why;
    ASSERT_TRUE(ParseYenAmount(g.text, &units, &why)) << g.text << ": " << why;
    EXPECT_EQ(g.units, units) << g.text;
    EXPECT_EQ(g.written, FormatYenAmount(units)) << g.text;
  }
  EXPECT_EQ("-1,234,567.5", FormatYenForPeople(-12345675000));
  EXPECT_EQ("999", FormatYenForPeople(9990000));
  for (const char* bad : {"1,00", "1234,567", ",100", "1,,000", "12.", ".5", "1.23456", "1e5",
                          "--1", "100000000000000", "12 34", "0x10"}) {
    std::int64_t units = 0;
    std::string why;
    EXPECT_FALSE(ParseYenAmount(bad, &units, &why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

// Amounts as bookkeepers write them; each refusal lists the forms read.
TEST(BookValues, AmountsAsPeopleWriteThem) {
  const std::pair<std::string, std::int64_t> goods[] = {
      {U8(u8"3000000円"), 30000000000},    {U8(u8"△1,000"), -10000000},
      {U8(u8"▲1000"), -10000000},          {U8(u8"５００，０００"), 5000000000},
      {"(1,000)", -10000000},               {U8(u8"（１２．５）"), -125000},
      {U8(u8"￥1,000円"), 10000000},        {U8(u8"－５"), -50000},
  };
  for (const auto& [text, units] : goods) {
    std::int64_t got = 0;
    std::string why;
    EXPECT_TRUE(ParseYenAmount(text, &got, &why)) << why;
    EXPECT_EQ(units, got);
  }
  for (const std::string& bad : {U8(u8"円1000"), U8(u8"1000ドル"), std::string("(-5)"),
                                 std::string("(5"), U8(u8"1,00円")}) {
    std::int64_t units = 0;
    std::string why;
    EXPECT_FALSE(ParseYenAmount(bad, &units, &why));
    if (why.find("thousands") == std::string::npos) {
      EXPECT_NE(std::string::npos, why.find(kAmountForms)) << why;
    }
  }
}

TEST(BookValues, DatesAndShiftJisTexts) {
  std::int64_t date = 0;
  for (const char* text : {"2024-02-29", "2024/2/29", "20240229"}) {
    ASSERT_TRUE(ParseBookDate(text, &date)) << text;
    EXPECT_EQ(20240229, date);
  }
  for (const char* bad : {"2025-02-29", "2025-13-01", "2025-04", "2025/04-01", "250401", "", "x",
                          "2025n4m1d", "2025.4.1."})
    EXPECT_FALSE(ParseBookDate(bad, &date)) << bad;
  // The forms Japanese bookkeeping software writes, the era ones read by the
  // host's era table: 令和 from 2019-05-01, 平成 from 1989-01-08.
  const std::pair<std::string, std::int64_t> written[] = {
      {U8(u8"令和7年6月10日"), 20250610}, {"R7/4/5", 20250405},     {"R07.04.15", 20250415},
      {U8(u8"2025年4月20日"), 20250420},  {"2025.4.25", 20250425},  {U8(u8"2025年4月20"), 20250420},
      {U8(u8"令和元年5月1日"), 20190501}, {"h31-04-30", 20190430},  {U8(u8"平成元年1月8日"), 19890108},
      {U8(u8"Ｒ７／４／１"), 0},          {U8(u8"２０２５／４／１ "), 20250401},
  };
  for (const auto& [text, want] : written) {
    date = 0;
    EXPECT_EQ(want != 0, ParseBookDate(text, &date)) << text;
    EXPECT_EQ(want, date) << text;
  }
  for (const std::string& bad :
       {U8(u8"平成31年5月1日"), U8(u8"令和1年4月30日"), U8(u8"平成元年1月7日"), std::string("R0/4/1"),
        std::string("R123/4/1"), U8(u8"令和7年4月"), U8(u8"令和7/4月1日"), std::string("X7/4/1")})
    EXPECT_FALSE(ParseBookDate(bad, &date)) << bad;
  EXPECT_EQ("2025-04-01", FormatBookDate(20250401));

  std::string character;
  EXPECT_TRUE(FitsShiftJis(U8(u8"株式会社　山桜商事 ①～"), &character));
  // Kept out of the assertions, whose own text is compiled to CP932.
  const std::string outside[][2] = {{U8(u8"髙橋𠮷野家"), U8(u8"'𠮷' (U+20BB7)")},
                                    {U8(u8"Café"), U8(u8"'é' (U+00E9)")}};
  for (const auto& [text, named] : outside) {
    EXPECT_FALSE(FitsShiftJis(text, &character));
    EXPECT_EQ(named, character);
  }
}

TEST(CsvFileTest, QuotedFieldsAndTheLinesRecordsStartOn) {
  CsvFile file = CsvFile::FromText(
      "t.csv", "a,b,c\r\n\r\n\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\n1,,\n\"open");
  ImportProblems problems;
  CsvRecord r;
  ASSERT_TRUE(file.Next(&r, &problems));
  EXPECT_EQ(1, r.line);
  ASSERT_TRUE(file.Next(&r, &problems));
  EXPECT_EQ(3, r.line);
  EXPECT_EQ((std::vector<std::string>{"x, y", "say \"hi\"", "two\nlines"}), r.fields);
  ASSERT_TRUE(file.Next(&r, &problems));
  EXPECT_EQ(5, r.line);
  EXPECT_EQ((std::vector<std::string>{"1", "", ""}), r.fields);
  EXPECT_FALSE(file.Next(&r, &problems));
  EXPECT_EQ("t.csv:6:1: a quoted field is not closed\n", problems.Text());
  EXPECT_EQ("\"a,\"\"b\"\"\"", CsvField("a,\"b\""));
  EXPECT_EQ("plain", CsvField("plain"));
}

// A spreadsheet takes a cell that starts with =, +, -, @, a tab or a CR for
// a formula: the export's text cells never start so, and the import reads
// each text back as it was, apostrophes included.
TEST(CsvFileTest, TextCellsThatLookLikeFormulasAreGuardedAndReadBackExactly) {
  const std::string texts[] = {"=cmd|' /C calc'!A0", "+81", "-", "@SUM(A1)", "\tx", "\rx",
                               "'=x", "''", "'", "'a", "a=b", "plain", "", "'\r\n"};
  std::string csv = "text,end\r\n";
  for (const std::string& text : texts) {
    const std::string cell = CsvTextField(text);
    const char first = cell[0] == '"' ? cell[1] : cell[0];
    EXPECT_EQ(std::string::npos, std::string("=+-@\t\r").find(first)) << cell;
    csv += cell + ",end\r\n";
  }
  CsvFile file = CsvFile::FromText("t.csv", csv);
  ImportProblems problems;
  CsvRecord record;
  ASSERT_TRUE(file.Next(&record, &problems));
  for (const std::string& text : texts) {
    ASSERT_TRUE(file.Next(&record, &problems)) << text;
    EXPECT_EQ(text, WithoutFormulaGuard(record.fields[0]));
  }
  EXPECT_TRUE(problems.empty()) << problems.Text();
  EXPECT_EQ("-980.5", WithoutFormulaGuard("-980.5")); // what people write stays
}

TEST(CsvFileTest, EncodingsAreDetectedOrGivenAndBadBytesNamed) {
  TempDir dir;
  const std::string utf8 = U8(u8"名前\n現金\n");
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(utf8, &cp932));
  struct Case {
    std::string bytes;
    TextEncoding encoding;
  } const cases[] = {{utf8, TextEncoding::kAuto},
                     {"\xEF\xBB\xBF" + utf8, TextEncoding::kAuto},
                     {cp932, TextEncoding::kAuto},
                     {cp932, TextEncoding::kCp932}};
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteTextFile(dir.File("f.csv"), c.bytes));
    CsvFile file;
    ImportProblems problems;
    ASSERT_TRUE(CsvFile::Load(dir.File("f.csv"), c.encoding, &file, &problems)) << problems.Text();
    CsvRecord r;
    ASSERT_TRUE(file.Next(&r, &problems));
    EXPECT_EQ(U8(u8"名前"), r.fields.at(0));
  }
  // CP932 given as UTF-8, and bytes that are neither.
  ImportProblems problems;
  CsvFile file;
  ASSERT_TRUE(WriteTextFile(dir.File("f.csv"), "ok\n" + cp932));
  EXPECT_FALSE(CsvFile::Load(dir.File("f.csv"), TextEncoding::kUtf8, &file, &problems));
  ASSERT_TRUE(WriteTextFile(dir.File("g.csv"), "ok\nok\n\x81\x20\n"));
  EXPECT_FALSE(CsvFile::Load(dir.File("g.csv"), TextEncoding::kAuto, &file, &problems));
  EXPECT_NE(std::string::npos,
            problems.Text().find(dir.File("f.csv") + ":2: the file is not valid UTF-8"))
      << problems.Text();
  EXPECT_NE(std::string::npos, problems.Text().find(dir.File("g.csv") + ":3: the file is neither"))
      << problems.Text();
}

} // namespace
} // namespace stmtlink
