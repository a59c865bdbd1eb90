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

// The search's terms as the ordering reads them: through the bindings of
// the current tableau, every symbol and variable of weight 1.
struct SearchTerms {
  using Ref = Term*;

  static Term* deref(Term* t) { return Prover::ref(t); }
  static bool identical(Term* s, Term* t) { return s == t; }
  static bool equal(Term* s, Term* t) { return Prover::ref_equal(s, t); }
  static bool is_variable(Term* t) { return velkor::is_variable(t); }
  static std::int64_t arity(Term* t) { return t->functor->arity; }
  static Term* arg(Term* t, std::int64_t i) { return t->args[i]; }

  static bool occurs(Term* v, Term* t) {
    t = Prover::ref(t);
    if (t == v) return true;
    if (velkor::is_variable(t)) return false;
    for (std::int64_t i = 0; i < t->functor->arity; ++i)
      if (occurs(v, t->args[i])) return true;
    return false;
  }

  static void begin_balance() { balance().clear(); }

  static void weigh(Term* t, std::int64_t sign, std::int64_t& weight) {
    t = Prover::ref(t);
    weight += sign;
    if (velkor::is_variable(t)) {
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

  static void read_balance(bool& s_lacks, bool& t_lacks) {
    for (const auto& cell : balance()) {
      s_lacks = s_lacks || cell.second < 0;
      t_lacks = t_lacks || cell.second > 0;
    }
  }

  static int compare_precedence(Term* s, Term* t) {
    const Functor* f = s->functor;
    const Functor* g = t->functor;
    if (f == g) return 0;
    return order::compare_by_arity_and_occurrence(f->arity, f->number, g->arity, g->number);
  }
};

}  // namespace

Order compare(Term* s, Term* t) {
  SearchTerms view;
  return order::compare(view, s, t);
}

bool greater(Term* s, Term* t) {
  return compare(s, t) == Order::kGreater;
}

bool may_hold(Term* s, Term* t, bool strict) {
  const Order order = compare(s, t);
  return order != Order::kLess && !(strict && order == Order::kEqual);
}

}  // namespace velkor::equality
