// The equality modification: a clause set with equality turned into one
// that needs no equality axiom but reflexivity, X = X.
//
// The idea is that of proofs by rewriting to normal forms.  Take the
// equations, oriented by a reduction ordering, as a convergent rewrite
// system; a proof with equality then only ever has to replace a term whose
// arguments are already in normal form by the normal form of the term.  So
// every term that some equation could rewrite is taken out of its place
// and replaced by a fresh variable Y that stands for its normal form,
// with the literal `f(X1,...,Xn) != Y` saying "f(X1,...,Xn) rewrites to Y"
// (flattening).  Such a subgoal is closed by reflexivity (f(...) is its own
// normal form) or by an equation l = r whose left side is f(...) and whose
// right side rewrites to Y: each positive equation is written as
// `l = Z | r != Z`, so transitivity comes in one rewrite step at a time, and
// in both orientations (either side may be the greater one in an
// instance), so symmetry is never needed.  A term headed by a symbol
// that heads no left side of an equation is never rewritten at the top and
// stays in place, its arguments flattened.
//
// Every modified clause follows from its original clause and the theory of
// equality.  Ordering constraints say which instances the argument above
// needs: a left side greater than the normal form it rewrites to, a term at
// least as great as the normal form standing for it.  The search refuses a step after
// which a constraint of a clause on the tableau can no longer hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "prover/input/records.hpp"
#include "tptp/problem.hpp"

namespace velkor::equality {

// Where a clause of the modification comes from: a clause of the problem,
// or the disequation of two distinct objects (`clause` then counts the
// pairs of Theory::distinct_pairs), kept as it is or modified.
struct Origin {
  enum class Kind : std::uint8_t { kKept, kModified };
  Kind kind;
  bool distinct_objects;
  std::uint32_t clause;
  // kModified: an equation of the original was named by a new predicate, so
  // the clause is only equisatisfiable with the original, not implied.
  bool esa = false;
};

// The modification's own clause set, derived from the problem and never
// written back into it: a copy of the problem's symbols and terms with the
// new ones (fresh variables, flattened terms, new predicates), the clauses
// kept in their order and then the modified ones in the order made, each
// with its origin and its ordering constraints.
struct Modification {
  bool uses_equality = false;  // some clause has an equality literal
  std::size_t replaced = 0;    // clauses of the problem replaced
  std::size_t modified = 0;    // clauses made for them
  tptp::Problem clauses;
  std::vector<Origin> origins;                               // per clause
  std::vector<std::vector<OrderingConstraint>> constraints;  // per clause
};

// The modification of `problem`, whose distinct objects `distinct_pairs`
// must differ: their disequations are modified with the problem's clauses.
// When no clause uses equality, nothing is made (`uses_equality` false).
Modification modify(const tptp::Problem& problem,
                    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& distinct_pairs);

}  // namespace velkor::equality
