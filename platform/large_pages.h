// Memory for the few very large arrays of a run over big books (the
// journal's lines and their sort keys, the general ledger's lines): taken
// from the kernel in whole 2 MiB-aligned regions that ask for transparent
// huge pages (madvise). A run touches a few hundred megabytes of such
// arrays once each; on the virtual machines this runs on, the first touch
// of every 4 KiB page is a fault costing some microseconds, and a million-
// line ledger made about 90,000 of them. With huge pages a region is a
// fault per 2 MiB.
//
// Where the kernel gives no huge pages (switched off, or none free), the
// region is ordinary memory and everything works as before. Smaller
// requests go to the usual allocator.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace stmtlink {

// The size of a huge page, and the regions' unit.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Requests of at least this many bytes get a region of their own.
inline constexpr std::size_t kLargePagesFrom = kHugePageBytes / 2;

// A region of at least `bytes` (rounded up to 2 MiB), zero-filled; null
// when the kernel refuses it.
void* AllocateLargePages(std::size_t bytes);
// Gives back a region of AllocateLargePages with the same `bytes`.
void FreeLargePages(void* region, std::size_t bytes);

template <typename T>
struct LargePageAllocator {
  using value_type = T;

  LargePageAllocator() = default;
  template <typename U>
  LargePageAllocator(const LargePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargePagesFrom) return std::allocator<T>().allocate(n);
    void* region = AllocateLargePages(bytes);
    if (region == nullptr) throw std::bad_alloc();
    return static_cast<T*>(region);
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargePagesFrom) std::allocator<T>().deallocate(p, n);
    else FreeLargePages(p, bytes);
  }

  template <typename U>
  friend bool operator==(const LargePageAllocator&, const LargePageAllocator<U>&) {
    return true;
  }
};

template <typename T>
using LargeVector = std::vector<T, LargePageAllocator<T>>;

} // namespace stmtlink
