// Disequation constraints: s and t must never become identical on a branch.
//
// A constraint is kept as the most general unifier of s and t, one element
// per variable that would have to be bound, attached to that variable.  After
// each step only the variables it has just bound are re-examined: an element
// whose variable can no longer take its value makes the whole constraint
// satisfied; one that holds lowers the count of pending elements, and the
// constraint is violated when no element is left pending.  Every change is
// logged on the value trail, so undoing a step restores the exact earlier
// state together with the position of the constraint stack.
#include "prover/prover.hpp"

namespace velkor {

ConstraintCell* Prover::take_constraint_cell() {
  if (++c_stack == c_stack_cells.size()) c_stack_cells.push_back(arena.make<ConstraintCell>());
  return c_stack_cells[c_stack];
}

bool Prover::make_disequation_constraint(Term** s, Term** t, std::int64_t n) {
  push_mark();
  if (!unify_lists(s, t, n)) return true;  // can never become identical
  if (trail_at_mark()) {
    pop_trail();
    return false;  // identical already
  }
  ConstraintCell* constraint = take_constraint_cell();
  constraint->pending = 0;
  constraint->satisfied = false;
  add_constraint_elements(constraint);
  pop_trail();
  return true;
}

void Prover::add_constraint_elements(ConstraintCell* constraint) {
  std::int64_t converted = 0;
  while (!trail_at_mark()) {
    Term* x = trail_items[trail_top];
    log_write(x->constraint_chain);
    ConstraintCell* element = take_constraint_cell();
    element->value = ref(x->binding);
    element->constraint = constraint;
    element->next = x->constraint_chain;
    x->constraint_chain = element;
    x->binding = nullptr;
    pop_trail();
    ++converted;
  }
  constraint->pending += converted;
}

bool Prover::propagate_substitution() {
  for (std::size_t i = trail_top; trail_items[i] != nullptr; --i) {
    Term* x = trail_items[i];
    for (ConstraintCell* e = x->constraint_chain; e != nullptr; e = e->next)
      if (!e->constraint->satisfied && !check_constraint_element(x->binding, e)) return false;
  }
  return true;
}

bool Prover::check_constraint_element(Term* value, ConstraintCell* element) {
  ConstraintCell* c = element->constraint;
  push_mark();
  if (unify_terms(ref(value), ref(element->value)) == Unified::kFail) {
    log_write(c->satisfied);
    c->satisfied = true;
    return true;
  }
  if (trail_at_mark()) {
    pop_trail();
    if (c->pending == 1) return false;  // the last open element holds: violated
    log_write(c->pending);
    --c->pending;
    return true;
  }
  // The element is replaced by finer ones on the variables just bound.
  log_write(c->pending);
  --c->pending;
  add_constraint_elements(c);
  pop_trail();
  return true;
}

}  // namespace velkor
