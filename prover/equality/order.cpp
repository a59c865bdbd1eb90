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

Order compare(Term* s, Term* t) {
  s = Prover::ref(s);
  t = Prover::ref(t);
  if (s == t) return Order::kEqual;
  if (is_variable(s)) return !is_variable(t) && occurs(s, t) ? Order::kLess : Order::kIncomparable;
  if (is_variable(t)) return occurs(t, s) ? Order::kGreater : Order::kIncomparable;
  std::int64_t weight = 0;
  balance().clear();
  weigh(s, 1, weight);
  weigh(t, -1, weight);
  // s can be greater only if every variable occurs in it at least as often
  // as in t, and t only the other way round.
  bool s_lacks = false, t_lacks = false;
  for (const auto& cell : balance()) {
    s_lacks = s_lacks || cell.second < 0;
    t_lacks = t_lacks || cell.second > 0;
  }
  Order order = Order::kEqual;
  if (weight != 0) {
    order = weight > 0 ? Order::kGreater : Order::kLess;
  } else if (s_lacks && t_lacks) {
    return Order::kIncomparable;
  } else if (const int precedence = compare_precedence(s->functor, t->functor); precedence != 0) {
    order = precedence > 0 ? Order::kGreater : Order::kLess;
  } else {
    for (std::int64_t i = 0; i < s->functor->arity; ++i) {
      Term* a = Prover::ref(s->args[i]);
      Term* b = Prover::ref(t->args[i]);
      if (!Prover::ref_equal(a, b)) {
        order = compare(a, b);
        break;
      }
    }
  }
  if ((order == Order::kGreater && s_lacks) || (order == Order::kLess && t_lacks))
    return Order::kIncomparable;
  return order;
}

bool greater(Term* s, Term* t) {
  return compare(s, t) == Order::kGreater;
}

bool may_hold(Term* s, Term* t, bool strict) {
  const Order order = compare(s, t);
  return order != Order::kLess && !(strict && order == Order::kEqual);
}

}  // namespace velkor::equality
