// The binding trail and the value trail.
//
// Both are stacks that only ever grow to the deepest point a run reaches and
// are reused afterwards, so the search allocates only when it goes deeper
// than ever before.  A mark (a null item, or an undo record without object)
// separates the segments of the open steps of the current branch.
#include <cstring>

#include "prover/prover.hpp"

namespace velkor {

// Out of line, so that the pushes stay small enough to be inlined.
__attribute__((noinline)) void Prover::grow_trail() {
  trail_items.push_back(nullptr);
}

__attribute__((noinline)) void Prover::grow_v_trail() {
  v_trail_items.emplace_back();
}

bool Prover::unbind_vars() {
  for (;;) {
    Term* item = trail_items[trail_top--];
    if (item == nullptr) return false;
    item->binding = nullptr;
  }
}

void Prover::undo_v_trail() {
  for (;;) {
    const ValueUndo& u = v_trail_items[v_trail_top--];
    if (u.object == nullptr) return;
    // Fixed sizes become plain stores; a copy of variable length would not.
    switch (u.size) {
      case 8:
        std::memcpy(u.object, &u.old_value, 8);
        break;
      case 1:
        std::memcpy(u.object, &u.old_value, 1);
        break;
      default:
        std::memcpy(u.object, &u.old_value, u.size);
        break;
    }
  }
}

}  // namespace velkor
