// Clause copies with fresh variables.
//
// The search never works on input clauses: each extension enters a copy.
// Copies are made lazily, kept on the clause and reused, so a clause has one
// copy more than the largest number of its simultaneous uses on one branch.
// Renaming goes through the binding trail: while a clause is copied, each of
// its variables is bound to its fresh copy, so later occurrences find the
// copy by looking at the binding; the pass ends by unbinding them all.
#include "prover/prover.hpp"

namespace velkor {

ClauseCopy* Prover::make_clause_copy(Literal* literals, std::int64_t length, Clause* clause,
                                     const void* extra) {
  ClauseCopy* copy = arena.make<ClauseCopy>();
  copy->subgoals = arena.array<Literal>(static_cast<std::size_t>(length));
  push_mark();
  for (std::int64_t i = length - 1; i >= 0; --i)
    make_subgoal_copy(&literals[i], copy, &copy->subgoals[i]);
  copy->clause = clause;
  copy->copy_tag = extra;
  copy->group = SubgoalGroup{copy, 0, length, nullptr, true};
  unbind_vars();
  return copy;
}

void Prover::make_subgoal_copy(Literal* literal, ClauseCopy* copy, Literal* subgoal) {
  subgoal->sign = literal->sign;
  subgoal->predicate = literal->predicate;
  std::int64_t arity = literal->predicate->arity;
  subgoal->args = arena.array<Term*>(static_cast<std::size_t>(arity));
  for (std::int64_t i = 0; i < arity; ++i) subgoal->args[i] = copy_term(literal->args[i]);
  subgoal->connections = literal->connections;
  subgoal->copy = copy;
  subgoal->clause = literal->clause;
  subgoal->number = literal->number;
  subgoal->reduction_mark = 0;
}

Term* Prover::copy_term(Term* t) {
  if (!is_variable(t)) {
    Term* copy = arena.make<Term>();
    copy->functor = t->functor;
    std::int64_t arity = t->functor->arity;
    if (arity > 0) {
      copy->args = arena.array<Term*>(static_cast<std::size_t>(arity));
      for (std::int64_t i = 0; i < arity; ++i) copy->args[i] = copy_term(t->args[i]);
    }
    return copy;
  }
  if (t->binding != nullptr) return t->binding;
  Term* fresh = arena.make<Term>();
  fresh->name = t->name;
  bind(t, fresh);
  return fresh;
}

void Prover::append_copy(Clause* clause, ClauseCopy* copy) {
  if (clause->nr_copies == clause->copies_capacity) {
    std::int64_t capacity = clause->copies_capacity == 0 ? 2 : 2 * clause->copies_capacity;
    auto** grown = arena.array<ClauseCopy*>(static_cast<std::size_t>(capacity));
    for (std::int64_t i = 0; i < clause->nr_copies; ++i) grown[i] = clause->copies[i];
    clause->copies = grown;
    clause->copies_capacity = capacity;
  }
  clause->copies[clause->nr_copies++] = copy;
}

}  // namespace velkor
