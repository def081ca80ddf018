// Large blocks on huge pages through posix_memalign and madvise.
#include "graphics/hugepages.h"

#include <cstdlib>
#include <sys/mman.h>

namespace quarvel {

namespace {
constexpr std::size_t HugePage = std::size_t(2) << 20;
constexpr std::size_t LargeFrom = std::size_t(256) << 10;
} // namespace

void* AllocateLarge(std::size_t size) noexcept {
    if (size < LargeFrom) return std::malloc(size ? size : 1);
    if (size > std::size_t(-1) - HugePage) return nullptr;
    const std::size_t rounded = (size + HugePage - 1) & ~(HugePage - 1);
    void* p = nullptr;
    if (posix_memalign(&p, HugePage, rounded) != 0) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return p;
}

void FreeLarge(void* block) noexcept {
    std::free(block);
}

LargeBlock AllocateLargeBlock(std::size_t size) {
    LargeBlock block(static_cast<uint8_t*>(AllocateLarge(size)));
    if (!block) throw std::bad_alloc();
    return block;
}

} // namespace quarvel
