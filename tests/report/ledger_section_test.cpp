// The general-ledger section over account and ledger lines made here.
#include <gtest/gtest.h>

#include <cstring>

#include "report/ledger_section.h"
#include "tests/report/section_output.h"

namespace stmtlink {
namespace {

using testing::CountOf;
using testing::SectionOutput;
using testing::WriteSection;

void AddAccount(AccountLineList* lines, std::int32_t code, const char* name, std::int32_t nature,
                std::int64_t opening, std::int64_t closing) {
  auto line = std::make_unique<AccountLine>();
  line->code = code;
  std::strncpy(line->formalName, name, 30);
  line->nature = nature;
  line->opening = opening;
  line->closing = closing;
  line->change = closing - opening;
  lines->Append(std::move(line));
}

void AddRow(LedgerLineList* ledger, std::int32_t code, std::int32_t entry, const char* counter,
            std::int64_t amount, std::int64_t balance, const char* description = "") {
  LedgerLine made;
  LedgerLine* row = &made;
  row->code = code;
  row->entryNo = entry;
  std::strcpy(row->dateText, "令和7年4月1日");
  std::strncpy(row->counterAccountName, counter, 30);
  std::strncpy(row->description, description, 60);
  row->amount = amount;
  row->balance = balance;
  ASSERT_TRUE(ledger->Append(made));
}

SectionOutput Ledger(const AccountLineList& lines, const LedgerLineList& ledger) {
  return WriteSection([&](XmlWriter& xml) { return WriteLedgerSection(xml, lines, ledger); });
}

TEST(LedgerSectionTest, NoLedgerLinesNoSection) {
  AccountLineList lines;
  AddAccount(&lines, 1110000, "現金", 0x80880000, 0, 0);
  SectionOutput out = Ledger(lines, LedgerLineList());
  EXPECT_EQ(1, out.result);
  EXPECT_EQ("", out.text);
}

TEST(LedgerSectionTest, AccountBlockAndRowsInTheReceiversLines) {
  AccountLineList lines;
  AddAccount(&lines, 1110000, "現　金 （本店）", 0x80880000, 0, 12340000);
  LedgerLineList ledger;
  AddRow(&ledger, 1110000, 12, "諸口", 20000000, 20000000, "売上 （4月分） A&B");
  AddRow(&ledger, 1110000, 13, "買掛金", -10005000, 9995000);
  AddRow(&ledger, 1110000, 14, "普通預金", 0, 9995000);
  SectionOutput out = Ledger(lines, ledger);
  EXPECT_EQ(1, out.result);
  EXPECT_EQ(0u, out.text.find("\t\t<HJ00780S>\r\n"
                              "\t\t\t<HJ00780S01>\r\n"
                              "\t\t\t\t<HJ00780S0010>現金本店</HJ00780S0010>\r\n"
                              "\t\t\t\t<HJ00780S0020>流動資産</HJ00780S0020>\r\n"
                              "\t\t\t\t<HJ00780S0030>0</HJ00780S0030>\r\n"
                              "\t\t\t\t<HJ00780S0040>1234</HJ00780S0040>\r\n"
                              "\t\t\t\t<HJ00780S02>\r\n"
                              "\t\t\t\t\t<HJ00780S0050>12</HJ00780S0050>\r\n"
                              "\t\t\t\t\t<HJ00780S0060>令和7年4月1日</HJ00780S0060>\r\n"
                              "\t\t\t\t\t<HJ00780S0070></HJ00780S0070>\r\n"
                              "\t\t\t\t\t<HJ00780S0080>諸口</HJ00780S0080>\r\n"
                              "\t\t\t\t\t<HJ00780S0090></HJ00780S0090>\r\n"
                              "\t\t\t\t\t<HJ00780S0100>売上 （4月分） A&amp;B</HJ00780S0100>\r\n"
                              "\t\t\t\t\t<HJ00780S0110>2000</HJ00780S0110>\r\n"
                              "\t\t\t\t\t<HJ00780S0120>2000</HJ00780S0120>\r\n"
                              "\t\t\t\t</HJ00780S02>\r\n"))
      << out.text;
  EXPECT_EQ(3, CountOf(out.text, "<HJ00780S02>"));
  EXPECT_NE(std::string::npos, out.text.find("<HJ00780S0110>-1000</HJ00780S0110>"));
  EXPECT_NE(std::string::npos, out.text.find("<HJ00780S0110>0</HJ00780S0110>"));
  const std::string ending = "\t\t\t\t</HJ00780S02>\r\n\t\t\t</HJ00780S01>\r\n\t\t</HJ00780S>\r\n";
  ASSERT_GE(out.text.size(), ending.size());
  EXPECT_EQ(ending, out.text.substr(out.text.size() - ending.size()));
}

TEST(LedgerSectionTest, AKnownTextIsCleanedAsALabelAndKeptAsADescription) {
  // The same text (one text number) as a description and as a counter
  // account, twice each: every row gets its own field's form.
  AccountLineList lines;
  AddAccount(&lines, 1110000, "現金", 0x80880000, 0, 0);
  LedgerLineList ledger;
  for (int i = 0; i < 2; ++i) {
    AddRow(&ledger, 1110000, 1, "諸口", 10000, 10000, "売上 （4月分） A&B");
    AddRow(&ledger, 1110000, 2, "売上 （4月分） A&B", 10000, 20000, "諸口");
  }
  SectionOutput out = Ledger(lines, ledger);
  EXPECT_EQ(2, CountOf(out.text, "<HJ00780S0100>売上 （4月分） A&amp;B</HJ00780S0100>"));
  EXPECT_EQ(2, CountOf(out.text, "<HJ00780S0080>売上4月分A&amp;B</HJ00780S0080>"));
  EXPECT_EQ(2, CountOf(out.text, "<HJ00780S0100>諸口</HJ00780S0100>"));
  EXPECT_EQ(2, CountOf(out.text, "<HJ00780S0080>諸口</HJ00780S0080>"));
}

TEST(LedgerSectionTest, AccountsWithoutRowsArePassedOverAndStrayRowsLeftOut) {
  AccountLineList lines;
  AddAccount(&lines, 1110000, "現金", 0x80880000, 0, 0);
  AddAccount(&lines, 1120000, "当座預金", 0x80880000, 0, 0);
  AddAccount(&lines, 4110000, "売上高", 0x40888000, 0, 0);
  LedgerLineList ledger;
  AddRow(&ledger, 1120000, 1, "売掛金", 10000, 10000);
  AddRow(&ledger, 4110000, 2, "売掛金", 10000, 10000);
  AddRow(&ledger, 1110000, 3, "売掛金", 10000, 10000); // its account came earlier
  SectionOutput out = Ledger(lines, ledger);
  EXPECT_EQ(1, out.result);
  EXPECT_EQ(2, CountOf(out.text, "<HJ00780S01>"));
  EXPECT_EQ(std::string::npos, out.text.find("<HJ00780S0010>現金</HJ00780S0010>"));
  EXPECT_NE(std::string::npos, out.text.find("<HJ00780S0020>売上高</HJ00780S0020>"));
}

TEST(LedgerSectionTest, CategoryNamesTakeTheFirstMatchingTest) {
  EXPECT_STREQ("流動資産", NatureCategoryName(static_cast<std::int32_t>(0x80880810)));
  EXPECT_STREQ("流動資産", NatureCategoryName(static_cast<std::int32_t>(0x80800008)));
  EXPECT_STREQ("資産の部", NatureCategoryName(static_cast<std::int32_t>(0x80800000)));
  EXPECT_STREQ("株主資本", NatureCategoryName(static_cast<std::int32_t>(0x80281048)));
  EXPECT_STREQ("評価･換算差額等", NatureCategoryName(static_cast<std::int32_t>(0x80248000)));
  EXPECT_STREQ("販管費", NatureCategoryName(0x40882000));
  EXPECT_STREQ("経常損益", NatureCategoryName(0x40800000));
  EXPECT_STREQ("差引損益", NatureCategoryName(0x40200040));
  EXPECT_STREQ("製造経費", NatureCategoryName(0x20200000));
  EXPECT_STREQ("集計対象外", NatureCategoryName(0x08000080));
  EXPECT_STREQ("", NatureCategoryName(0x00000001));
}

} // namespace
} // namespace stmtlink
