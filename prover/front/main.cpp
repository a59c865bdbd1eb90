// Entry point of velkor: the whole run happens on a thread with a large
// stack, since the search recurses once per step of a tableau branch.
//
// Every operator new is counted, so that --memory-limit holds for all the
// memory of a run (the search's vectors as well as its arena).  The other
// forms of new and delete of the standard library call these two.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "common/large_stack.hpp"
#include "common/memory_out.hpp"
#include "prover/driver/driver.hpp"

void* operator new(std::size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) common::out_of_memory();
  if (!common::count_allocation(malloc_usable_size(block))) {
    std::free(block);
    common::out_of_memory();
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  common::count_release(malloc_usable_size(block));
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  std::vector<std::string> words(argv, argv + argc);
  int status = common::run_with_large_stack([&] { return velkor::run_velkor(words); });
  std::fflush(stdout);
  return status;
}
