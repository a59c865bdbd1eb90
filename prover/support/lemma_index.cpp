// The lemma index: unit lemmas per predicate and sign, in tries.
//
// An entry is the preorder symbol sequence of the lemma's arguments as
// instantiated when it is entered, with variables numbered in order of first
// occurrence, so variants of one lemma fall on one path.  Within a trie level
// variable nodes come first by number, then functor nodes by functor number;
// insertion and lookup stop at the first larger key.  Lookup matches a
// subgoal one way against the entries: only entry variables are bound (in
// `index_bindings`), so a match means the subgoal is an instance of a lemma.
// Entries are permanent across backtracking and levels.
#include <algorithm>

#include "prover/prover.hpp"

namespace velkor {
namespace {

using Key = Prover::IndexKey;

// Orders keys: variables by number first, then functors by number.
bool precedes(const TrieNode* node, const Key& key) {
  if (key.variable > 0) return node->variable > 0 && node->variable < key.variable;
  return node->variable > 0 || node->functor->number < key.functor->number;
}

bool same(const TrieNode* node, const Key& key) {
  return key.variable > 0 ? node->variable == key.variable : node->functor == key.functor;
}

}  // namespace

void Prover::enter_lemma(Literal* literal, char sign, bool complement) {
  Predicate* predicate = literal->predicate;
  if (!predicate->has_index) return;
  LemmaRoot& root = sign == '+' ? predicate->positive_index : predicate->negative_index;
  if (predicate->arity == 0) {
    in_index = root.present;
    root.present = true;
    if (!in_index && record_derivations) root.derivation = snapshot_derivation({});
  } else {
    var_assoc_nr.clear();
    nth_variable = 0;
    max_variables = root.max_variables;
    // The preorder symbol sequence of the dereferenced arguments.
    std::vector<Key>& keys = index_keys_;
    std::vector<Term*>& pending = index_pending_;
    keys.clear();
    pending.assign(literal->args, literal->args + predicate->arity);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
      Term* t = ref(pending.back());
      pending.pop_back();
      tick();
      if (is_variable(t)) {
        std::int64_t number = 0;
        for (std::size_t i = 0; i < var_assoc_nr.size() && number == 0; ++i)
          if (var_assoc_nr[i] == t) number = static_cast<std::int64_t>(i) + 1;
        if (number == 0) {
          var_assoc_nr.push_back(t);
          number = static_cast<std::int64_t>(var_assoc_nr.size());
        }
        nth_variable = number;
        if (number > max_variables) max_variables = number;
        keys.push_back(Key{number, nullptr});
      } else {
        keys.push_back(Key{0, t->functor});
        for (std::int64_t i = t->functor->arity - 1; i >= 0; --i) pending.push_back(t->args[i]);
      }
    }
    // A search whose lemmas are all new (large problems, growing terms) can
    // fill memory with the index within seconds; past its limit the index
    // keeps what it holds and takes nothing new, which only means that the
    // subgoals a new lemma would close are searched again.
    if (index_limit_mb > 0 && index_bytes > (index_limit_mb << 20)) return;
    const std::size_t before = arena.handed_out();
    in_index = root.trie != nullptr;
    TrieNode** level = &root.trie;
    TrieNode* last = nullptr;
    for (const Key& key : keys) {
      TrieNode** place = level;
      while (*place != nullptr && precedes(*place, key)) place = &(*place)->next;
      if (*place == nullptr || !same(*place, key)) {
        TrieNode* node = arena.make<TrieNode>();
        node->variable = key.variable;
        node->functor = key.functor;
        node->next = *place;
        *place = node;
        in_index = false;
      }
      last = *place;
      level = &(*place)->children;
    }
    if (!in_index && record_derivations) last->derivation = snapshot_derivation(var_assoc_nr);
    index_bytes += static_cast<std::int64_t>(arena.handed_out() - before);
    root.max_variables = max_variables;
    if (index_bindings.size() <= static_cast<std::size_t>(max_variables))
      index_bindings.assign(static_cast<std::size_t>(max_variables) + 1, nullptr);
  }
  if (in_index) return;
  ++nr_lemmas;
  if (!printindex) return;
  print("\ninput_clause(c");
  print(nr_lemmas);
  print(complement || lemmatype != 0 ? ",axiom,[" : ",conjecture,[");
  if (complement)
    display_comp_subgoal(literal);
  else
    display_subgoal(literal);
  print("]).\n");
}

void Prover::in_lemma_index_subgoal(Literal* literal) {
  enter_lemma(literal, literal->sign == '+' ? '+' : '-', false);
}

void Prover::comp_in_lemma_index_subgoal(Literal* subgoal) {
  enter_lemma(subgoal, subgoal->sign == '-' ? '+' : '-', true);
}

void Prover::in_lemma_index_lemmas(const std::vector<Clause*>& clauses) {
  for (Clause* c : clauses)
    if (c->length == 1) {
      entering_input_lemma_ = c;
      in_lemma_index_subgoal(&c->literals[0]);
      entering_input_lemma_ = nullptr;
    }
}

bool Prover::find_matching_lemma(Literal* subgoal) {
  Predicate* predicate = subgoal->predicate;
  if (!predicate->has_index) return false;
  LemmaRoot& root = subgoal->sign == '-' ? predicate->positive_index : predicate->negative_index;
  matched_symmetric_sign = 0;
  if (predicate->arity == 0) {
    matched_derivation = root.derivation;
    matched_bindings.clear();
    return root.present;
  }
  in_index = false;
  if (root.trie == nullptr) return false;
  index_stack_top_ = 0;
  index_match(root.trie, subgoal->args[0], subgoal->args + 1, predicate->arity - 1);
  if (in_index || !equality_modification || predicate != equal_predicate) return in_index;
  // The equality modification has no symmetry axiom, so s = t and t = s are
  // one literal (as for regularity): a lemma s = t (s != t) closes the
  // subgoal t != s (t = s) too, found by looking up the arguments swapped.
  // A proof then cites the instance of symmetry that turns the one into the
  // other, over the subgoal's arguments (kept with the use, and copied
  // into the snapshots that rest on it, so they outlive the bindings).
  Term* swapped[2] = {subgoal->args[1], subgoal->args[0]};
  index_stack_top_ = 0;
  index_match(root.trie, swapped[0], swapped + 1, 1);
  if (in_index) {
    matched_symmetric_sign = subgoal->sign == '-' ? '+' : '-';
    matched_symmetric_args[0] = subgoal->args[0];
    matched_symmetric_args[1] = subgoal->args[1];
  }
  return in_index;
}

void Prover::index_match(TrieNode* level, Term* q, Term** rest, std::int64_t rest_n) {
  tick();
  q = ref(q);
  TrieNode* node = level;
  for (; node != nullptr && node->variable > 0 && !in_index; node = node->next) {
    Term*& bound = index_bindings[static_cast<std::size_t>(node->variable)];
    bool set_here = bound == nullptr;
    if (set_here)
      bound = q;
    else if (!ref_equal(bound, q))
      continue;
    index_continue(node, rest, rest_n);
    if (set_here) bound = nullptr;
  }
  if (in_index || is_variable(q)) return;
  while (node != nullptr && node->variable > 0) node = node->next;
  for (; node != nullptr && node->functor->number <= q->functor->number; node = node->next) {
    if (node->functor != q->functor) continue;
    std::int64_t arity = q->functor->arity;
    if (arity == 0) {
      index_continue(node, rest, rest_n);
    } else if (rest_n > 0) {
      if (index_stack_top_ == index_stack_.size()) index_stack_.push_back({});
      index_stack_[index_stack_top_++] = PendingList{rest, rest_n};
      index_match(node->children, q->args[0], q->args + 1, arity - 1);
      --index_stack_top_;
    } else {
      index_match(node->children, q->args[0], q->args + 1, arity - 1);
    }
    return;
  }
}

void Prover::index_continue(TrieNode* node, Term** rest, std::int64_t rest_n) {
  if (rest_n > 0) {
    index_match(node->children, rest[0], rest + 1, rest_n - 1);
    return;
  }
  if (index_stack_top_ == 0) {
    in_index = true;  // the whole query is matched
    if (record_derivations && node->derivation != nullptr) {
      // The bindings are undone on the way back; keep them for the proof.
      matched_derivation = node->derivation;
      std::int64_t n = node->derivation->nr_variables;
      matched_bindings.assign(index_bindings.begin() + 1, index_bindings.begin() + 1 + n);
    }
    return;
  }
  PendingList list = index_stack_[--index_stack_top_];
  index_match(node->children, list.terms[0], list.terms + 1, list.n - 1);
  index_stack_[index_stack_top_++] = list;
}

// The snapshot binds every unbound variable it meets to a fresh cell, so
// that all occurrences of a variable share one copy; the binding trail
// undoes that when the snapshot is complete.
Term* Prover::snapshot_term(Term* t) {
  tick();
  t = ref(t);
  if (is_variable(t)) {
    if (t->occurrences == kSnapshotCell) return t;
    Term* fresh = arena.make<Term>();
    fresh->name = t->name;
    fresh->occurrences = kSnapshotCell;
    bind(t, fresh);
    return fresh;
  }
  const std::int64_t arity = t->functor->arity;
  if (arity == 0) return t;
  Term* copy = arena.make<Term>();
  copy->functor = t->functor;
  copy->args = arena.array<Term*>(static_cast<std::size_t>(arity));
  for (std::int64_t i = 0; i < arity; ++i) copy->args[i] = snapshot_term(t->args[i]);
  return copy;
}

Derivation* Prover::snapshot_derivation(const std::vector<Term*>& entry_variables) {
  Derivation* d = arena.make<Derivation>();
  push_mark();
  // Signs are those of the clause (a subgoal folded up into a lemma has its
  // sign flipped while the proof is open), or those of the literals given
  // when there is no clause.
  auto copy_literals = [&](const Literal* from, const Clause* c, std::int64_t n) {
    Literal* to = arena.array<Literal>(static_cast<std::size_t>(n));
    for (std::int64_t i = 0; i < n; ++i) {
      to[i].sign = c != nullptr ? c->literals[i].sign : from[i].sign;
      to[i].predicate = from[i].predicate;
      const std::int64_t arity = from[i].predicate->arity;
      to[i].args = arena.array<Term*>(static_cast<std::size_t>(arity));
      for (std::int64_t j = 0; j < arity; ++j) to[i].args[j] = snapshot_term(from[i].args[j]);
    }
    return to;
  };
  if (entering_input_lemma_ != nullptr) {
    // An input lemma clause rests on itself.
    d->nr_instances = 1;
    d->clauses = arena.array<Clause*>(1);
    d->instances = arena.array<Literal*>(1);
    d->lengths = arena.array<std::int64_t>(1);
    d->lengths[0] = 1;
    d->clauses[0] = entering_input_lemma_;
    d->instances[0] = copy_literals(entering_input_lemma_->literals, entering_input_lemma_, 1);
  } else {
    // Each copy, and after a copy entered with differences the clause of
    // equality theory behind them. A folded-up subgoal rests on the copies
    // entered since the one below it (its subtree, and perhaps copies of
    // other branches the selection turned to in between): taking only those
    // keeps the snapshots of a deep tableau from growing with all of it.
    std::size_t from = 0;
    if (entering_subtree_ != nullptr) {
      from = copy_stack.size();
      while (from > 0 && copy_stack[from - 1] != entering_subtree_) --from;
      if (from > 0) --from;
    }
    const std::size_t room = 2 * (copy_stack.size() - from);
    d->clauses = arena.array<Clause*>(room);
    d->instances = arena.array<Literal*>(room);
    d->lengths = arena.array<std::int64_t>(room);
    std::vector<Literal> step;
    for (std::size_t i = from; i < copy_stack.size(); ++i) {
      ClauseCopy* a = copy_stack[i];
      Clause* c = a->clause;
      d->clauses[d->nr_instances] = c;
      d->lengths[d->nr_instances] = c->length;
      d->instances[d->nr_instances++] = copy_literals(a->subgoals, c, c->length);
      if (!difference_justification(a, step)) continue;
      const auto n = static_cast<std::int64_t>(step.size());
      Literal* copied = copy_literals(step.data(), nullptr, n);
      d->lengths[d->nr_instances] = n;
      d->instances[d->nr_instances++] = copied;
    }
    const std::size_t first_use = from < copy_stack_uses.size() ? copy_stack_uses[from] : 0;
    d->nr_uses = static_cast<std::int64_t>(lemma_uses.size() - first_use);
    d->uses = arena.array<LemmaUse>(lemma_uses.size() - first_use);
    for (std::size_t i = first_use; i < lemma_uses.size(); ++i) {
      const BranchLemmaUse& use = lemma_uses[i];
      LemmaUse& u = d->uses[i - first_use];
      u.derivation = use.derivation;
      u.nr_bindings = use.nr_bindings;
      u.symmetric_sign = use.symmetric_sign;
      if (use.symmetric_sign != 0)
        for (int j = 0; j < 2; ++j) u.symmetric_args[j] = snapshot_term(use.symmetric_args[j]);
      u.bindings = arena.array<Term*>(static_cast<std::size_t>(use.nr_bindings));
      for (std::int64_t j = 0; j < use.nr_bindings; ++j)
        u.bindings[j] = snapshot_term(lemma_use_terms[use.first + static_cast<std::size_t>(j)]);
    }
  }
  d->nr_variables = static_cast<std::int64_t>(entry_variables.size());
  d->variables = arena.array<Term*>(entry_variables.size());
  for (std::size_t i = 0; i < entry_variables.size(); ++i)
    d->variables[i] = snapshot_term(entry_variables[i]);
  unbind_vars();
  // A snapshot of a large tableau costs as much as thousands of search
  // steps: count it so, or the time limit would be checked too seldom.
  poll_countdown -= 16 * (d->nr_instances + d->nr_uses);
  if (poll_countdown <= 0) poll_clock();
  return d;
}

void Prover::push_lemma_use() {
  std::size_t first = lemma_use_terms.size();
  lemma_use_terms.insert(lemma_use_terms.end(), matched_bindings.begin(), matched_bindings.end());
  lemma_uses.push_back(BranchLemmaUse{matched_derivation,
                                      first,
                                      static_cast<std::int64_t>(matched_bindings.size()),
                                      matched_symmetric_sign,
                                      {matched_symmetric_args[0], matched_symmetric_args[1]}});
}

}  // namespace velkor
