#include "prover/equality/order.hpp"

#include <cstdint>
#include <vector>

#include "prover/prover.hpp"

namespace velkor::equality {
namespace {

// The variables met while weighing, with how often they occur in s less
// how often in t.  Kept between calls, so that weighing allocates only
// while it grows.
std::vector<std::pair<Term*, std::int64_t>>& balance() {
  static std::vector<std::pair<Term*, std::int64_t>> cells;
  return cells;
}

void weigh(Term* t, std::int64_t sign, std::int64_t& weight) {
  t = Prover::ref(t);
  weight += sign;
  if (is_variable(t)) {
    auto& cells = balance();
    for (auto& cell : cells)
      if (cell.first == t) {
        cell.second += sign;
        return;
      }
    cells.emplace_back(t, sign);
    return;
  }
  for (std::int64_t i = 0; i < t->functor->arity; ++i) weigh(t->args[i], sign, weight);
}

bool occurs(Term* v, Term* t) {
  t = Prover::ref(t);
  if (t == v) return true;
  if (is_variable(t)) return false;
  for (std::int64_t i = 0; i < t->functor->arity; ++i)
    if (occurs(v, t->args[i])) return true;
  return false;
}

// -1, 0, 1 as f is below, equal to, above g in the precedence.
int compare_precedence(const Functor* f, const Functor* g) {
  if (f == g) return 0;
  if (f->arity != g->arity) return f->arity < g->arity ? -1 : 1;
  return f->number < g->number ? -1 : 1;
}

}  // namespace

bool greater(Term* s, Term* t) {
  s = Prover::ref(s);
  t = Prover::ref(t);
  if (s == t || is_variable(s)) return false;
  if (is_variable(t)) return occurs(t, s);
  std::int64_t weight = 0;
  balance().clear();
  weigh(s, 1, weight);
  weigh(t, -1, weight);
  for (const auto& cell : balance())
    if (cell.second < 0) return false;
  if (weight != 0) return weight > 0;
  const int precedence = compare_precedence(s->functor, t->functor);
  if (precedence != 0) return precedence > 0;
  for (std::int64_t i = 0; i < s->functor->arity; ++i) {
    Term* a = Prover::ref(s->args[i]);
    Term* b = Prover::ref(t->args[i]);
    if (!Prover::ref_equal(a, b)) return greater(a, b);
  }
  return false;
}

bool may_hold(Term* s, Term* t, bool strict) {
  if (strict && Prover::ref_equal(Prover::ref(s), Prover::ref(t))) return false;
  return !greater(t, s);
}

}  // namespace velkor::equality
