// What --auto knows about a problem before it picks option sets: a handful
// of features of the clause set the prover searches, computed once after
// clausification, and the class they put the problem in.
//
// The class is coarse on purpose: a schedule is measured per class, and a
// class needs enough problems behind it for the measurement to mean more
// than the problems it was measured on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

class Prover;

// Traits of a class, as bits, so that a schedule row can require or exclude
// any set of them.
enum Trait : unsigned {
  kFirstOrder = 1u << 0,    // given as first-order formulas (fof), not as clauses
  kEquality = 1u << 1,      // some clause of the problem has an equation
  kUnitEquality = 1u << 2,  // every clause is one equation or disequation
  kHorn = 1u << 3,          // no clause has two positive literals
  kEpr = 1u << 4,           // no function symbol of arity above 0
  kConjecture = 1u << 5,    // a conjecture (fof) or negated_conjecture clause
  kLarge = 1u << 6,         // more than kLargeClauses clauses
  kLargeTheory = 1u << 7,   // more than kLargeTheoryStatements statements: a library
};

inline constexpr std::int64_t kLargeClauses = 150;
// A problem stated with a whole library has thousands of statements; one
// stated with the premises its proof needs, a few dozen to a couple of
// hundred.
inline constexpr std::int64_t kLargeTheoryStatements = 300;

// A trait by the name schedule tables give it ("first-order", "equality",
// "unit-equality", "horn", "epr", "conjecture", "large", "large-theory"); 0
// for no trait.
unsigned trait_of(std::string_view name);

struct ProblemFeatures {
  unsigned traits = 0;
  std::int64_t clauses = 0;   // clauses of the problem, equality axioms not counted
  std::int64_t formulas = 0;  // first-order formulas read (0 for clause problems)
  std::int64_t axioms = 0;    // input statements that are not conjectures
  std::int64_t size = 0;      // symbol occurrences in those clauses

  bool has(unsigned trait) const { return (traits & trait) == trait; }
};

// The input as the TPTP reader saw it; zeros for an input_clause file.
struct InputCounts {
  std::int64_t formulas = 0;         // fof statements
  std::int64_t conjectures = 0;      // fof conjectures, or negated_conjecture clauses
  std::int64_t statements = 0;       // cnf and fof statements together
  std::int64_t equality_axioms = 0;  // clauses appended after the problem's own
};

// The features of the clause set a prover has read, the equality axioms
// appended by the converter (the last `input.equality_axioms` clauses) left
// out so that they do not hide unit-equality problems.
ProblemFeatures problem_features(const Prover& p, const InputCounts& input);

// A short name of the class, such as FOF-EQ-NH-L, and the comment line that
// --auto prints with it and the counts behind it.
std::string class_name(const ProblemFeatures& f);
std::string class_line(const ProblemFeatures& f, const char* schedule);

}  // namespace velkor
