// Large arrays from whole regions: aligned, zero-filled, kept when grown.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

#include "platform/large_pages.h"

namespace stmtlink {
namespace {

TEST(LargePagesTest, RegionsAreAlignedZeroedAndWritableToTheirEnd) {
  for (std::size_t bytes : {std::size_t{1}, kHugePageBytes - 1, kHugePageBytes, 3 * kHugePageBytes + 5}) {
    auto* region = static_cast<unsigned char*>(AllocateLargePages(bytes));
    ASSERT_NE(nullptr, region) << bytes;
    EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(region) % kHugePageBytes);
    EXPECT_EQ(0, region[0]);
    EXPECT_EQ(0, region[bytes - 1]);
    region[0] = region[bytes - 1] = 0xAB;
    FreeLargePages(region, bytes);
  }
  EXPECT_EQ(nullptr, AllocateLargePages(0));
}

TEST(LargePagesTest, AVectorGrowingPastTheThresholdKeepsItsValues) {
  LargeVector<std::uint32_t> values;
  const std::size_t count = 3 * kHugePageBytes / sizeof(std::uint32_t) + 17;
  for (std::size_t i = 0; i < count; ++i) values.push_back(static_cast<std::uint32_t>(i * 7));
  for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(i * 7, values[i]) << i;
  values.resize(10);
  values.shrink_to_fit(); // back below the threshold: the usual allocator
  EXPECT_EQ(63u, std::accumulate(values.begin(), values.end(), 0u) / 5);
}

} // namespace
} // namespace stmtlink
