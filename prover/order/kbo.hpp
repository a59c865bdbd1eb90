// The Knuth-Bendix ordering, written once for every term representation
// that orders terms: the tableau's terms read through their bindings (the
// equality modification's constraints) and the saturation engine's shared
// terms.  Each supplies a small view of its terms; the comparison itself,
// the precedence by arity and occurrence and the variable condition are
// the same code for both, so the two engines cannot drift apart.
//
// s > t when every variable occurs in s at least as often as in t and s is
// heavier, or as heavy with a greater head symbol, or the same head and the
// first differing arguments ordered so.  Symbols weigh at least as much as
// a variable (1), which makes a term greater than each variable it
// contains; with a total precedence the ordering is total on ground terms.
// On terms with variables the answer holds for every instance.
#pragma once

#include <cstdint>

namespace velkor::order {

enum class Order : std::uint8_t { kGreater, kLess, kEqual, kIncomparable };

inline Order reverse(Order o) {
  return o == Order::kGreater ? Order::kLess : o == Order::kLess ? Order::kGreater : o;
}

// The default precedence: a symbol of greater arity is greater, and among
// symbols of one arity the one met later in the problem (greater rank) is
// greater, so constants are the smallest terms of their weight.  -1, 0, 1.
inline int compare_by_arity_and_occurrence(std::int64_t arity_f, std::int64_t rank_f,
                                           std::int64_t arity_g, std::int64_t rank_g) {
  if (arity_f != arity_g) return arity_f < arity_g ? -1 : 1;
  if (rank_f != rank_g) return rank_f < rank_g ? -1 : 1;
  return 0;
}

// A view V of terms of type V::Ref provides:
//   Ref  deref(Ref)                  the term a variable stands for, if bound
//   bool identical(Ref, Ref)         the same dereferenced term (a cheap test)
//   bool equal(Ref, Ref)             the same term, read through bindings
//   bool is_variable(Ref)
//   bool occurs(Ref var, Ref t)      var occurs in t
//   void begin_balance()             forget the variables counted so far
//   void weigh(Ref t, int64 sign, int64& weight)
//                                    add sign * weight of t, and count its
//                                    variable occurrences with that sign
//   void read_balance(bool& s_lacks, bool& t_lacks)
//                                    some variable counted negative / positive
//   int  compare_precedence(Ref, Ref)  of the head symbols: -1, 0, 1
//   std::int64_t arity(Ref); Ref arg(Ref, std::int64_t i)
template <class View>
Order compare(View& view, typename View::Ref s, typename View::Ref t) {
  s = view.deref(s);
  t = view.deref(t);
  if (view.identical(s, t)) return Order::kEqual;
  if (view.is_variable(s))
    return !view.is_variable(t) && view.occurs(s, t) ? Order::kLess : Order::kIncomparable;
  if (view.is_variable(t)) return view.occurs(t, s) ? Order::kGreater : Order::kIncomparable;
  std::int64_t weight = 0;
  view.begin_balance();
  view.weigh(s, 1, weight);
  view.weigh(t, -1, weight);
  // s can be greater only if every variable occurs in it at least as often
  // as in t, and t only the other way round.
  bool s_lacks = false, t_lacks = false;
  view.read_balance(s_lacks, t_lacks);
  Order order = Order::kEqual;
  if (weight != 0) {
    order = weight > 0 ? Order::kGreater : Order::kLess;
  } else if (s_lacks && t_lacks) {
    return Order::kIncomparable;
  } else if (const int precedence = view.compare_precedence(s, t); precedence != 0) {
    order = precedence > 0 ? Order::kGreater : Order::kLess;
  } else {
    const std::int64_t n = view.arity(s);
    for (std::int64_t i = 0; i < n; ++i) {
      auto a = view.deref(view.arg(s, i));
      auto b = view.deref(view.arg(t, i));
      if (!view.equal(a, b)) {
        order = compare(view, a, b);
        break;
      }
    }
  }
  if ((order == Order::kGreater && s_lacks) || (order == Order::kLess && t_lacks))
    return Order::kIncomparable;
  return order;
}

}  // namespace velkor::order
