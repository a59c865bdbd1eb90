// The active set: the processed clauses and the indexes that find their
// partners.  A clause enters every index at once when it is activated and
// leaves them all when a new clause simplifies it away; what it is filed
// under is computed the same way both times.
#include <algorithm>

#include "prover/saturation/state.hpp"

namespace velkor::saturation {
namespace {

// Whether every variable of a occurs in b.
bool variables_within(Term* a, Term* b) {
  if (a->ground) return true;
  if (a->variable) return occurs_in(a->symbol, b);
  for (std::uint32_t k = 0; k < a->arity; ++k)
    if (!variables_within(a->args[k], b)) return false;
  return true;
}

// The symbols and variables of a term in preorder, sorted.
std::vector<std::uint64_t> symbol_multiset(Term* t) {
  std::vector<std::uint64_t> out;
  std::vector<Term*> stack{t};
  while (!stack.empty()) {
    Term* s = stack.back();
    stack.pop_back();
    out.push_back((std::uint64_t{s->symbol} << 1) | s->variable);
    for (std::uint32_t k = 0; k < s->arity; ++k) stack.push_back(s->args[k]);
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool permutative(const Literal& l) {
  return l.order == Order::kIncomparable && l.left->weight == l.right->weight &&
         l.left->size == l.right->size && symbol_multiset(l.left) == symbol_multiset(l.right);
}

}  // namespace

void path_of(Term* side, std::uint32_t position, std::vector<std::uint32_t>& path) {
  path.clear();
  std::uint64_t at = 0;  // preorder number of `side`
  while (at != position) {
    ++at;  // past the node itself
    for (std::uint32_t k = 0; k < side->arity; ++k) {
      Term* a = side->args[k];
      if (position < at + a->size) {
        path.push_back(k);
        side = a;
        break;
      }
      at += a->size;
    }
  }
}

void Saturation::into_positions(Clause* c, std::vector<std::pair<Term*, Occurrence>>& out) {
  out.clear();
  std::vector<Term*>& stack = scratch_terms;
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    if (!eligible_for_inferences(c, i)) continue;
    const Literal& l = c->literals[i];
    for (std::uint32_t s = 0; s < 2; ++s) {
      if (!eligible_side(l, s)) continue;
      std::uint32_t position = 0;
      stack.assign(1, side_of(l, s));
      while (!stack.empty()) {
        Term* t = stack.back();
        stack.pop_back();
        // The atom of a predicate literal is no term an equation can rewrite.
        if (!t->variable && (l.equation || position > 0))
          out.emplace_back(t, Occurrence{c, i, s, position});
        ++position;
        for (std::uint32_t k = t->arity; k-- > 0;) stack.push_back(t->args[k]);
      }
    }
  }
}

void Saturation::subterms(Clause* c, std::vector<Term*>& out) {
  out.clear();
  std::vector<Term*>& stack = scratch_terms;
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    stack.clear();
    if (l.equation) {
      stack.push_back(l.left);
      stack.push_back(l.right);
    } else {
      for (std::uint32_t k = 0; k < l.left->arity; ++k) stack.push_back(l.left->args[k]);
    }
    while (!stack.empty()) {
      Term* t = stack.back();
      stack.pop_back();
      if (t->variable) continue;
      out.push_back(t);
      for (std::uint32_t k = 0; k < t->arity; ++k) stack.push_back(t->args[k]);
    }
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

// The sides of a unit equation that rewrite: a side that is greater, or
// of an unorientable equation a side holding the other's variables (it
// rewrites the instances where it is the greater); never a variable.
std::vector<Term*> Saturation::demodulator_sides(Clause* c) {
  std::vector<Term*> sides;
  if (!c->unit_equation()) return sides;
  const Literal& l = c->literals[0];
  for (std::uint32_t s = 0; s < 2; ++s) {
    Term* side = side_of(l, s);
    Term* other = side_of(l, 1 - s);
    if (side->variable || !eligible_side(l, s)) continue;
    if (l.order == Order::kIncomparable && !variables_within(other, side)) continue;
    sides.push_back(side);
  }
  return sides;
}

void Saturation::activate(Clause* c) {
  select_literals(c);
  c->state = ClauseState::kActive;
  ++stats.active;
  into_positions(c, scratch_positions);
  for (const auto& [t, occurrence] : scratch_positions) into_index.insert(t, occurrence);
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    if (!eligible_for_inferences(c, i)) continue;
    if (!l.equation) {
      resolution_index[l.positive].insert(l.left, Occurrence{c, i, 0, 0});
      continue;
    }
    if (!l.positive || c->has_selection) continue;
    for (std::uint32_t s = 0; s < 2; ++s)
      if (eligible_side(l, s)) from_index.insert(side_of(l, s), Occurrence{c, i, s, 0});
  }
  subterms(c, scratch_terms2);
  for (Term* t : scratch_terms2) subterm_index.insert(t, c);
  // A rewrite rule's entry carries its number in `position`: a term found
  // irreducible when there were n rules need not meet the first n again.
  for (Term* side : demodulator_sides(c)) {
    demodulators.insert(side,
                        Occurrence{c, 0, side == c->literals[0].left ? 0u : 1u, demodulator_count});
    c->in_demodulators = true;
  }
  if (c->in_demodulators) {
    c->demodulator_number = demodulator_count++;
    c->permutative = permutative(c->literals[0]);
  }
  if (c->nr_literals == 1) {
    const Literal& l = c->literals[0];
    units[l.positive].insert(l.left, Occurrence{c, 0, 0, 0});
    if (l.equation) units[l.positive].insert(l.right, Occurrence{c, 0, 1, 0});
  }
  scratch_features.resize(kFeatures);
  features_of(c, scratch_features.data());
  subsumption_index.insert(scratch_features.data(), c);
}

void Saturation::deactivate(Clause* c) {
  into_positions(c, scratch_positions);
  for (const auto& [t, occurrence] : scratch_positions) into_index.remove(t, occurrence);
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    if (!eligible_for_inferences(c, i)) continue;
    if (!l.equation) {
      resolution_index[l.positive].remove(l.left, Occurrence{c, i, 0, 0});
      continue;
    }
    if (!l.positive || c->has_selection) continue;
    for (std::uint32_t s = 0; s < 2; ++s)
      if (eligible_side(l, s)) from_index.remove(side_of(l, s), Occurrence{c, i, s, 0});
  }
  subterms(c, scratch_terms2);
  for (Term* t : scratch_terms2) subterm_index.remove(t, c);
  if (c->in_demodulators)
    for (Term* side : demodulator_sides(c))
      demodulators.remove(
          side, Occurrence{c, 0, side == c->literals[0].left ? 0u : 1u, c->demodulator_number});
  if (c->nr_literals == 1) {
    const Literal& l = c->literals[0];
    units[l.positive].remove(l.left, Occurrence{c, 0, 0, 0});
    if (l.equation) units[l.positive].remove(l.right, Occurrence{c, 0, 1, 0});
  }
  scratch_features.resize(kFeatures);
  features_of(c, scratch_features.data());
  subsumption_index.remove(scratch_features.data(), c);
  c->state = ClauseState::kRetired;
  --stats.active;
}

}  // namespace velkor::saturation
