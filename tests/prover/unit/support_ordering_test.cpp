// The clause order: shorter clauses first, then smaller terms. It is a
// selection sort by exchange, whose tie behaviour decides the order of
// extension partners once clauses are reordered, so ties must stay ties.
#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

TEST_F(ProverTest, ClauseOrderIsLengthThenTermSizeAndTiesAreNotExchanged) {
  load(
      "input_clause(a,axiom,[++p(a,b),++q(c)]).\n"
      "input_clause(a2,axiom,[++p(c,b),++q(a)]).\n"
      "input_clause(b,axiom,[++r,++s,++t]).\n"
      "input_clause(c,axiom,[++p(f(a,b,c,d,e,g,h)),--s]).\n"
      "input_clause(d,axiom,[++r]).");
  EXPECT_FALSE(Prover::clause_bigger(clause(1), clause(2)));
  EXPECT_FALSE(Prover::clause_bigger(clause(2), clause(1)));
  EXPECT_TRUE(Prover::clause_bigger(clause(3), clause(4)));
  EXPECT_TRUE(Prover::clause_bigger(clause(4), clause(1)));
  std::vector<Clause*> clauses = p->formula_clauses;
  Prover::sort_clauses(clauses);
  std::vector<std::int64_t> numbers;
  for (const Clause* c : clauses) numbers.push_back(c->number);
  EXPECT_EQ(numbers, (std::vector<std::int64_t>{5, 2, 1, 4, 3}));
}

}  // namespace
}  // namespace velkor::testing
