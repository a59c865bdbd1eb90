// The reduction ordering of the equality modification: the Knuth-Bendix
// ordering of prover/order/kbo.hpp on the search's terms, read through
// their bindings.
//
// Every symbol and every variable weighs 1, which makes the ordering total
// on ground terms and well-founded.  The precedence is the shared default:
// by arity, then by first appearance in the problem.  On terms with variables the ordering
// holds only when it holds for every instance (a variable must occur in the
// greater term at least as often as in the smaller one), which is what
// lets the search refuse a constraint for good as soon as its reverse
// holds.
#pragma once

#include "prover/input/records.hpp"
#include "prover/order/kbo.hpp"

namespace velkor::equality {

// How s and t compare for every instance of the current bindings:
// kGreater when s > t holds for all of them, kLess when t > s does, kEqual
// when they are identical, else kIncomparable (the instances decide).
using Order = order::Order;
Order compare(Term* s, Term* t);

// s > t in the ordering, for every instance of the current bindings.
bool greater(Term* s, Term* t);

// Whether a constraint `s > t` (strict) or `s >= t` can still hold under
// some instance of the current bindings: it cannot once t > s, or, for a
// strict one, once s and t are identical.
bool may_hold(Term* s, Term* t, bool strict);

}  // namespace velkor::equality
