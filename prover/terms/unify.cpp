// Unification by binding variables in place.
//
// A variable is bound by writing its value into the cell and pushing the cell
// on the binding trail; a failing unifier unwinds the trail back to and
// including the caller's mark, so a caller that sees failure has nothing left
// to undo.  In equality mode a clash is not a failure while an equality step
// is unifying: the pair is recorded as a difference literal that the search
// must close later.
//
// Extension steps unify a literal of a freshly taken clause copy with an open
// subgoal.  Until the first binding, the copy's terms need no dereferencing
// and binding a subgoal variable to a copy term needs no occurs check (no
// subgoal term contains a copy variable); the extension unifier exploits that
// and falls back to the general unifier as soon as it no longer holds.
#include "prover/prover.hpp"

namespace velkor {
namespace {

bool succeeded(Unified u) {
  return u != Unified::kFail;
}

}  // namespace

bool Prover::occurs_in(Term* v, Term* t) {
  tick();
  if (t == v) return true;
  if (is_variable(t)) return false;
  for (std::int64_t i = 0; i < t->functor->arity; ++i)
    if (occurs_in(v, ref(t->args[i]))) return true;
  return false;
}

// The failure point of every unifier: outside equality steps the bindings of
// the whole unification are undone; inside them the pair becomes a difference.
Unified Prover::record_difference(Term* p, Term* q) {
  if (!equality || !recording_differences) {
    unbind_vars();
    return Unified::kFail;
  }
  // The first difference of a step needs depth left to be solved later;
  // refusing it at depth 0 keeps chains of differences from growing without
  // bound and tells the deepening loop that more depth could help.
  if (eq_trail == step_eq_start && actual_depth <= 0) {
    bound_fail = true;
    unbind_vars();
    return Unified::kFail;
  }
  if (difference_counter == 0) {
    eq_trail_before = eq_trail;
    actual_copy->differences = eq_trail + 1;
  }
  ++difference_counter;
  ++eq_trail;
  Literal* diff;
  if (static_cast<std::size_t>(eq_trail) < eq_trail_literals.size()) {
    diff = eq_trail_literals[eq_trail];
  } else {
    // The predicate field holds the record of the equality predicate, so
    // that display, reduction steps and the connection lists treat a
    // difference like any negative equality literal read from the input.
    diff = arena.make<Literal>();
    diff->sign = '-';
    diff->predicate = equal_predicate;
    diff->args = arena.array<Term*>(2);
    diff->connections = eq_links;
    eq_trail_literals.push_back(diff);
    eq_trail_groups.push_back(arena.make<SubgoalGroup>());
  }
  diff->args[0] = p;
  diff->args[1] = q;
  diff->copy = actual_copy;
  diff->selected = false;
  diff->mate = nullptr;
  diff->reduction_mark = 0;
  return Unified::kDifference;
}

Unified Prover::unify_terms(Term* s, Term* t) {
  tick();
  if (s == t) return Unified::kTrue;
  if (is_variable(s)) {
    if (is_variable(t)) {
      bind(s, t);
      return Unified::kTrue;
    }
    for (std::int64_t i = 0; i < t->functor->arity; ++i)
      if (occurs_in(s, ref(t->args[i]))) return record_difference(t, s);
    bind(s, t);
    return Unified::kTrue;
  }
  if (is_variable(t)) {
    for (std::int64_t i = 0; i < s->functor->arity; ++i)
      if (occurs_in(t, ref(s->args[i]))) return record_difference(s, t);
    bind(t, s);
    return Unified::kTrue;
  }
  if (s->functor != t->functor) return record_difference(t, s);
  for (std::int64_t i = 0; i < s->functor->arity; ++i)
    if (!succeeded(unify_terms(ref(s->args[i]), ref(t->args[i])))) return Unified::kFail;
  return Unified::kTrue;
}

bool Prover::unify_lists(Term** l1, Term** l2, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i)
    if (!succeeded(unify_terms(ref(l1[i]), ref(l2[i])))) return false;
  return true;
}

// x from the copy (not dereferenced: nothing of the copy is bound yet),
// y dereferenced.
bool Prover::extension_unify_term(Term* x, Term* y) {
  if (is_variable(x)) {
    optimized_unification = Optimized::kCopyBound;
    bind(x, y);
    return true;
  }
  if (is_variable(y)) {
    optimized_unification = Optimized::kGeneral;
    bind(y, x);
    return true;
  }
  if (x->functor != y->functor) return succeeded(record_difference(y, x));
  return extension_unify_lists(x->args, y->args, x->functor->arity);
}

bool Prover::extension_unify_lists(Term** c, Term** g, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i) {
    if (!extension_unify_term(c[i], ref(g[i]))) return false;
    switch (optimized_unification) {
      case Optimized::kNothingBound:
        continue;
      case Optimized::kCopyBound:
        return extension_unify_lists_bound(c + i + 1, g + i + 1, n - i - 1);
      case Optimized::kGeneral:
        return unify_lists(c + i + 1, g + i + 1, n - i - 1);
    }
  }
  return true;
}

// Copy variables may now be bound, but only to subgoal terms.
bool Prover::extension_unify_lists_bound(Term** c, Term** g, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i) {
    Term* a = c[i];
    if (is_variable(a)) {
      if (a->binding == nullptr) {
        bind(a, ref(g[i]));
      } else if (!succeeded(unify_terms(ref(a), ref(g[i])))) {
        return false;
      }
      continue;
    }
    if (!extension_unify_term_bound(a, ref(g[i]))) return false;
    if (optimized_unification != Optimized::kCopyBound)
      return unify_lists(c + i + 1, g + i + 1, n - i - 1);
  }
  return true;
}

bool Prover::extension_unify_term_bound(Term* x, Term* y) {
  if (is_variable(y)) {
    for (std::int64_t i = 0; i < x->functor->arity; ++i)
      if (occurs_in(y, ref(x->args[i]))) return succeeded(record_difference(x, y));
    optimized_unification = Optimized::kGeneral;
    bind(y, x);
    return true;
  }
  if (x->functor != y->functor) return succeeded(record_difference(y, x));
  return extension_unify_lists_bound(x->args, y->args, x->functor->arity);
}

}  // namespace velkor
