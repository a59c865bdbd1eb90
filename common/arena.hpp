// A bump allocator for records that live until the process ends.
//
// Reasoning programs create many small records (terms, literals, copies, trail
// nodes) and never free them one by one: everything is either permanent or
// reused in place.  So memory comes from large zeroed blocks handed out by
// bumping a pointer; nothing is ever returned before the process ends.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "common/memory_out.hpp"

namespace common {

class Arena {
 public:
  Arena() = default;
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;
  ~Arena() {
    for (void* block : blocks_) std::free(block);
    count_release(counted_);
  }

  // Zeroed, suitably aligned storage for `bytes` bytes.
  void* allocate(std::size_t bytes) {
    bytes = (bytes + kAlign - 1) & ~(kAlign - 1);
    if (bytes > static_cast<std::size_t>(end_ - next_)) refill(bytes);
    void* result = next_;
    next_ += bytes;
    handed_out_ += bytes;
    return result;
  }

  // Bytes handed out so far.
  std::size_t handed_out() const { return handed_out_; }

  // A new T built from `args` in arena storage.  T must be trivially
  // destructible: arena records are never destroyed.
  template <typename T, typename... Args>
  T* make(Args&&... args) {
    static_assert(std::is_trivially_destructible_v<T>);
    return new (allocate(sizeof(T))) T{std::forward<Args>(args)...};
  }

  // An array of n value-initialised (zeroed) T.
  template <typename T>
  T* array(std::size_t n) {
    static_assert(std::is_trivially_destructible_v<T>);
    T* p = static_cast<T*>(allocate(sizeof(T) * (n == 0 ? 1 : n)));
    for (std::size_t i = 0; i < n; ++i) new (p + i) T();
    return p;
  }

 private:
  static constexpr std::size_t kAlign = alignof(std::max_align_t);
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

  void refill(std::size_t bytes) {
    std::size_t size = bytes > kBlockBytes ? bytes : kBlockBytes;
    if (!count_allocation(size)) out_of_memory();
    counted_ += size;
    void* block = std::calloc(1, size);
    if (block == nullptr) out_of_memory();
    blocks_.push_back(block);
    next_ = static_cast<char*>(block);
    end_ = next_ + size;
  }

  std::vector<void*> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  std::size_t handed_out_ = 0;
  std::size_t counted_ = 0;  // bytes of the blocks, as counted towards a memory limit
};

}  // namespace common
