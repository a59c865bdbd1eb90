// Which literals of a clause take part in inferences.
//
// A literal that some other literal of the clause is greater than stays
// smaller in every instance, so only the others (the maximal ones) are
// candidates; the ordering conditions are checked again on the instance
// of each inference.  A selection function may instead choose one
// negative literal: then it alone is eligible, which keeps the calculus
// refutationally complete and cuts the inferences of clauses with many
// conditions down to one at a time.
#include <algorithm>

#include "prover/saturation/state.hpp"

namespace velkor::saturation {

void Saturation::select_literals(Clause* c) {
  const std::uint32_t n = c->nr_literals;
  for (std::uint32_t i = 0; i < n; ++i) {
    Literal& l = c->literals[i];
    l.maximal = true;
    l.selected = false;
    for (std::uint32_t j = 0; j < n && l.maximal; ++j) {
      if (j == i) continue;
      const Literal& m = c->literals[j];
      l.maximal = ordering.compare_literals(m.left, m.right, m.positive, l.left, l.right,
                                            l.positive) != Order::kGreater;
    }
  }
  c->has_selection = false;
  if (strategy.selection == Selection::kNone) return;
  std::int64_t best = -1;
  double best_score = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const Literal& l = c->literals[i];
    if (l.positive) continue;
    if (!l.equation && strategy.avoid_positive_predicates &&
        std::any_of(c->literals, c->literals + n, [&](const Literal& m) {
          return m.positive && !m.equation && m.left->symbol == l.left->symbol;
        }))
      continue;
    const double weight = static_cast<double>(l.left->weight) +
                          (l.equation ? static_cast<double>(l.right->weight) : 0);
    double score = 0;
    switch (strategy.selection) {
      case Selection::kLargestNegative:
        score = weight;
        break;
      case Selection::kSmallestNegative:
        score = -weight;
        break;
      case Selection::kComplexNegative: {
        // Ground literals first: they are decided by rewriting alone; then
        // the one whose sides differ most, the hardest to satisfy.
        const bool ground = l.left->ground && l.right->ground;
        const double difference =
            l.equation ? static_cast<double>(l.left->weight) - static_cast<double>(l.right->weight)
                       : weight;
        score = (ground ? 1e12 : 0) + (difference < 0 ? -difference : difference);
        break;
      }
      case Selection::kNone:
        break;
    }
    if (best < 0 || score > best_score) {
      best = i;
      best_score = score;
    }
  }
  if (best < 0) return;
  c->literals[best].selected = true;
  c->has_selection = true;
}

bool Saturation::eligible_for_inferences(const Clause* c, std::uint32_t i) const {
  return c->has_selection ? c->literals[i].selected : c->literals[i].maximal;
}

bool Saturation::eligible_side(const Literal& l, std::uint32_t side) const {
  if (!l.equation) return side == 0;
  return side == 0 ? l.order != Order::kLess : l.order != Order::kGreater;
}

}  // namespace velkor::saturation
