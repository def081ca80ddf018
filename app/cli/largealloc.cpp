// quarvel-cli: blocks of 256 KiB and more (chip sheets, chip files, composed pictures) are
// placed on huge pages, which spares the render command over a thousand page faults.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

// Sanitizer builds keep their own allocator, with its checks.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
constexpr std::size_t LargeBlock = std::size_t(256) << 10;

void* Allocate(std::size_t size) {
    if (size < LargeBlock) return std::malloc(size ? size : 1);
    // Whole, aligned huge pages, so the kernel can back every part of the block with them.
    const std::size_t rounded = (size + HugePage - 1) & ~(HugePage - 1);
    void* p = nullptr;
    if (posix_memalign(&p, HugePage, rounded) != 0) return nullptr;
    madvise(p, rounded, MADV_HUGEPAGE); // advice only: without huge pages all still works
    return p;
}

} // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

#endif
