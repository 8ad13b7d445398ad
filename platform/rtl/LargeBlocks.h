#pragma once
// Memory for large arrays filled at once (a grid's hidden rows, a million entries): a block of
// 2 MiB or more is mapped on its own, aligned to 2 MiB and marked for huge pages, so filling
// it faults once per 2 MiB instead of once per 4 KiB page. Smaller blocks come from the heap.
//
//   std::vector<TEntry, TLargeBlockAllocator<TEntry>> entries;

#include <cstddef>
#include <new>

// A block of Bytes (aligned for any type), released by LargeBlockFree with the same size.
void* LargeBlockAlloc(std::size_t Bytes);
void LargeBlockFree(void* Block, std::size_t Bytes) noexcept;

template <typename T>
class TLargeBlockAllocator {
public:
  using value_type = T;
  TLargeBlockAllocator() noexcept = default;
  template <typename U>
  TLargeBlockAllocator(const TLargeBlockAllocator<U>&) noexcept {}
  T* allocate(std::size_t N) {
    static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned types are not kept here");
    if (N > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(LargeBlockAlloc(N * sizeof(T)));
  }
  void deallocate(T* P, std::size_t N) noexcept { LargeBlockFree(P, N * sizeof(T)); }
  template <typename U>
  bool operator==(const TLargeBlockAllocator<U>&) const noexcept { return true; }
};
