#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/rtl/LargeBlocks.h"

namespace {

TEST(LargeBlocks, SmallAndLargeBlocksHoldWhatIsWrittenAndGrowWithTheirContents) {
  // From a few bytes through the 2 MiB border to several huge pages, growing one vector
  // element by element (each growth copies into a new block and frees the old one).
  std::vector<uint64_t, TLargeBlockAllocator<uint64_t>> values;
  const size_t n = (std::size_t(5) << 20) / sizeof(uint64_t) + 3;
  for (size_t i = 0; i < n; ++i) values.push_back(i * 2654435761u);
  for (size_t i = 0; i < n; i += 4093) ASSERT_EQ(values[i], i * 2654435761u) << i;
  EXPECT_EQ(values.back(), (n - 1) * 2654435761u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % alignof(std::max_align_t), 0u);
  values.shrink_to_fit();
  values.resize(10);
  values.shrink_to_fit();
  EXPECT_EQ(values[9], uint64_t{9} * 2654435761u);
}

}  // namespace
