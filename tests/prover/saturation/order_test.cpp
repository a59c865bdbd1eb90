// The ordering of the saturation engine on random shared terms: the
// properties superposition relies on (a strict order total on ground terms,
// with the subterm property, stable under substitution), and literals as
// multisets of their sides.
#include "prover/saturation/order.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace velkor::saturation {
namespace {

class OrderTest : public ::testing::Test {
 protected:
  OrderTest() : rng_(5) {
    std::int64_t rank = 0;
    for (std::uint32_t arity : {0u, 0u, 1u, 1u, 2u}) {
      SymbolInfo info;
      info.arity = arity;
      info.rank = rank++;
      symbols_.push_back(bank_.add_symbol(info));
    }
  }
  Term* term(int depth, bool ground) {
    const int pick = static_cast<int>(rng_() % 10);
    if (!ground && pick < 2) return bank_.variable(static_cast<std::uint32_t>(rng_() % 3));
    if (depth == 0 || pick < 4) return bank_.make(symbols_[rng_() % 2], nullptr);
    const std::uint32_t s = symbols_[2 + rng_() % 3];
    std::vector<Term*> args;
    for (std::uint32_t i = 0; i < bank_.symbol(s).arity; ++i)
      args.push_back(term(depth - 1, ground));
    return bank_.make(s, args.data());
  }
  // t with variable v replaced by ground[v].
  Term* ground_instance(Term* t, const std::vector<Term*>& ground) {
    if (t->ground) return t;
    if (t->variable) return ground[t->symbol];
    std::vector<Term*> args;
    for (std::uint32_t i = 0; i < t->arity; ++i)
      args.push_back(ground_instance(t->args[i], ground));
    return bank_.make(t->symbol, args.data());
  }

  TermBank bank_;
  Ordering ordering_{bank_};
  std::mt19937 rng_;
  std::vector<std::uint32_t> symbols_;
};

TEST_F(OrderTest, StrictTotalOnGroundStableAndWithSubterms) {
  int greater = 0;
  for (int n = 0; n < 3000; ++n) {
    Term* s = term(3, false);
    Term* t = term(3, false);
    const Order st = ordering_.compare(s, t);
    EXPECT_EQ(ordering_.compare(s, s), Order::kEqual);
    EXPECT_EQ(order::reverse(st), ordering_.compare(t, s));
    if (s->ground && t->ground && s != t) {
      EXPECT_NE(st, Order::kIncomparable);
    }
    for (std::uint32_t i = 0; i < s->arity; ++i)
      EXPECT_EQ(ordering_.compare(s, s->args[i]), Order::kGreater);
    if (st != Order::kGreater) continue;
    ++greater;
    std::vector<Term*> ground{term(2, true), term(2, true), term(2, true)};
    EXPECT_EQ(ordering_.compare(ground_instance(s, ground), ground_instance(t, ground)),
              Order::kGreater);
    Term* u = term(3, false);
    if (ordering_.compare(t, u) == Order::kGreater) {
      EXPECT_EQ(ordering_.compare(s, u), Order::kGreater);
    }
  }
  EXPECT_GT(greater, 300);
}

TEST_F(OrderTest, LiteralsAsMultisetsOfSides) {
  Term* a = bank_.make(symbols_[0], nullptr);
  Term* b = bank_.make(symbols_[1], nullptr);
  Term* fa = bank_.make(symbols_[2], &a);
  Term* x = bank_.variable(0);
  // With the same greatest side the negative literal is the greater.
  EXPECT_EQ(ordering_.compare_literals(fa, a, false, fa, b, true), Order::kGreater);
  EXPECT_EQ(ordering_.compare_literals(fa, a, true, fa, b, true), Order::kLess);
  EXPECT_EQ(ordering_.compare_literals(a, fa, true, fa, a, true), Order::kEqual);
  EXPECT_EQ(ordering_.compare_literals(fa, b, true, b, a, false), Order::kGreater);
  // A variable is below nothing ground: the literals stay incomparable.
  EXPECT_EQ(ordering_.compare_literals(x, a, true, b, a, true), Order::kIncomparable);
}

}  // namespace
}  // namespace velkor::saturation
