// Large blocks mapped on their own and marked for huge pages.

#include "platform/rtl/LargeBlocks.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

bool Large(std::size_t Bytes) { return Bytes >= HugePage; }

std::size_t Rounded(std::size_t Bytes) { return (Bytes + HugePage - 1) & ~(HugePage - 1); }

}  // namespace

void* LargeBlockAlloc(std::size_t Bytes) {
  if (!Large(Bytes)) {
    void* p = std::malloc(Bytes == 0 ? 1 : Bytes);
    if (p == nullptr) throw std::bad_alloc();
    return p;
  }
  const std::size_t size = Rounded(Bytes);
  // One huge page more is mapped, so that an aligned start lies inside; the rest goes back.
  void* mapped = mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::size_t tail = start + size + HugePage - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // only advice: refused is fine
#endif
  return reinterpret_cast<void*>(aligned);
}

void LargeBlockFree(void* Block, std::size_t Bytes) noexcept {
  if (Block == nullptr) return;
  if (!Large(Bytes)) std::free(Block);
  else munmap(Block, Rounded(Bytes));
}
