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
    in_index = root.trie != nullptr;
    TrieNode** level = &root.trie;
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
      level = &(*place)->children;
    }
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
    if (c->length == 1) in_lemma_index_subgoal(&c->literals[0]);
}

bool Prover::find_matching_lemma(Literal* subgoal) {
  Predicate* predicate = subgoal->predicate;
  if (!predicate->has_index) return false;
  LemmaRoot& root = subgoal->sign == '-' ? predicate->positive_index : predicate->negative_index;
  if (predicate->arity == 0) return root.present;
  in_index = false;
  if (root.trie == nullptr) return false;
  index_stack_top_ = 0;
  index_match(root.trie, subgoal->args[0], subgoal->args + 1, predicate->arity - 1);
  return in_index;
}

void Prover::index_match(TrieNode* level, Term* q, Term** rest, std::int64_t rest_n) {
  q = ref(q);
  TrieNode* node = level;
  for (; node != nullptr && node->variable > 0 && !in_index; node = node->next) {
    Term*& bound = index_bindings[static_cast<std::size_t>(node->variable)];
    bool set_here = bound == nullptr;
    if (set_here)
      bound = q;
    else if (!ref_equal(bound, q))
      continue;
    index_continue(node->children, rest, rest_n);
    if (set_here) bound = nullptr;
  }
  if (in_index || is_variable(q)) return;
  while (node != nullptr && node->variable > 0) node = node->next;
  for (; node != nullptr && node->functor->number <= q->functor->number; node = node->next) {
    if (node->functor != q->functor) continue;
    std::int64_t arity = q->functor->arity;
    if (arity == 0) {
      index_continue(node->children, rest, rest_n);
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

void Prover::index_continue(TrieNode* children, Term** rest, std::int64_t rest_n) {
  if (rest_n > 0) {
    index_match(children, rest[0], rest + 1, rest_n - 1);
    return;
  }
  if (index_stack_top_ == 0) {
    in_index = true;  // the whole query is matched
    return;
  }
  PendingList list = index_stack_[--index_stack_top_];
  index_match(children, list.terms[0], list.terms + 1, list.n - 1);
  index_stack_[index_stack_top_++] = list;
}

}  // namespace velkor
