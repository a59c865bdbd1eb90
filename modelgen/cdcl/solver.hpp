// The conflict-driven engine as a library: the few calls through which
// quorvel --cdcl and velkor's model search and ground decision use it.
//
// Variables are numbered from 1; a literal is +v or -v, as in DIMACS.
// Clauses may be added between calls to `solve`, and each call may assume
// literals that hold for that call only, so that one engine serves a whole
// series of related questions (domain sizes 1, 2, 3, ...; a ground set that
// grows by the instances a candidate model violates).
//
// Running out of memory throws std::bad_alloc out of any call; the engine
// is then in no state to be used again and should be destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace modelgen::cdcl {

enum class Answer : std::uint8_t { kSatisfiable, kUnsatisfiable, kUnknown };

struct Internal;  // the engine's whole state, see internal.hpp

class Solver {
 public:
  Solver();
  ~Solver();
  Solver(const Solver&) = delete;
  Solver& operator=(const Solver&) = delete;

  // A fresh variable, numbered one above the last.
  int new_variable();
  int nr_variables() const;

  // Adds a clause over existing variables (new ones are made as needed).
  // Duplicate literals and tautologies are fine; the empty clause makes
  // every later `solve` answer kUnsatisfiable.  A literal 0 or beyond
  // 2^28 - 1 throws std::invalid_argument (as it does as an assumption).
  void add_clause(std::span<const int> literals);

  // Searches for a model of the clauses in which every assumption holds.
  // kUnknown when `should_stop` said so (it is asked every few hundred
  // conflicts) or when `conflict_budget` conflicts (if not negative) were
  // used up.
  Answer solve(std::span<const int> assumptions = {}, std::int64_t conflict_budget = -1);

  // After kSatisfiable: the value of a variable in the model found (false
  // for variables made after that solve).
  bool value(int variable) const;

  // After kUnsatisfiable under assumptions: a subset of the assumptions
  // (negated, as a clause) that the clauses contradict; empty when the
  // clauses alone are unsatisfiable.  For the assumptions {3, -5} that
  // cannot hold together it is {-3, 5}.
  const std::vector<int>& failed_assumptions() const;

  // Asked now and then during `solve`; true ends it with kUnknown.
  void set_should_stop(std::function<bool()> should_stop);

  std::int64_t conflicts() const;
  std::int64_t decisions() const;
  std::int64_t propagations() const;

 private:
  std::unique_ptr<Internal> internal_;
};

}  // namespace modelgen::cdcl
