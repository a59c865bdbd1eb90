// Interned names and the start-up state of a run.
#include <cstring>

#include "prover/prover.hpp"

namespace velkor {

Prover::Prover() {
  name_equal = intern("EQUAL");
  trail_items.assign(1, nullptr);  // the bottom mark
  v_trail_items.assign(1, ValueUndo{nullptr, 0, 0});
  c_stack_cells.assign(1, nullptr);  // position 0 is the root, never a record
  eq_trail_literals.assign(1, nullptr);
  eq_trail_groups.assign(1, nullptr);
  foldup_root = arena.make<Literal>();
  eq_links = arena.make<ConnectionList>();
  index_bindings.assign(100, nullptr);
}

const Name* Prover::intern(std::string_view text) {
  auto found = names_.find(text);
  if (found != names_.end()) return found->second;
  char* chars = static_cast<char*>(arena.allocate(text.size() + 1));
  std::memcpy(chars, text.data(), text.size());
  Name* name = arena.make<Name>();
  name->text = std::string_view(chars, text.size());
  names_.emplace(name->text, name);
  return name;
}

}  // namespace velkor
