// Making clauses: the clause arena's free lists, the normal form every
// clause is kept in (no duplicate literal, no literal t != t, variables
// numbered by first occurrence, each equation's orientation known), and
// what is read off a clause: tautology, priority, feature vector, text.
#include <algorithm>

#include "prover/saturation/state.hpp"

namespace velkor::saturation {

ClauseArena::~ClauseArena() {
  for (Clause* c : blocks_) delete c->derivation;
}

Clause* ClauseArena::allocate(std::uint32_t n) {
  if (n >= free_.size()) free_.resize(std::size_t{n} + 1);
  Clause* c;
  const std::size_t bytes = sizeof(Clause) + sizeof(Literal) * n;
  if (!free_[n].empty()) {
    c = free_[n].back();
    free_[n].pop_back();
    Literal* literals = c->literals;
    *c = Clause{};
    c->literals = literals;
  } else {
    void* block = arena_.allocate(bytes);
    c = new (block) Clause{};
    c->literals = reinterpret_cast<Literal*>(static_cast<char*>(block) + sizeof(Clause));
    blocks_.push_back(c);
  }
  c->nr_literals = n;
  in_use_ += bytes;
  return c;
}

void ClauseArena::release(Clause* c) {
  delete c->derivation;
  c->derivation = nullptr;
  c->state = ClauseState::kFree;
  in_use_ -= sizeof(Clause) + sizeof(Literal) * c->nr_literals;
  free_[c->nr_literals].push_back(c);
}

Derivation* Saturation::derivation(Rule rule) {
  if (!settings.proof) return nullptr;
  auto* d = new Derivation;
  d->rule = rule;
  return d;
}

Clause* Saturation::make_clause(std::vector<Literal>& literals, Derivation* derivation,
                                std::vector<std::uint32_t>* renumbered,
                                std::vector<std::uint32_t>* kept, bool as_is) {
  // Literals t != t are false and duplicates say nothing new.
  if (kept != nullptr) kept->assign(literals.size(), kGone);
  std::size_t n = 0;
  for (std::size_t i = 0; i < literals.size(); ++i) {
    const Literal& l = literals[i];
    if (!as_is) {
      if (!l.positive && l.equation && l.left == l.right) continue;
      std::size_t twin = 0;
      while (twin < n && !same_literal(literals[twin], l)) ++twin;
      if (twin < n) {
        if (kept != nullptr) (*kept)[i] = static_cast<std::uint32_t>(twin);
        continue;
      }
    }
    if (kept != nullptr) (*kept)[i] = static_cast<std::uint32_t>(n);
    literals[n++] = l;
  }
  literals.resize(n);

  // Variables by first occurrence, left to right.
  std::uint32_t bound = 0;
  for (const Literal& l : literals)
    bound = std::max({bound, l.left->variables, l.right->variables});
  std::vector<std::uint32_t> local;
  std::vector<std::uint32_t>& map = renumbered != nullptr ? *renumbered : local;
  map.assign(bound, kGone);
  std::uint32_t count = 0;
  bool identity = true;
  std::vector<Term*>& stack = scratch_terms;
  for (const Literal& l : literals)
    for (Term* side : {l.left, l.right}) {
      stack.assign(1, side);
      while (!stack.empty()) {
        Term* t = stack.back();
        stack.pop_back();
        if (t->ground) continue;
        if (t->variable) {
          if (map[t->symbol] == kGone) {
            identity = identity && t->symbol == count;
            map[t->symbol] = count++;
          }
          continue;
        }
        for (std::uint32_t k = t->arity; k-- > 0;) stack.push_back(t->args[k]);
      }
    }
  if (!identity)
    for (Literal& l : literals) {
      l.left = rename(bank, l.left, map);
      l.right = rename(bank, l.right, map);
    }

  Clause* c = clauses.allocate(static_cast<std::uint32_t>(n));
  c->id = next_id++;
  c->nr_variables = count;
  c->state = ClauseState::kNew;
  c->derivation = derivation;
  std::uint64_t weight = 0;
  for (std::size_t i = 0; i < n; ++i) {
    Literal l = literals[i];
    l.order = l.equation ? ordering.compare(l.left, l.right) : Order::kGreater;
    l.maximal = l.selected = false;
    c->literals[i] = l;
    weight = add_weights(weight, l.left->weight);
    if (l.equation) weight = add_weights(weight, l.right->weight);
  }
  c->weight = weight;
  return c;
}

void Saturation::free_clause(Clause* c) {
  // A clause that took part in inferences stays: derivations and the
  // rewriting memo refer to it.
  while (c != nullptr && c->state != ClauseState::kActive && c->state != ClauseState::kRetired &&
         c->state != ClauseState::kFree) {
    Clause* owned = c->derivation != nullptr ? c->derivation->owned : nullptr;
    clauses.release(c);
    c = owned;
  }
}

bool Saturation::is_tautology(const Clause* c) const {
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    if (l.equation && l.left == l.right && l.positive) return true;
    // A disequation of two distinct objects is true in every model, but it
    // is no tautology here: it is the theory's own axiom, and superposition
    // from an equation such as X = a needs it to reach a contradiction.  A
    // longer clause with it is subsumed by that axiom.
    for (std::uint32_t j = i + 1; j < c->nr_literals; ++j) {
      const Literal& m = c->literals[j];
      if (m.positive == l.positive || m.equation != l.equation) continue;
      if ((m.left == l.left && m.right == l.right) ||
          (l.equation && m.left == l.right && m.right == l.left))
        return true;
    }
  }
  return false;
}

// Symbols count 2, variables 1, symbols of the conjecture less; positive
// literals count more, since what a clause asserts is what breeds new
// clauses; clauses derived from the conjecture count less.
double Saturation::priority_of(const Clause* c) const {
  std::vector<Term*>& stack = const_cast<Saturation*>(this)->scratch_terms;
  double w = 0;
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    double lw = 0;
    stack.assign(1, l.left);
    if (l.equation) stack.push_back(l.right);
    while (!stack.empty()) {
      Term* t = stack.back();
      stack.pop_back();
      if (t->variable) {
        lw += 1;
        continue;
      }
      lw += bank.symbol(t->symbol).in_conjecture ? 2 * strategy.conjecture_symbol_factor : 2;
      for (std::uint32_t k = 0; k < t->arity; ++k) stack.push_back(t->args[k]);
    }
    w += l.positive ? 1.5 * lw : lw;
  }
  if (c->from_conjecture) w *= strategy.goal_factor;
  return w;
}

void Saturation::features_of(const Clause* c, std::uint32_t* out, std::int64_t flip) const {
  std::fill(out, out + kFeatures, 0);
  std::vector<Term*>& stack = const_cast<Saturation*>(this)->scratch_terms;
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    const bool positive = l.positive != (static_cast<std::int64_t>(i) == flip);
    ++out[positive ? 0 : 1];
    std::uint32_t* counts = out + 2 + (positive ? 0 : kBuckets);
    stack.assign(1, l.left);
    if (l.equation) stack.push_back(l.right);
    while (!stack.empty()) {
      Term* t = stack.back();
      stack.pop_back();
      if (t->variable) continue;
      ++counts[feature_bucket[t->symbol]];
      for (std::uint32_t k = 0; k < t->arity; ++k) stack.push_back(t->args[k]);
    }
  }
}

std::string Saturation::clause_text(const Clause* c, const std::vector<std::string>* names) const {
  if (c->nr_literals == 0) return "$false";
  std::string out;
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    if (i > 0) out += " | ";
    if (!l.equation) {
      if (!l.positive) out += '~';
      out += term_text(symbol_names, l.left, names);
      continue;
    }
    out += term_text(symbol_names, l.left, names);
    out += l.positive ? " = " : " != ";
    out += term_text(symbol_names, l.right, names);
  }
  return out;
}

}  // namespace velkor::saturation
