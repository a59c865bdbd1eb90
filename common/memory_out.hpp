// Running out of memory: an allocation that fails (operator new, an arena
// block) or a stack that cannot grow any further.
//
// A program that installs a report with `on_memory_out` ends at once when
// that happens, from wherever it stands: the report writes its last words
// (it must not allocate), standard output is flushed, and the process exits
// with the given status.  Unwinding a search that is hundreds of thousands
// of calls deep would take long and may itself need memory.  Without a
// report, `out_of_memory` throws std::bad_alloc as usual.
#pragma once

#include <cstddef>

namespace common {

using MemoryOutReport = void (*)();

void on_memory_out(MemoryOutReport report, int status);

[[noreturn]] void out_of_memory();

// The lowest stack address the current thread may reach before it counts
// as out of memory; null when unknown (then the stack is not watched).
extern thread_local const char* stack_floor;

// Called by recursions that go as deep as their input: the search, the
// readers of nested terms.
inline void check_stack() {
  if (static_cast<const char*>(__builtin_frame_address(0)) < stack_floor) out_of_memory();
}

// A limit on the heap memory in use, in bytes (0: none).  Allocations that
// are counted (arena blocks; in velkor every operator new) and would go past
// it count as running out of memory.
void set_memory_limit(std::size_t bytes);
// Counts `bytes` more in use; false (and not counted) past the limit, where
// the caller runs out of memory once it has given back what it holds.
[[nodiscard]] bool count_allocation(std::size_t bytes);
void count_release(std::size_t bytes);
// The bytes counted as in use.
std::size_t memory_counted();

// Sets `stack_floor` for the calling thread, leaving `margin` bytes of its
// stack for the work done between two checks.
void watch_stack(unsigned long margin);

}  // namespace common
