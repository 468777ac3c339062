#include <gtest/gtest.h>
#include <cstring>
// The program's narrow literals are CP932 bytes.
TEST(Text, LiteralsAreCp932) { EXPECT_EQ(0, std::memcmp("決算書", "\x8C\x88\x8E\x5A\x8F\x91", 7)); }
