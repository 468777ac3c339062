#include "platform/mbcs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace stmtlink {
namespace {

const unsigned char* U(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

// "表" is 95 5C and "ソ" 83 5C: their trail byte is a backslash.
TEST(MbcsTest, LiteralsHaveBackslashTrailBytes) {
  ASSERT_STREQ("\x95\x5C", "表");
  ASSERT_STREQ("\x83\x5C", "ソ");
}

TEST(MbcsTest, LeadAndTrailRanges) {
  EXPECT_FALSE(_ismbblead(0x80));
  EXPECT_TRUE(_ismbblead(0x81));
  EXPECT_TRUE(_ismbblead(0x9F));
  EXPECT_FALSE(_ismbblead(0xA0)); // half-width katakana are single bytes
  EXPECT_FALSE(_ismbblead(0xDF));
  EXPECT_TRUE(_ismbblead(0xE0));
  EXPECT_TRUE(_ismbblead(0xFC));
  EXPECT_FALSE(_ismbblead(0xFD));
  EXPECT_TRUE(_ismbblead(0x181)); // only the low byte counts
  EXPECT_FALSE(_ismbblead(0x8141));
  EXPECT_TRUE(_ismbbtrail(0x1240));
  EXPECT_FALSE(_ismbbtrail(0x3F));
  EXPECT_TRUE(_ismbbtrail(0x40));
  EXPECT_TRUE(_ismbbtrail(0x5C));
  EXPECT_FALSE(_ismbbtrail(0x7F));
  EXPECT_TRUE(_ismbbtrail(0xFC));
  EXPECT_FALSE(_ismbbtrail(0xFD));
}

TEST(MbcsTest, LeadAndTrailInContext) {
  const char* s = "a表\\ソ";
  EXPECT_EQ(0, _ismbslead(U(s), U(s)));
  EXPECT_EQ(-1, _ismbslead(U(s), U(s + 1)));
  EXPECT_EQ(0, _ismbstrail(U(s), U(s + 1)));
  EXPECT_EQ(-1, _ismbstrail(U(s), U(s + 2))); // the 0x5C of 表
  EXPECT_EQ(0, _ismbstrail(U(s), U(s + 3)));  // a real backslash
  EXPECT_EQ(-1, _ismbstrail(U(s), U(s + 5)));
  // A run of lead-range bytes pairs from the start: 95 95 5C is 95 95 + "\".
  const char* run = "\x95\x95\x5C";
  EXPECT_EQ(-1, _ismbstrail(U(run), U(run + 1)));
  EXPECT_EQ(0, _ismbstrail(U(run), U(run + 2)));
  // The runtime pairs a lead byte with any byte after it, and with the
  // terminator too.
  const char* stray = "\x81 \\";
  EXPECT_EQ(-1, _ismbslead(U(stray), U(stray)));
  EXPECT_EQ(-1, _ismbstrail(U(stray), U(stray + 1)));
  EXPECT_EQ(0, _ismbstrail(U(stray), U(stray + 2)));
  const char* last = "a\x81";
  EXPECT_EQ(-1, _ismbslead(U(last), U(last + 1)));
  EXPECT_EQ(-1, _ismbstrail(U(last), U(last + 2))); // the terminator
  EXPECT_EQ(0, _ismbslead(U(last), U(last + 2)));
}

TEST(MbcsTest, CharacterSearchSkipsTrailBytes) {
  const char* path = "C:\\表\\ソ";
  EXPECT_EQ(U(path + 5), _mbsrchr(U(path), '\\'));
  EXPECT_EQ(U(path + 2), _mbschr(U(path), '\\'));
  // Only trail bytes 0x5C: no backslash at all.
  EXPECT_EQ(nullptr, _mbsrchr(U("表ソ"), '\\'));
  EXPECT_EQ(nullptr, _mbschr(U("表ソ"), '\\'));
  // A double-byte character is found as a whole.
  const char* kanji = "a表b表";
  EXPECT_EQ(U(kanji + 1), _mbschr(U(kanji), 0x955C));
  EXPECT_EQ(U(kanji + 4), _mbsrchr(U(kanji), 0x955C));
  EXPECT_EQ(U(kanji + 6), _mbschr(U(kanji), 0)); // the terminator, as strchr
  unsigned char buffer[] = "x\\y";
  unsigned char* found = _mbsrchr(buffer, '\\');
  ASSERT_NE(nullptr, found);
  *found = '/';
  EXPECT_STREQ("x/y", reinterpret_cast<char*>(buffer));
}

TEST(MbcsTest, TruncationNeverSplitsACharacter) {
  std::string s = "ab表c";
  EXPECT_EQ(2u, MbcsFitLength(s, 3));
  EXPECT_EQ(4u, MbcsFitLength(s, 4));
  EXPECT_EQ(5u, MbcsFitLength(s, 100));
  EXPECT_EQ("ab", MbcsTruncate(s, 3));
  EXPECT_EQ("", MbcsTruncate("表", 1));

  char buffer[5];
  std::memset(buffer, 'X', sizeof(buffer));
  EXPECT_EQ(2u, MbcsCopy(buffer, 4, s)); // room for 3 bytes: 表 does not fit
  EXPECT_STREQ("ab", buffer);
  EXPECT_EQ('X', buffer[4]); // nothing written past dst_size
  EXPECT_EQ(0u, MbcsCopy(buffer, 1, s));
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(0u, MbcsCopy(buffer, 0, s));
  EXPECT_EQ(0u, MbcsCopy(nullptr, 10, s));
}

TEST(MbcsTest, EndingsAndFind) {
  EXPECT_TRUE(MbcsEndsWithDoubleByte("a表"));
  EXPECT_FALSE(MbcsEndsWithDoubleByte("表a"));
  EXPECT_FALSE(MbcsEndsWithDoubleByte(""));
  EXPECT_FALSE(MbcsEndsWithBackslash("C:\\表"));
  EXPECT_TRUE(MbcsEndsWithBackslash("C:\\表\\"));
  EXPECT_TRUE(MbcsEndsWithBackslash("\\"));
  EXPECT_FALSE(MbcsEndsWithBackslash(""));

  EXPECT_EQ(2u, MbcsFind("表\\ソ\\", '\\'));
  EXPECT_EQ(5u, MbcsFind("表\\ソ\\", '\\', 3));
  EXPECT_EQ(std::string::npos, MbcsFind("表ソ", '\\'));
  EXPECT_EQ(2u, MbcsCharLength("a表", 1));
  EXPECT_EQ(1u, MbcsCharLength("a\x95", 1)); // lead byte at the end
}

TEST(MbcsTest, CaseInsensitiveCompareLeavesTrailBytesAlone) {
  EXPECT_TRUE(MbcsEqualsIgnoreAsciiCase("Server\\表", "sERVER\\表"));
  EXPECT_FALSE(MbcsEqualsIgnoreAsciiCase("abc", "abd"));
  EXPECT_FALSE(MbcsEqualsIgnoreAsciiCase("abc", "ab"));
  // 88 61 and 88 41 are two different kanji, not "a" and "A".
  EXPECT_FALSE(MbcsEqualsIgnoreAsciiCase("\x88\x61", "\x88\x41"));
}

} // namespace
} // namespace stmtlink
