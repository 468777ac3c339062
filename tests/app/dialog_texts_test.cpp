#include <gtest/gtest.h>

#include <cstring>

#include "app/dialog_texts.h"
#include "platform/mbcs.h"

namespace stmtlink {
namespace {

StDATAINFO DataWithName(const std::string& name) {
  StDATAINFO data{};
  std::memcpy(data.companyNameText, name.data(), std::min(name.size(), sizeof(data.companyNameText)));
  data.periodStart = 20250401;
  data.periodEnd = 20260331;
  return data;
}

TEST(DialogTextsTest, ShortNameGetsOneLeadingBlank) {
  EXPECT_EQ(" 株式会社山桜", DialogCompanyName(DataWithName("株式会社山桜")));
}

TEST(DialogTextsTest, LongNameIsCutWithoutSplittingACharacter) {
  // 25 double-byte characters: " " + 50 bytes does not fit in 50 bytes of text.
  std::string name;
  for (int i = 0; i < 25; ++i) name += "表";
  std::string text = DialogCompanyName(DataWithName(name));
  EXPECT_EQ(49u, text.size()); // blank + 24 characters; the 25th would split
  EXPECT_FALSE(_ismbblead(static_cast<unsigned char>(text.back())) &&
               !_ismbstrail(reinterpret_cast<const unsigned char*>(text.data()),
                            reinterpret_cast<const unsigned char*>(text.data() + text.size() - 1)));
  EXPECT_EQ(text.substr(1), name.substr(0, 48));
}

TEST(DialogTextsTest, UnterminatedNameFieldIsReadNoFurther) {
  StDATAINFO data = DataWithName(std::string(300, 'A'));
  EXPECT_EQ(" " + std::string(49, 'A'), DialogCompanyName(data));
}

TEST(DialogTextsTest, PeriodTextHasEveryFieldPadded) {
  EXPECT_EQ(" 2025/04/01～2026/03/31", DialogPeriodText(DataWithName("x")));
  StDATAINFO zero{};
  EXPECT_EQ(" 0000/00/00～0000/00/00", DialogPeriodText(zero));
}

} // namespace
} // namespace stmtlink
