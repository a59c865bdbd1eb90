// The library calls and the search loop that ties the concerns together.
//
// Between calls the engine is at level 0 with everything propagated, so a
// clause can be added at any time: literals false at level 0 are dropped,
// a clause true there is not needed, a unit is assigned at once.  A solve
// decides its assumptions first, one level each, then searches as usual;
// an assumption found false ends it with the assumptions that caused that.
// Learned clauses never depend on assumptions (they are derived by
// resolution from the clauses alone), so they all serve the next solve.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {
namespace {

constexpr Lit kNoLit = 0xffffffffu;
constexpr std::int64_t kStopCheckConflicts = 256;
constexpr std::int64_t kStopCheckDecisions = 8192;
// Keeps 2 * variables + 1 and the arena's 31-bit offsets comfortably apart.
constexpr int kMaxVariable = (1 << 28) - 1;

// The engine literal of an external one, checked.
Lit internal_literal(int literal) {
  if (literal == 0 || literal < -kMaxVariable || literal > kMaxVariable)
    throw std::invalid_argument("cdcl: literal " + std::to_string(literal) +
                                " outside the variables 1 to " + std::to_string(kMaxVariable));
  return make_lit(static_cast<std::uint32_t>(std::abs(literal)) - 1, literal < 0);
}

}  // namespace

bool Internal::asked_to_stop() {
  return should_stop && should_stop();
}

// Adds the clause in clause_buffer at level 0; false when it makes the
// clause set inconsistent.
bool Internal::add_original() {
  std::sort(clause_buffer.begin(), clause_buffer.end());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < clause_buffer.size(); ++i) {
    Lit lit = clause_buffer[i];
    if (values[lit] > 0) return true;  // satisfied for good
    if (kept > 0 && clause_buffer[kept - 1] == lit) continue;
    // A literal and its negation are neighbours once sorted.
    if (kept > 0 && clause_buffer[kept - 1] == negate(lit)) return true;
    if (values[lit] < 0) continue;
    clause_buffer[kept++] = lit;
  }
  clause_buffer.resize(kept);
  if (kept == 0) return false;
  if (kept == 1) {
    assign(clause_buffer[0], kNoClause);
    return propagate() == kNoClause;
  }
  ClauseRef c = new_clause(clause_buffer, false, 0);
  irredundant.push_back(c);
  watch_clause(c);
  return true;
}

Answer Internal::search() {
  if (inconsistent) return Answer::kUnsatisfiable;
  for (;;) {
    ClauseRef conflict = propagate();
    if (conflict != kNoClause) {
      ++conflicts;
      if (decision_level() == 0) {
        inconsistent = true;
        return Answer::kUnsatisfiable;
      }
      std::int32_t jump_level = 0;
      std::uint32_t lbd = 0;
      analyze(conflict, jump_level, lbd);
      backtrack(jump_level);
      learn(lbd);
      decay_activities();
      if (conflict_limit >= 0 && conflicts >= conflict_limit) return Answer::kUnknown;
      if (conflicts % kStopCheckConflicts == 0 && asked_to_stop()) return Answer::kUnknown;
      continue;
    }
    if (restarting()) restart();
    if (simplifying()) simplify();
    if (reducing()) reduce();
    Lit next = kNoLit;
    while (static_cast<std::size_t>(decision_level()) < assumptions.size()) {
      Lit assumption = assumptions[static_cast<std::size_t>(decision_level())];
      if (values[assumption] > 0) {
        new_decision_level();  // holds already: an empty level keeps levels and assumptions aligned
      } else if (values[assumption] < 0) {
        analyze_final(assumption);
        return Answer::kUnsatisfiable;
      } else {
        next = assumption;
        break;
      }
    }
    if (next == kNoLit) {
      next = next_decision();
      if (next == kNoLit) return Answer::kSatisfiable;
      if (++decisions % kStopCheckDecisions == 0 && asked_to_stop()) return Answer::kUnknown;
    }
    new_decision_level();
    assign(next, kNoClause);
  }
}

Solver::Solver() : internal_(std::make_unique<Internal>()) {
  internal_->update_restart_limit();
}

Solver::~Solver() = default;

int Solver::new_variable() {
  Internal& s = *internal_;
  if (s.nr_vars() >= static_cast<std::uint32_t>(kMaxVariable))
    throw std::length_error("cdcl: too many variables");
  s.enlarge(s.nr_vars() + 1);
  return static_cast<int>(s.nr_vars());
}

int Solver::nr_variables() const {
  return static_cast<int>(internal_->nr_vars());
}

void Solver::add_clause(std::span<const int> literals) {
  Internal& s = *internal_;
  s.clause_buffer.clear();
  std::uint32_t highest = 0;
  for (int literal : literals) {
    s.clause_buffer.push_back(internal_literal(literal));
    highest = std::max(highest, var_of(s.clause_buffer.back()) + 1);
  }
  s.enlarge(highest);
  if (s.inconsistent) return;
  if (!s.add_original()) s.inconsistent = true;
}

Answer Solver::solve(std::span<const int> assumptions, std::int64_t conflict_budget) {
  Internal& s = *internal_;
  s.failed.clear();
  s.assumptions.clear();
  std::uint32_t highest = 0;
  for (int literal : assumptions) {
    s.assumptions.push_back(internal_literal(literal));
    highest = std::max(highest, var_of(s.assumptions.back()) + 1);
  }
  s.enlarge(highest);
  s.conflict_limit = conflict_budget < 0 ? -1 : s.conflicts + conflict_budget;
  Answer answer = s.search();
  if (answer == Answer::kSatisfiable) {
    for (std::uint32_t v = 0; v < s.nr_vars(); ++v)
      s.model[v] = s.values[make_lit(v, false)] > 0 ? 1 : -1;
  }
  s.backtrack(0);
  s.assumptions.clear();
  return answer;
}

bool Solver::value(int variable) const {
  const Internal& s = *internal_;
  if (variable < 1 || static_cast<std::size_t>(variable) > s.model.size()) return false;
  return s.model[static_cast<std::size_t>(variable) - 1] > 0;
}

const std::vector<int>& Solver::failed_assumptions() const {
  return internal_->failed;
}

void Solver::set_should_stop(std::function<bool()> should_stop) {
  internal_->should_stop = std::move(should_stop);
}

std::int64_t Solver::conflicts() const {
  return internal_->conflicts;
}
std::int64_t Solver::decisions() const {
  return internal_->decisions;
}
std::int64_t Solver::propagations() const {
  return internal_->propagations;
}

}  // namespace modelgen::cdcl
