// The connection graph: for every literal, the literals it may be extended
// with, in the order the search tries them.
//
// Partners are literals of opposite sign and the same predicate whose
// arguments unify with the literal's own; the test uses the partner clause's
// free copy, so a clause is connected with itself wherever it holds two
// complementary literals.  Candidates are gathered per predicate and sign
// first, which keeps the quadratic pairing down to the pairs that can
// connect; each remaining pair costs one unification with immediate undo.
#include <unordered_map>

#include "prover/prover.hpp"

namespace velkor {
namespace {

ConnectionList* store_list(Prover& p, ConnectionList* list, bool reduction,
                           const std::vector<Connection>& entries) {
  list->reduction = reduction;
  list->count = static_cast<std::int64_t>(entries.size());
  list->entries = p.arena.array<Connection>(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) list->entries[i] = entries[i];
  list->non_units = p.arena.array<std::int64_t>(entries.size());
  for (std::size_t i = entries.size(); i-- > 0;)
    if (entries[i].clause->length > 1)
      list->non_units[i] = 1 + (i + 1 < entries.size() ? list->non_units[i + 1] : 0);
  return list;
}

}  // namespace

void Prover::make_connection_graph(const std::vector<Clause*>& clauses,
                                   const std::vector<Clause*>& targets) {
  // Target literals by predicate and sign, in target order and literal order.
  std::unordered_map<const Predicate*, std::vector<Connection>> by_sign[2];
  for (Clause* d : targets) {
    ClauseCopy* copy = first_free_copy(d);
    for (std::int64_t j = 0; j < d->length; ++j) {
      const Literal& s = copy->subgoals[j];
      by_sign[s.sign == '+'][s.predicate].push_back(Connection{d, j});
    }
  }
  bool reduction = nr_non_horn > 0 || foldup;
  std::vector<Connection> entries;
  for (Clause* c : clauses) {
    for (std::int64_t i = 0; i < c->length; ++i) {
      Literal* l = &c->literals[i];
      entries.clear();
      auto& candidates = by_sign[l->sign != '+'];
      auto found = candidates.find(l->predicate);
      if (found != candidates.end()) {
        for (const Connection& entry : found->second) {
          if (!equality) {
            Literal* s = &first_free_copy(entry.clause)->subgoals[entry.index];
            push_mark();
            if (!unify_lists(s->args, l->args, l->predicate->arity)) continue;
            unbind_vars();
          }
          entries.push_back(entry);
        }
      }
      // Literal and first-copy subgoal share one list object.
      store_list(*this, l->connections, reduction, entries);
    }
  }
}

void Prover::make_eq_links(const std::vector<Clause*>& clauses) {
  std::vector<Connection> entries;
  for (Clause* d : clauses) {
    ClauseCopy* copy = first_free_copy(d);
    for (std::int64_t j = 0; j < d->length; ++j) {
      const Literal& s = copy->subgoals[j];
      if (s.sign == '+' && s.predicate->name == name_equal) entries.push_back(Connection{d, j});
    }
  }
  store_list(*this, eq_links, nr_non_horn > 0, entries);
}

}  // namespace velkor
