// Conflict analysis: from a clause that is false under the trail to a
// learned clause that is false but becomes unit after backtracking.
//
// Resolving the conflict with the reasons of its literals at the current
// level, latest first, until one literal of that level is left (the first
// unique implication point) gives the shortest clause that still asserts at
// the conflict level.  A literal of it is then redundant when its reason's
// other literals are in the clause or redundant themselves; removing those
// often shortens the clause by a third.  The search for that proof is
// iterative, so implication chains of any length never deepen the stack,
// and it only descends into levels that occur in the clause (a 32-bit
// signature of levels rules out the rest cheaply).
//
// The LBD of the clause (the number of decision levels among its literals)
// measures how well it connects decisions; reduce keeps clauses of low LBD.
#include <utility>

#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {
namespace {

constexpr Lit kNoLit = 0xffffffffu;

std::uint32_t level_signature(std::int32_t level) {
  return 1u << (static_cast<std::uint32_t>(level) & 31u);
}

}  // namespace

std::uint32_t Internal::compute_lbd(const Lit* literals, std::uint32_t size) {
  ++stamp;
  std::uint32_t count = 0;
  for (std::uint32_t k = 0; k < size; ++k) {
    auto level = static_cast<std::size_t>(level_of(literals[k]));
    if (level_stamps[level] != stamp) {
      level_stamps[level] = stamp;
      ++count;
    }
  }
  return count;
}

void Internal::analyze(ClauseRef conflict, std::int32_t& jump_level, std::uint32_t& lbd) {
  clause_buffer.clear();
  clause_buffer.push_back(kNoLit);  // the asserting literal goes here
  to_clear.clear();
  std::int32_t open = 0;  // marked literals of the conflict level not yet resolved
  Lit implied = kNoLit;
  std::size_t index = trail.size();
  ClauseRef reason = conflict;
  const std::int32_t level = decision_level();
  for (;;) {
    const Lit* lits = clause_literals(reason);
    const std::uint32_t size = clause_size(reason);
    std::uint32_t& flags = clause_flags(reason);
    if (flags & kLearnedFlag) {
      // A clause's LBD can only be measured again while all its literals
      // are assigned, as now; fewer levels than when it was learned mean
      // it has become more useful.
      std::uint32_t lbd_now = flags >> kLbdShift;
      if (lbd_now > 2) {
        std::uint32_t measured = compute_lbd(lits, size);
        if (measured < lbd_now) flags = (flags & ((1u << kLbdShift) - 1)) | (measured << kLbdShift);
      }
      std::uint32_t used = (flags >> kLbdShift) <= 6 ? 2u : 1u;
      flags = (flags & ~kUsedMask) | (used << kUsedShift);
    }
    for (std::uint32_t k = 0; k < size; ++k) {
      Lit lit = lits[k];
      std::uint32_t var = var_of(lit);
      if (lit == implied || seen[var] || var_data[var].level == 0) continue;
      seen[var] = 1;
      bump_variable(var);
      if (var_data[var].level == level) {
        ++open;
      } else {
        clause_buffer.push_back(lit);
        to_clear.push_back(var);
      }
    }
    while (!seen[var_of(trail[--index])]) {
    }
    implied = trail[index];
    seen[var_of(implied)] = 0;
    if (--open == 0) break;
    reason = var_data[var_of(implied)].reason;
  }
  clause_buffer[0] = negate(implied);

  // Minimisation: drop the literals whose reasons the rest of the clause implies.
  std::uint32_t levels = 0;
  for (std::size_t i = 1; i < clause_buffer.size(); ++i)
    levels |= level_signature(level_of(clause_buffer[i]));
  std::size_t kept = 1;
  for (std::size_t i = 1; i < clause_buffer.size(); ++i) {
    Lit lit = clause_buffer[i];
    if (var_data[var_of(lit)].reason == kNoClause || !literal_redundant(lit, levels))
      clause_buffer[kept++] = lit;
  }
  clause_buffer.resize(kept);
  for (std::uint32_t var : to_clear) seen[var] = 0;

  // The literal of the highest level below the conflict becomes the second
  // watch, so the clause is unit exactly at the level jumped to.
  jump_level = 0;
  if (clause_buffer.size() > 1) {
    std::size_t highest = 1;
    for (std::size_t i = 2; i < clause_buffer.size(); ++i)
      if (level_of(clause_buffer[i]) > level_of(clause_buffer[highest])) highest = i;
    std::swap(clause_buffer[1], clause_buffer[highest]);
    jump_level = level_of(clause_buffer[1]);
  }
  lbd = compute_lbd(clause_buffer.data(), static_cast<std::uint32_t>(clause_buffer.size()));
}

// True when the other literals of the reason of `lit`, followed back
// through their own reasons, end in literals of the learned clause (marked
// seen) or of level 0.  Literals proved redundant stay marked, so later
// queries reuse the proof; a failed query unmarks what it marked.
bool Internal::literal_redundant(Lit lit, std::uint32_t levels) {
  minimize_stack.clear();
  minimize_stack.push_back(lit);
  const std::size_t marked_before = to_clear.size();
  while (!minimize_stack.empty()) {
    Lit current = minimize_stack.back();
    minimize_stack.pop_back();
    ClauseRef reason = var_data[var_of(current)].reason;
    const Lit* lits = clause_literals(reason);
    const std::uint32_t size = clause_size(reason);
    for (std::uint32_t k = 0; k < size; ++k) {
      Lit other = lits[k];
      std::uint32_t var = var_of(other);
      if (var == var_of(current) || seen[var] || var_data[var].level == 0) continue;
      if (var_data[var].reason != kNoClause && (level_signature(var_data[var].level) & levels)) {
        seen[var] = 1;
        minimize_stack.push_back(other);
        to_clear.push_back(var);
        continue;
      }
      for (std::size_t i = marked_before; i < to_clear.size(); ++i) seen[to_clear[i]] = 0;
      to_clear.resize(marked_before);
      return false;
    }
  }
  return true;
}

// The assumption `failed_lit` is false: collects the assumptions that imply
// its negation, as the negated literals of a clause the clauses entail.
void Internal::analyze_final(Lit failed_lit) {
  failed.clear();
  auto external = [](Lit lit) {
    int var = static_cast<int>(var_of(lit)) + 1;
    return (lit & 1u) ? -var : var;
  };
  failed.push_back(external(negate(failed_lit)));
  if (level_of(failed_lit) == 0) return;
  seen[var_of(failed_lit)] = 1;
  for (std::size_t i = trail.size(); i-- > control[0];) {
    std::uint32_t var = var_of(trail[i]);
    if (!seen[var]) continue;
    seen[var] = 0;
    ClauseRef reason = var_data[var].reason;
    if (reason == kNoClause) {
      // Below the assumption levels nothing is decided, so this is an
      // assumption (possibly the negation of `failed_lit` itself).
      failed.push_back(external(negate(trail[i])));
      continue;
    }
    const Lit* lits = clause_literals(reason);
    for (std::uint32_t k = 0; k < clause_size(reason); ++k)
      if (var_of(lits[k]) != var && level_of(lits[k]) > 0) seen[var_of(lits[k])] = 1;
  }
}

void Internal::learn(std::uint32_t lbd) {
  if (clause_buffer.size() == 1) {
    assign(clause_buffer[0], kNoClause);
    return;
  }
  ClauseRef c = new_clause(clause_buffer, true, lbd);
  learned.push_back(c);
  watch_clause(c);
  assign(clause_buffer[0], c);
}

}  // namespace modelgen::cdcl
