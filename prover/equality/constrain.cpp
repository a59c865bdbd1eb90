// The ordering constraints of the equality modification during the search.
//
// A clause copy with constraints stays on `ordered_copies` while it is on
// the tableau.  After every step that binds variables, each of their
// constraints is read through the new bindings; once one can no longer
// hold for any instance, the step is refused, as a violated disequation
// constraint refuses it.  A constraint that holds for every instance keeps
// holding as bindings grow (the ordering is stable under instantiation),
// so it is marked on its copy and skipped until the step that found it is
// undone; the mark goes on the value trail, which undoes it with the step.
// Without --equality-modification no clause has constraints and nothing
// here runs.
#include "prover/equality/order.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

// False when a constraint of `copy` fails; `found` gets the bits of those
// that now hold for every instance.
bool copy_orderings_hold(const ClauseCopy* copy, std::uint64_t& found) {
  const Clause* c = copy->clause;
  found = 0;
  for (std::int64_t i = 0; i < c->nr_ordering; ++i) {
    const std::uint64_t bit = i < 64 ? std::uint64_t{1} << i : 0;
    if ((copy->entailed & bit) != 0) continue;
    const OrderingConstraint& o = c->ordering[i];
    Term* greater = Prover::ref(copy->subgoals[o.greater].args[o.greater_arg]);
    Term* smaller = Prover::ref(copy->subgoals[o.smaller].args[o.smaller_arg]);
    // A variable is greater than nothing, so the constraint can fail only by
    // identity; the common case of a normal form not yet bound is cheap.
    if (is_variable(smaller)) {
      if (o.strict && greater == smaller) return false;
      continue;
    }
    switch (equality::compare(greater, smaller)) {
      case equality::Order::kLess:
        return false;
      case equality::Order::kEqual:
        if (o.strict) return false;
        found |= bit;
        break;
      case equality::Order::kGreater:
        found |= bit;
        break;
      case equality::Order::kIncomparable:
        break;
    }
  }
  return true;
}

}  // namespace

bool Prover::orderings_hold(ClauseCopy* entered) {
  entailed_found.clear();
  std::uint64_t found = 0;
  if (entered != nullptr) {
    entered->entailed = 0;  // a copy entered afresh knows nothing yet
    if (!copy_orderings_hold(entered, found)) return false;
    if (found != 0) entailed_found.emplace_back(entered, found);
  }
  if (trail_at_mark()) return true;  // nothing bound: the others hold as before
  for (ClauseCopy* copy : ordered_copies) {
    if (!copy_orderings_hold(copy, found)) return false;
    if (found != 0) entailed_found.emplace_back(copy, found);
  }
  return true;
}

void Prover::mark_entailed() {
  for (auto [copy, bits] : entailed_found) {
    log_write(copy->entailed);
    copy->entailed |= bits;
  }
  entailed_found.clear();
}

}  // namespace velkor
