// velkor's answers by model generation: what the driver calls.
//
// Two decision procedures share one state (search.hpp) and the conflict-driven
// engine of modelgen/cdcl:
// - a problem without function symbols other than constants (EPR, and
//   propositional problems) has a model exactly when its ground instances
//   over its constants are propositionally satisfiable; while their number
//   stays within a budget, grounding decides it, and an unsatisfiable set of
//   instances is itself the refutation;
// - any other problem is searched for finite models of sizes 1, 2, 3, ...
// Every model is evaluated on every clause before it is shown: a model that
// fails is never printed.  Distinct objects are different elements in every
// model, whether or not the clauses use equality.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "prover/problem/problem.hpp"

namespace velkor::models {

struct Settings {
  double cpu_deadline = 0;  // process CPU seconds at which to stop; 0: none
  // Literals of ground clauses the engine may be given in all (instances,
  // equality and function-table clauses): the memory budget of a decision.
  std::int64_t literal_budget = 4'000'000;
  std::string problem_name;  // for the SZS output lines
  // Beyond the budget, choose ground instances by candidate models (which
  // may take all the time there is) instead of giving up at once.
  bool instantiate_beyond_budget = true;
};

enum class Verdict : std::uint8_t {
  kUnsatisfiable,  // the listed ground instances have no model
  kSatisfiable,    // `model_block` holds a model checked on every clause
  kTooLarge,       // the budget would be exceeded: nothing decided
  kTimeout,        // the deadline came first
  kFault,          // a model failed its check (never printed)
};

// One ground clause of a refutation: an instance of the problem's clause
// `clause`, or a clause valid in the theory of equality (kTheory) or of the
// distinct objects (kDistinctObjects).
struct GroundInstance {
  static constexpr std::size_t kTheory = static_cast<std::size_t>(-1);
  static constexpr std::size_t kDistinctObjects = static_cast<std::size_t>(-2);
  std::size_t clause;
  std::string text;  // in TSTP syntax
};

struct Result {
  Verdict verdict = Verdict::kTooLarge;
  std::vector<GroundInstance> refutation;  // after kUnsatisfiable
  std::string model_block;                 // after kSatisfiable: the FiniteModel block
  int domain_size = 0;                     // of the model, or the last size tried
  std::int64_t instances = 0;              // ground clauses given to the engine
};

// No function symbol of arity above 0 in any clause.
bool is_epr(const tptp::Problem& problem);

// The ground instances over the problem's constants, when they fit the
// budget.  Call only when is_epr.
Result decide_by_grounding(const Problem& problem, const Settings& settings);

// Finite models of sizes 1, 2, ... until one is found, the deadline comes
// or the next size would exceed the budget.
Result find_finite_model(const Problem& problem, const Settings& settings);

}  // namespace velkor::models
