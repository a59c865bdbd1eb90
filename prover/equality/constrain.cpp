// The ordering constraints of the equality modification during the search.
//
// A clause copy with constraints stays on `ordered_copies` while it is on
// the tableau.  After every step that binds variables, each of their
// constraints is read through the new bindings; once one can no longer
// hold for any instance, the step is refused, as a violated disequation
// constraint refuses it.  Without --equality-modification no clause has
// constraints and nothing here runs.
#include "prover/equality/order.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

bool copy_orderings_hold(const ClauseCopy* copy) {
  const Clause* c = copy->clause;
  for (std::int64_t i = 0; i < c->nr_ordering; ++i) {
    const OrderingConstraint& o = c->ordering[i];
    if (!equality::may_hold(copy->subgoals[o.greater].args[o.greater_arg],
                            copy->subgoals[o.smaller].args[o.smaller_arg], o.strict))
      return false;
  }
  return true;
}

}  // namespace

bool Prover::orderings_hold(const ClauseCopy* entered) {
  if (entered != nullptr && !copy_orderings_hold(entered)) return false;
  if (trail_at_mark()) return true;  // nothing bound: the others hold as before
  for (const ClauseCopy* copy : ordered_copies)
    if (!copy_orderings_hold(copy)) return false;
  return true;
}

}  // namespace velkor
