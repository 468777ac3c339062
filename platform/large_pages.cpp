#include "platform/large_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace stmtlink {
namespace {

constexpr std::size_t kHugePage = kHugePageBytes;

std::size_t RoundUp(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

} // namespace

void* AllocateLargePages(std::size_t bytes) {
  if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
  const std::size_t size = RoundUp(bytes);
  // One huge page more than needed, so that an aligned region fits; the
  // ends outside it are given back at once.
  void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) ::munmap(mapped, aligned - start);
  const std::uintptr_t tail = aligned + size;
  const std::uintptr_t end = start + size + kHugePage;
  if (end > tail) ::munmap(reinterpret_cast<void*>(tail), end - tail);
  void* region = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only a wish: without huge pages the region is ordinary memory.
  ::madvise(region, size, MADV_HUGEPAGE);
#endif
  return region;
}

void FreeLargePages(void* region, std::size_t bytes) {
  if (region != nullptr && bytes != 0) ::munmap(region, RoundUp(bytes));
}

} // namespace stmtlink
