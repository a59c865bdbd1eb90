// Regularity: no literal may occur twice on one tableau branch.
//
// `no_equal_predecessor` rejects a selected subgoal that is already identical
// to an ancestor of the same sign; `make_regularity_constraints_clause` turns
// every future coincidence of a new subgoal with an ancestor into a
// disequation constraint, so that the step completing it fails at once.
// Under the equality modification s = t and t = s count as one literal.
#include "prover/prover.hpp"

namespace velkor {

bool Prover::ref_equal(Term* s, Term* t) {
  if (s == t) return true;
  if (is_variable(s) || is_variable(t) || s->functor != t->functor) return false;
  return ref_equal_lists(s->args, t->args, s->functor->arity);
}

bool Prover::ref_equal_lists(Term** s, Term** t, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i)
    if (!ref_equal(ref(s[i]), ref(t[i]))) return false;
  return true;
}

bool Prover::no_equal_predecessor(Literal* subgoal, Literal* parent) {
  std::int64_t arity = subgoal->predicate->arity;
  // An argument that is itself a free variable cannot be identical to an
  // ancestor's argument unless it is the very same cell: not worth the walk.
  for (std::int64_t i = 0; i < arity; ++i)
    if (is_variable(subgoal->args[i]) && subgoal->args[i]->binding == nullptr) return true;
  const bool symmetric = equality_modification && subgoal->predicate == equal_predicate;
  for (Literal* a = parent; a != nullptr; a = a->copy->parent)
    if (a->sign == subgoal->sign && a->predicate == subgoal->predicate &&
        (ref_equal_lists(subgoal->args, a->args, arity) ||
         (symmetric && ref_equal(ref(subgoal->args[0]), ref(a->args[1])) &&
          ref_equal(ref(subgoal->args[1]), ref(a->args[0])))))
      return false;
  return true;
}

// With strong regularity the walk follows the lemma chain, which exists only
// with foldup; without foldup it follows the parent chain like plain
// regularity, which is always sound.
bool Prover::make_regularity_constraints_clause(Literal* entered, ClauseCopy* copy, Literal* parent,
                                                std::int64_t first, std::int64_t count) {
  bool lemma_chain = strong_regularity && foldup;
  for (std::int64_t i = first; i < count; ++i) {
    Literal* s = &copy->subgoals[i];
    if (s == entered && regularity_only_for_subgoals) continue;
    const bool symmetric = equality_modification && s->predicate == equal_predicate;
    for (Literal* a = parent; a != nullptr; a = lemma_chain ? a->foldup_link : a->copy->parent) {
      if (a->sign != s->sign || a->predicate != s->predicate) continue;
      if (!make_disequation_constraint(s->args, a->args, s->predicate->arity)) return false;
      // With the equality modification s = t and t = s are one literal.
      Term* swapped[2] = {a->args[1], a->args[0]};
      if (symmetric && !make_disequation_constraint(s->args, swapped, 2)) return false;
    }
  }
  return true;
}

}  // namespace velkor
