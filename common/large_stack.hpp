// Runs a piece of work on a thread with a very large stack.
//
// Both programs recurse as deep as their input demands: the tableau search
// one level per inference on a branch, the parser and the copier one level
// per nesting of a term, the model search one level per atom.  Rather than
// rewriting every recursion as a loop, the work runs on a thread whose stack
// is reserved (not committed) large enough for any input that fits in memory.
#pragma once

#include <cstddef>
#include <functional>

namespace common {

// Bytes of stack reserved for the worker thread.
inline constexpr std::size_t kLargeStackBytes = std::size_t{4} << 30;

// Runs `work` on a fresh thread with `stack_bytes` of stack and returns its
// result.  Falls back to the calling thread if such a thread cannot be made.
int run_with_large_stack(const std::function<int()>& work,
                         std::size_t stack_bytes = kLargeStackBytes);

}  // namespace common
