// The binding trail and the value trail.
//
// Both are stacks that only ever grow to the deepest point a run reaches and
// are reused afterwards, so the search allocates only when it goes deeper
// than ever before.  A mark (a null item, or an undo record without object)
// separates the segments of the open steps of the current branch.
#include <cstring>

#include "prover/prover.hpp"

namespace velkor {

void Prover::push_trail(Term* item) {
  if (++trail_top == trail_items.size())
    trail_items.push_back(item);
  else
    trail_items[trail_top] = item;
}

bool Prover::unbind_vars() {
  for (;;) {
    Term* item = trail_items[trail_top--];
    if (item == nullptr) return false;
    item->binding = nullptr;
  }
}

void Prover::push_v_undo(const ValueUndo& undo) {
  if (++v_trail_top == v_trail_items.size())
    v_trail_items.push_back(undo);
  else
    v_trail_items[v_trail_top] = undo;
}

void Prover::undo_v_trail() {
  for (;;) {
    const ValueUndo& u = v_trail_items[v_trail_top--];
    if (u.object == nullptr) return;
    std::memcpy(u.object, &u.old_value, u.size);
  }
}

}  // namespace velkor
