// Decision levels and backtracking.  A level begins with a decision (or an
// assumption) and holds what it implies; undoing levels keeps each undone
// variable's value as its saved phase, so the next decision on it takes the
// same value again and the search returns quickly to the region it left.
#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {

void Internal::new_decision_level() {
  control.push_back(static_cast<std::uint32_t>(trail.size()));
  // Assumptions that already hold get a level of their own, so levels can
  // outnumber variables.
  if (level_stamps.size() <= control.size()) level_stamps.resize(2 * control.size() + 1, 0);
}

void Internal::backtrack(std::int32_t level) {
  if (decision_level() <= level) return;
  std::size_t first = control[static_cast<std::size_t>(level)];
  for (std::size_t i = trail.size(); i-- > first;) {
    Lit lit = trail[i];
    std::uint32_t var = var_of(lit);
    phases[var] = (lit & 1u) ? -1 : 1;
    values[lit] = 0;
    values[negate(lit)] = 0;
    if (queue.positions[var] < 0) heap_insert(var);
  }
  trail.resize(first);
  propagated = first;
  control.resize(static_cast<std::size_t>(level));
}

}  // namespace modelgen::cdcl
