// Large blocks: whole aligned 2 MiB pages from 256 KiB on, ordinary blocks below, and no
// block at all for a size that cannot be rounded up.
#include "graphics/hugepages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace quarvel::test {
namespace {

TEST(HugePagesTest, LargeBlocksStartOnAHugePage) {
    for (std::size_t size : {std::size_t(256) << 10, std::size_t(3) << 20, std::size_t(4) << 20}) {
        LargeBlock block = AllocateLargeBlock(size);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % (std::size_t(2) << 20), 0u);
        std::memset(block.get(), 0xAB, size); // every byte asked for is there
        EXPECT_EQ(block[size - 1], 0xAB);
    }
    void* small = AllocateLarge(0);
    EXPECT_NE(small, nullptr);
    FreeLarge(small);
    EXPECT_EQ(AllocateLarge(std::size_t(-1) - 5), nullptr);
    EXPECT_THROW(AllocateLargeBlock(std::size_t(-1)), std::bad_alloc);
}

TEST(HugePagesTest, VectorsGrowAndCopy) {
    std::vector<uint8_t, LargeAllocator<uint8_t>> v(100, 7);
    v.resize(std::size_t(1) << 20, 9); // from an ordinary block to a huge page
    EXPECT_EQ(v[99], 7);
    EXPECT_EQ(v.back(), 9);
    auto copy = v;
    EXPECT_EQ(copy, v);
    EXPECT_THROW((std::vector<uint64_t, LargeAllocator<uint64_t>>(std::size_t(-1) / 4)),
                 std::exception);
}

} // namespace
} // namespace quarvel::test
