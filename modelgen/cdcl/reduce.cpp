// Deleting learned clauses, and removing what level 0 settles.
//
// Learned clauses slow propagation and most are never used again.  At
// growing intervals the learned clauses are ranked: those of LBD 2 or less
// (they join two decision levels, the best predictor of later use) stay for
// good, those used in a recent conflict analysis stay until they go unused,
// and of the rest the half with the highest LBD (then the longest) goes.
// Clauses that are reasons on the trail are never deleted.
//
// Variables fixed at level 0 stay fixed for every later solve, so clauses
// they satisfy are deleted and their false literals removed, which matters
// when a caller adds units between solves.
#include <algorithm>

#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {
namespace {

constexpr std::int64_t kReduceIncrement = 100;
constexpr std::uint32_t kKeptLbd = 2;
constexpr std::uint32_t kUsedKeptLbd = 6;

}  // namespace

bool Internal::reducing() const {
  return conflicts >= reduce_limit;
}

bool Internal::locked(ClauseRef c) {
  const Lit* lits = clause_literals(c);
  for (int k = 0; k < 2; ++k) {
    Lit lit = lits[k];
    if (values[lit] > 0 && var_data[var_of(lit)].reason == c) return true;
  }
  return false;
}

void Internal::reduce() {
  ++reductions;
  std::vector<ClauseRef> candidates;
  for (ClauseRef c : learned) {
    std::uint32_t& flags = clause_flags(c);
    if (flags & kGarbageFlag) continue;
    std::uint32_t used = (flags & kUsedMask) >> kUsedShift;
    if (used > 0) flags -= 1u << kUsedShift;
    if (clause_lbd(c) <= kKeptLbd || (used > 0 && clause_lbd(c) <= kUsedKeptLbd) || locked(c))
      continue;
    candidates.push_back(c);
  }
  std::sort(candidates.begin(), candidates.end(), [&](ClauseRef a, ClauseRef b) {
    if (clause_lbd(a) != clause_lbd(b)) return clause_lbd(a) > clause_lbd(b);
    return clause_size(a) > clause_size(b);
  });
  for (std::size_t i = 0; i < candidates.size() / 2; ++i) mark_garbage(candidates[i]);
  collect_garbage();
  reduce_interval += kReduceIncrement;
  reduce_limit = conflicts + reduce_interval;
}

// Each simplify costs a pass over the arena, so it waits until new units
// are fixed and about as many literals have been propagated since the last.
bool Internal::simplifying() const {
  return decision_level() == 0 && trail.size() > units_at_simplify &&
         propagations >= simplify_limit;
}

// At level 0 after complete propagation: no watched literal is false
// unless the clause is satisfied, so removing false literals from the
// other positions keeps the watches; level-0 literals never take part in
// conflict analysis, so their reasons can go.
void Internal::simplify() {
  units_at_simplify = trail.size();
  for (Lit lit : trail) var_data[var_of(lit)].reason = kNoClause;
  auto clean = [&](const std::vector<ClauseRef>& list) {
    for (ClauseRef c : list) {
      if (clause_flags(c) & kGarbageFlag) continue;
      Lit* lits = clause_literals(c);
      std::uint32_t size = clause_size(c);
      bool satisfied = false;
      for (std::uint32_t k = 0; k < size && !satisfied; ++k) satisfied = values[lits[k]] > 0;
      if (satisfied) {
        mark_garbage(c);
        continue;
      }
      std::uint32_t kept = 2;
      for (std::uint32_t k = 2; k < size; ++k)
        if (values[lits[k]] == 0) lits[kept++] = lits[k];
      wasted_words += size - kept;
      arena[c] = kept;
    }
  };
  clean(irredundant);
  clean(learned);
  collect_garbage();
  simplify_limit = propagations + static_cast<std::int64_t>(arena.size() / 4);
}

}  // namespace modelgen::cdcl
