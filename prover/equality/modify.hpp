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

#include "tptp/problem.hpp"

namespace velkor::equality {

struct ModifyReport {
  bool uses_equality = false;  // some clause has an equality literal
  std::size_t replaced = 0;    // clauses of the problem replaced
  std::size_t modified = 0;    // clauses made for them
};

// Appends the modified clauses (ClauseSet::kModified, each naming its
// original) and marks the clauses they replace (ClauseSet::kAxiomatic);
// clauses the modification leaves as they are stay in both sets.  Nothing
// changes when no clause uses equality.
ModifyReport modify(tptp::Problem& problem);

}  // namespace velkor::equality
