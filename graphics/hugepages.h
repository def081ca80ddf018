// Memory for pictures of megabytes: whole, aligned huge pages, asked for one block at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace quarvel {

// A block of `size` bytes; from 256 KiB on it is made of whole 2 MiB pages with the advice
// to back it with huge pages (advice only: without them all still works). Drawing a whole
// map touches a 3.5 MiB picture and its chip sheets at random: with huge pages that is a
// few page faults instead of a thousand, and far fewer TLB misses. Returns nullptr when
// there is no memory.
void* AllocateLarge(std::size_t size) noexcept;
void FreeLarge(void* block) noexcept;

// An uncleared block of bytes from AllocateLarge; throws std::bad_alloc.
struct LargeFree {
    void operator()(uint8_t* p) const noexcept { FreeLarge(p); }
};
using LargeBlock = std::unique_ptr<uint8_t[], LargeFree>;
LargeBlock AllocateLargeBlock(std::size_t size);

// The same as an allocator for std::vector.
template <class T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
        if (void* p = AllocateLarge(n * sizeof(T))) return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t) noexcept { FreeLarge(p); }
    template <class U> bool operator==(const LargeAllocator<U>&) const noexcept { return true; }
    template <class U> bool operator!=(const LargeAllocator<U>&) const noexcept { return false; }
};

} // namespace quarvel
