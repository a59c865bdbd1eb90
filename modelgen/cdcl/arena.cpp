// Clause storage: one vector of 32-bit words holds every clause, header and
// literals, and a clause is the offset of its header.  Deleting a clause
// only marks it; the words come back when the arena is compacted, which
// copies the live clauses in list order, moves the reasons on the trail to
// the new offsets and rebuilds every watch list from the first two literals
// of each clause, which are the watched ones by invariant.
#include <new>

#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {

// Watch entries keep 31 bits of a clause offset.
static constexpr std::uint64_t kArenaLimit = std::uint64_t{1} << 31;

void Internal::enlarge(std::uint32_t variables) {
  std::uint32_t old = nr_vars();
  if (variables <= old) return;
  values.resize(2 * std::size_t{variables}, 0);
  watches.resize(2 * std::size_t{variables});
  var_data.resize(variables, VarData{0, kNoClause});
  phases.resize(variables, -1);
  activity.resize(variables, 0.0);
  seen.resize(variables, 0);
  model.resize(variables, -1);
  queue.positions.resize(variables, -1);
  if (level_stamps.size() < std::size_t{variables} + 1) level_stamps.resize(variables + 1, 0);
  for (std::uint32_t v = old; v < variables; ++v) heap_insert(v);
}

ClauseRef Internal::new_clause(const std::vector<Lit>& literals, bool is_learned,
                               std::uint32_t lbd) {
  std::uint64_t offset = arena.size();
  if (offset + kHeaderWords + literals.size() >= kArenaLimit) throw std::bad_alloc();
  if (lbd > kMaxLbd) lbd = kMaxLbd;
  arena.push_back(static_cast<std::uint32_t>(literals.size()));
  arena.push_back((lbd << kLbdShift) | (is_learned ? kLearnedFlag : 0u));
  arena.insert(arena.end(), literals.begin(), literals.end());
  return static_cast<ClauseRef>(offset);
}

void Internal::watch_clause(ClauseRef c) {
  const Lit* lits = clause_literals(c);
  std::uint32_t binary = clause_size(c) == 2 ? 1u : 0u;
  watches[lits[0]].push_back(Watch{lits[1], binary, c});
  watches[lits[1]].push_back(Watch{lits[0], binary, c});
}

void Internal::mark_garbage(ClauseRef c) {
  clause_flags(c) |= kGarbageFlag;
  wasted_words += kHeaderWords + clause_size(c);
}

void Internal::collect_garbage() {
  std::vector<std::uint32_t> compacted;
  compacted.reserve(arena.size() - wasted_words);
  // Copies the live clauses of `list`, leaving each one's new offset in
  // its old size word so that reasons can follow.
  auto move_list = [&](std::vector<ClauseRef>& list) {
    std::size_t kept = 0;
    for (ClauseRef c : list) {
      if (clause_flags(c) & kGarbageFlag) continue;
      auto moved = static_cast<ClauseRef>(compacted.size());
      std::uint32_t words = kHeaderWords + clause_size(c);
      compacted.insert(compacted.end(), arena.begin() + c, arena.begin() + c + words);
      arena[c] = moved;
      list[kept++] = moved;
    }
    list.resize(kept);
  };
  // Reasons on the trail are never garbage (see locked), so they all move.
  move_list(irredundant);
  move_list(learned);
  for (Lit lit : trail) {
    VarData& data = var_data[var_of(lit)];
    if (data.reason != kNoClause) data.reason = arena[data.reason];
  }
  arena.swap(compacted);
  wasted_words = 0;
  for (std::vector<Watch>& list : watches) list.clear();
  for (ClauseRef c : irredundant) watch_clause(c);
  for (ClauseRef c : learned) watch_clause(c);
}

}  // namespace modelgen::cdcl
