// The signature budget, and the complexity measures that rank open subgoals.
#include <string>
#include <utility>
#include <vector>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class SignatureTest : public ProverTest {
 protected:
  // Goal symbols p/1 and a cost nothing once the weights are prepared.
  void SetUp() override {
    p->signature_bound = true;
    load(
        "input_clause(g,conjecture,[--p(a)]).\n"
        "input_clause(c2,axiom,[++p(X),--q(X,b)]).\n"
        "input_clause(c3,axiom,[++q(f(c),b)]).\n"
        "input_clause(c4,axiom,[++p(a)]).");
    p->prepare_signature();
  }
  bool charge(std::size_t number) {
    return p->charge_signature(clause(number)->symbols, clause(number)->nr_symbols);
  }
  std::int64_t marked() {
    std::int64_t n = 0;
    for (std::int64_t w : p->sig_vector) n += w != 0;
    return n;
  }
  std::int64_t number_of(std::size_t clause_number, std::int64_t i) {
    return clause(clause_number)->symbols[i]->number;
  }
};

TEST_F(SignatureTest, RefusedChargeLeavesNoMark) {
  ASSERT_EQ(clause(2)->nr_symbols, 2);  // q/2 and b; p/1 is a goal symbol
  p->free_sig = 1;
  EXPECT_FALSE(charge(2));
  EXPECT_EQ(marked(), 0);
  EXPECT_EQ(p->sig_trail_position, 0);
}

TEST_F(SignatureTest, ChargesNewSymbolsOncePerBranchAndUndoFreesThem) {
  p->free_sig = 3;
  ASSERT_TRUE(charge(2));
  EXPECT_EQ(p->free_sig, 1);
  ASSERT_EQ(p->sig_trail_position, 2);
  // The last new symbol of the list is marked first.
  EXPECT_EQ(p->sig_trail[0], number_of(2, 1));
  EXPECT_EQ(p->sig_trail[1], number_of(2, 0));

  // Clause 3 needs q/2 and b (already paid) and f/1 and c (two more).
  EXPECT_FALSE(charge(3));
  EXPECT_EQ(marked(), 2);
  p->undo_signature(2, 1);  // the caller restores the budget after a refusal
  p->free_sig = 2;
  ASSERT_TRUE(charge(3));
  EXPECT_EQ(p->free_sig, 0);
  EXPECT_EQ(p->sig_trail_position, 4);

  p->undo_signature(2, 2);  // backtrack over the step into clause 3
  EXPECT_EQ(p->free_sig, 2);
  EXPECT_EQ(marked(), 2);
  EXPECT_EQ(p->sig_vector[static_cast<std::size_t>(number_of(3, 2))], 0);
  p->undo_signature(0, 3);
  EXPECT_EQ(marked(), 0);
  EXPECT_EQ(p->free_sig, 3);
}

TEST_F(SignatureTest, ZeroBudgetAdmitsOnlyClausesOfGoalSymbols) {
  p->free_sig = 0;
  EXPECT_EQ(clause(4)->nr_symbols, 0);
  EXPECT_TRUE(charge(4));
  EXPECT_TRUE(charge(1));
  EXPECT_FALSE(charge(2));
  EXPECT_EQ(marked(), 0);
}

class ComplexityTest : public ProverTest {
 protected:
  std::pair<std::int64_t, std::int64_t> measure(std::int64_t index) {
    std::int64_t complexity = -1, vars = -1;
    p->subgoal_complexity(subgoal(1, index), complexity, vars);
    return {complexity, vars};
  }
  void load_subgoals() {
    load(
        "input_clause(c1,axiom,[++p(X,X),++p(X,Y),++p(a,f(X)),++q,++r(X,X,X),"
        "++p(f(X),g(Y,a)),++p(X,f(X))]).");
  }
  using Result = std::vector<std::pair<std::int64_t, std::int64_t>>;
  Result measure_all() {
    Result r;
    for (std::int64_t i = 0; i < 7; ++i) r.push_back(measure(i));
    return r;
  }
};

TEST_F(ComplexityTest, PlainMeasureIgnoresVariables) {
  load_subgoals();
  EXPECT_EQ(measure_all(),
            (Result{{0, 1}, {0, 2}, {750, 1}, {1000, 0}, {0, 1}, {625, 2}, {250, 1}}));
  // Every mark is gone again.
  EXPECT_EQ(p->trail_top, 0u);
  for (std::int64_t i = 0; i < 2; ++i) EXPECT_EQ(subgoal(1, 1)->args[i]->binding, nullptr);
}

TEST_F(ComplexityTest, OccurrenceMeasureRewardsRepeatedVariables) {
  p->subgoal_complexity_measure = 1;
  load_subgoals();
  EXPECT_EQ(measure_all(),
            (Result{{500, 1}, {0, 2}, {750, 1}, {1000, 0}, {666, 1}, {625, 2}, {625, 1}}));
  EXPECT_EQ(p->trail_top, 0u);
  EXPECT_EQ(subgoal(1, 4)->args[0]->binding, nullptr);
}

TEST_F(ComplexityTest, FollowsExistingBindingsAndKeepsThem) {
  load_subgoals();
  Literal* pxy = subgoal(1, 1);
  Term* x = pxy->args[0];
  Term* y = pxy->args[1];
  p->push_mark();
  p->bind(y, x);
  EXPECT_EQ(measure(1), std::make_pair(std::int64_t{0}, std::int64_t{1}));
  p->subgoal_complexity_measure = 1;
  EXPECT_EQ(measure(1), std::make_pair(std::int64_t{500}, std::int64_t{1}));
  p->bind(x, subgoal(1, 2)->args[0]);  // X := a
  EXPECT_EQ(measure(1), std::make_pair(std::int64_t{1000}, std::int64_t{0}));
  EXPECT_EQ(p->trail_top, 3u);
  EXPECT_EQ(y->binding, x);
  EXPECT_EQ(x->binding, subgoal(1, 2)->args[0]);
  p->unbind_vars();
  EXPECT_EQ(x->binding, nullptr);
}

class ReorderingTest : public ProverTest {
 protected:
  // The index of the subgoal chosen among all subgoals of clause 1, in order.
  std::int64_t choose(std::int64_t rule) {
    p->subgoal_reordering_on = true;
    p->subgoal_reordering = rule;
    p->current_subgoal = nullptr;
    p->current_complexity_known = false;
    for (std::int64_t i = 0; i < clause(1)->length; ++i) p->consider_subgoal(subgoal(1, i));
    EXPECT_EQ(p->trail_top, 0u);
    return p->current_subgoal->number - 1;
  }
};

TEST_F(ReorderingTest, RulesDecideByPredicateComplexityAndVariables) {
  load("input_clause(c1,axiom,[--q(X,Y),--p(a,b),--q(Z,a),--q(a,W),--p(c,V)]).");
  EXPECT_EQ(choose(0), 1);  // most instantiated
  EXPECT_EQ(choose(1), 1);  // fewest variables
  // Same predicate only: p(a,b) is better but never replaces q(X,Y); of the
  // equally good q(Z,a) and q(a,W) the first stays.
  EXPECT_EQ(choose(2), 2);
  EXPECT_EQ(p->current_complexity, 500);
  EXPECT_EQ(p->current_vars, 1);
  EXPECT_EQ(choose(3), 2);
  EXPECT_EQ(choose(7), 0);  // an unknown rule never replaces
}

}  // namespace
}  // namespace velkor::testing
