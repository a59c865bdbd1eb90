// Clauses of the theory of equality, as refutations cite them for equality
// axioms, for the equality steps of velkor's -equality mode and for the
// disequations of distinct objects.
#pragma once

#include "tptp/problem.hpp"

namespace proof_check {

// Whether `clause` holds in every interpretation where = is equality and
// distinct objects of different texts are unequal, decided by congruence
// closure over its own terms.
bool valid_in_equality_theory(const tptp::Problem& store, const tptp::Clause& clause);

}  // namespace proof_check
