// The reduction ordering of the saturation engine: the shared Knuth-Bendix
// ordering (prover/order/kbo.hpp) on the term bank's terms, and its
// extension to literals.
//
// A shared term knows its weight and whether it is ground, so the view
// weighs a ground subterm without walking it and only counts the
// variables of the rest.  A literal is ordered as the multiset of its
// sides, {s, t} for s = t and {s, s, t, t} for s != t; a predicate literal
// is an equation of its atom with the truth constant, the smallest term.
#pragma once

#include <cstdint>
#include <vector>

#include "prover/order/kbo.hpp"
#include "prover/saturation/substitution.hpp"
#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

using order::Order;

class Ordering {
 public:
  explicit Ordering(const TermBank& bank) : bank_(bank) {}

  Order compare(Term* s, Term* t);
  bool greater(Term* s, Term* t) { return compare(s, t) == Order::kGreater; }
  // Whether t > pattern under the matcher's bindings (all of the pattern's
  // variables bound), without building the instance: rewriting with an
  // unorientable equation asks this of every term its side matches.
  // `permuted`: the pattern and t are instances of the two sides of an
  // equation with the same symbols and variables as often (commutativity,
  // say), so they weigh the same and the comparison starts at the heads.
  bool greater_than_instance(Term* t, Term* pattern, const Matcher& matcher, bool permuted);

  // Literals l1 = r1 (positive1) against l2 = r2 (positive2).
  Order compare_literals(Term* l1, Term* r1, bool positive1, Term* l2, Term* r2, bool positive2);

  // The members the shared comparison reads (see prover/order/kbo.hpp).
  using Ref = Term*;
  static Term* deref(Term* t) { return t; }
  static bool identical(Term* s, Term* t) { return s == t; }
  static bool equal(Term* s, Term* t) { return s == t; }
  static bool is_variable(Term* t) { return t->variable; }
  static std::int64_t arity(Term* t) { return t->arity; }
  static Term* arg(Term* t, std::int64_t i) { return t->args[i]; }
  static bool occurs(Term* v, Term* t) { return occurs_in(v->symbol, t); }
  void begin_balance();
  void weigh(Term* t, std::int64_t sign, std::int64_t& weight);
  void read_balance(bool& s_lacks, bool& t_lacks) const;
  int compare_precedence(Term* s, Term* t) const;
  std::int64_t symbol_weight(std::uint32_t symbol) const { return bank_.symbol(symbol).weight; }

 private:
  const TermBank& bank_;
  std::vector<std::int64_t> balance_;   // by variable number
  std::vector<std::uint32_t> counted_;  // variables with a count
};

}  // namespace velkor::saturation
