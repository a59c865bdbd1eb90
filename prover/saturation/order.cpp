// The bank's view of the shared Knuth-Bendix ordering, and literals as
// multisets of their sides.
#include "prover/saturation/order.hpp"

#include <algorithm>

namespace velkor::saturation {
namespace {

// Weights beyond this are treated alike; clauses that heavy are never kept.
constexpr std::uint64_t kWeightCap = std::uint64_t{1} << 60;

std::int64_t capped(std::uint64_t w) {
  return static_cast<std::int64_t>(std::min(w, kWeightCap));
}

// Terms of the instance side, and pattern terms read through a matcher's
// bindings (whose images are instance terms).
struct Matched {
  Term* term;
  bool pattern;
};

class MatchedView {
 public:
  using Ref = Matched;
  MatchedView(Ordering& ordering, const Matcher& matcher)
      : ordering_(ordering), matcher_(matcher) {}

  Matched deref(Matched r) const {
    if (r.pattern && r.term->variable) {
      if (Term* b = matcher_.binding(r.term->symbol)) return Matched{b, false};
    }
    return r;
  }
  static bool identical(Matched a, Matched b) {
    return a.term == b.term && (a.pattern == b.pattern || a.term->ground);
  }
  bool equal(Matched a, Matched b) const {
    a = deref(a);
    b = deref(b);
    if (identical(a, b)) return true;
    if (a.term->variable || b.term->variable || a.term->symbol != b.term->symbol) return false;
    for (std::uint32_t i = 0; i < a.term->arity; ++i)
      if (!equal(arg(a, i), arg(b, i))) return false;
    return true;
  }
  static bool is_variable(Matched r) { return r.term->variable; }
  static std::int64_t arity(Matched r) { return r.term->arity; }
  static Matched arg(Matched r, std::int64_t i) { return Matched{r.term->args[i], r.pattern}; }
  bool occurs(Matched v, Matched t) const {
    t = deref(t);
    if (!t.pattern) return occurs_in(v.term->symbol, t.term);
    if (t.term->ground) return false;
    for (std::uint32_t i = 0; i < t.term->arity; ++i)
      if (occurs(v, arg(t, i))) return true;
    return false;
  }
  void begin_balance() { ordering_.begin_balance(); }
  void weigh(Matched r, std::int64_t sign, std::int64_t& weight) {
    r = deref(r);
    if (!r.pattern || r.term->ground || r.term->variable) {
      ordering_.weigh(r.term, sign, weight);
      return;
    }
    weight += sign * ordering_.symbol_weight(r.term->symbol);
    for (std::uint32_t i = 0; i < r.term->arity; ++i) weigh(arg(r, i), sign, weight);
  }
  void read_balance(bool& s_lacks, bool& t_lacks) const {
    ordering_.read_balance(s_lacks, t_lacks);
  }
  int compare_precedence(Matched s, Matched t) const {
    return ordering_.compare_precedence(s.term, t.term);
  }

 private:
  Ordering& ordering_;
  const Matcher& matcher_;
};

}  // namespace

bool Ordering::greater_than_instance(Term* t, Term* pattern, const Matcher& matcher,
                                     bool permuted) {
  MatchedView view(*this, matcher);
  const Matched s{t, false}, u{pattern, true};
  if (!permuted || t->variable || pattern->variable)
    return order::compare(view, s, u) == Order::kGreater;
  if (const int p = compare_precedence(t, pattern); p != 0) return p > 0;
  for (std::uint32_t i = 0; i < t->arity; ++i)
    if (!view.equal(view.arg(s, i), view.arg(u, i)))
      return order::compare(view, view.arg(s, i), view.arg(u, i)) == Order::kGreater;
  return false;
}

Order Ordering::compare(Term* s, Term* t) {
  return order::compare(*this, s, t);
}

void Ordering::begin_balance() {
  for (std::uint32_t v : counted_) balance_[v] = 0;
  counted_.clear();
}

void Ordering::weigh(Term* t, std::int64_t sign, std::int64_t& weight) {
  if (t->ground) {
    weight += sign * capped(t->weight);
    return;
  }
  if (t->variable) {
    weight += sign;
    if (t->symbol >= balance_.size()) balance_.resize(std::size_t{t->symbol} + 1, 0);
    if (balance_[t->symbol] == 0) counted_.push_back(t->symbol);
    balance_[t->symbol] += sign;
    return;
  }
  weight += sign * bank_.symbol(t->symbol).weight;
  for (std::uint32_t i = 0; i < t->arity; ++i) weigh(t->args[i], sign, weight);
}

void Ordering::read_balance(bool& s_lacks, bool& t_lacks) const {
  for (std::uint32_t v : counted_) {
    s_lacks = s_lacks || balance_[v] < 0;
    t_lacks = t_lacks || balance_[v] > 0;
  }
}

int Ordering::compare_precedence(Term* s, Term* t) const {
  if (s->symbol == t->symbol) return 0;
  const std::int64_t a = bank_.symbol(s->symbol).rank, b = bank_.symbol(t->symbol).rank;
  return a < b ? -1 : 1;
}

Order Ordering::compare_literals(Term* l1, Term* r1, bool positive1, Term* l2, Term* r2,
                                 bool positive2) {
  // The multisets, each side twice for a negative literal; common members
  // cancel, and what is left of one must dominate what is left of the other.
  Term* a[4] = {l1, r1, l1, r1};
  Term* b[4] = {l2, r2, l2, r2};
  std::size_t na = positive1 ? 2 : 4, nb = positive2 ? 2 : 4;
  bool gone_a[4] = {}, gone_b[4] = {};
  for (std::size_t i = 0; i < na; ++i)
    for (std::size_t j = 0; j < nb; ++j)
      if (!gone_b[j] && a[i] == b[j]) {
        gone_a[i] = gone_b[j] = true;
        break;
      }
  // Comparisons of the distinct sides, made once each.
  Order memo[2][2];
  bool known[2][2] = {};
  auto cmp = [&](std::size_t i, std::size_t j) {
    std::size_t x = i % 2, y = j % 2;
    if (!known[x][y]) {
      memo[x][y] = compare(a[x], b[y]);
      known[x][y] = true;
    }
    return memo[x][y];
  };
  bool left_a = false, left_b = false;
  for (std::size_t i = 0; i < na; ++i) left_a = left_a || !gone_a[i];
  for (std::size_t j = 0; j < nb; ++j) left_b = left_b || !gone_b[j];
  if (!left_a && !left_b) return Order::kEqual;
  // a > b: every remaining member of b is below some remaining member of a.
  auto dominates = [&](bool a_over_b) {
    const std::size_t n_small = a_over_b ? nb : na, n_big = a_over_b ? na : nb;
    const bool* gone_small = a_over_b ? gone_b : gone_a;
    const bool* gone_big = a_over_b ? gone_a : gone_b;
    for (std::size_t j = 0; j < n_small; ++j) {
      if (gone_small[j]) continue;
      bool covered = false;
      for (std::size_t i = 0; i < n_big && !covered; ++i) {
        if (gone_big[i]) continue;
        const Order o = a_over_b ? cmp(i, j) : cmp(j, i);
        covered = a_over_b ? o == Order::kGreater : o == Order::kLess;
      }
      if (!covered) return false;
    }
    return true;
  };
  if (left_a && dominates(true)) return Order::kGreater;
  if (left_b && dominates(false)) return Order::kLess;
  return Order::kIncomparable;
}

}  // namespace velkor::saturation
