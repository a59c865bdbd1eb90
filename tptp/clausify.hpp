// Clause normal form of the fof formulas of a Problem, made for a connection
// prover: small clause sets whose clauses stay close to the formulas.
//
// Each formula is brought into negation normal form (keeping equivalences
// for now), quantifiers are pushed inward as far as they go (miniscoping),
// and subformulas whose plain distribution would multiply clauses are named
// by fresh predicates (definitions; only the direction that the polarity of
// the occurrence needs).  Then equivalences are expanded, existential
// variables become Skolem terms over the universal variables they depend
// on, and the result is distributed into clauses.  Tautologies and
// repeated literals go; a formula that is plainly false gives the empty
// clause.
#pragma once

#include <cstdint>

#include "tptp/problem.hpp"

namespace tptp {

struct ClausifyOptions {
  // A subformula whose distribution would give more clauses than this has
  // its largest parts named by definitions, until it gives no more.
  std::uint64_t definition_threshold = 2;
  // Push quantifiers inward before Skolemizing.
  bool miniscope = true;
};

// Appends the clauses of problem.formulas to problem.clauses: the premises
// one by one, the negated conjecture (all formulas of role conjecture taken
// together) where the first conjecture stands, negated conjectures as they
// are.  Clauses of the negated conjecture get role Conjecture, definition
// clauses role Axiom.  Skolem functions and definition predicates get names
// that no symbol of the problem has.  A formula that is plainly false gives
// a clause without literals.  Runs on a large stack of its own, so any
// nesting depth is fine.
void clausify(Problem& problem, const ClausifyOptions& options = {});

}  // namespace tptp
