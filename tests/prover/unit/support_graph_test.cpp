// The connection graph, the equality links and the clause order they follow.
#include <string>
#include <utility>
#include <vector>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

using Entries = std::vector<std::pair<std::int64_t, std::int64_t>>;  // (clause number, index)

Entries entries(const ConnectionList* list) {
  Entries result;
  for (std::int64_t i = 0; i < list->count; ++i)
    result.emplace_back(list->entries[i].clause->number, list->entries[i].index);
  return result;
}

class GraphTest : public ProverTest {
 protected:
  void build(const std::string& text) {
    load(text);
    p->make_connection_graph(p->formula_clauses, p->formula_clauses);
  }
  Entries links(std::size_t number, std::int64_t index) {
    return entries(literal(number, index)->connections);
  }
};

TEST_F(GraphTest, HornProblemConnectsUnifiablePartnersWithoutMarker) {
  build(
      "input_clause(c1,axiom,[++p(X)]).\n"
      "input_clause(c2,conjecture,[--p(f(Y)),--q]).");
  EXPECT_EQ(links(1, 0), (Entries{{2, 0}}));
  EXPECT_EQ(links(2, 0), (Entries{{1, 0}}));
  EXPECT_EQ(links(2, 1), Entries{});
  for (auto [n, i] : Entries{{1, 0}, {2, 0}, {2, 1}}) {
    EXPECT_FALSE(literal(n, i)->connections->reduction);
    // The first copy's subgoal uses the literal's own list.
    EXPECT_EQ(subgoal(n, i)->connections, literal(n, i)->connections);
  }
  // The unification tests leave no binding behind.
  EXPECT_EQ(p->trail_top, 0u);
  EXPECT_EQ(literal(1, 0)->args[0]->binding, nullptr);
  EXPECT_EQ(subgoal(1, 0)->args[0]->binding, nullptr);
}

TEST_F(GraphTest, ConnectsAClauseWithItselfThroughItsCopy) {
  // Without renaming, X and f(X) would fail the occurs check.
  build("input_clause(c1,axiom,[++p(X),--p(f(X))]).");
  EXPECT_EQ(links(1, 0), (Entries{{1, 1}}));
  EXPECT_EQ(links(1, 1), (Entries{{1, 0}}));
}

TEST_F(GraphTest, EntriesFollowClauseOrderThenIndexAndCheckRepeatedVariables) {
  build(
      "input_clause(c1,axiom,[++p(X,X)]).\n"
      "input_clause(c2,axiom,[--p(a,b),--p(a,Y),--q(X),--p(Z,c)]).\n"
      "input_clause(c3,axiom,[--p(b,b),++p(a,b)]).");
  EXPECT_EQ(links(1, 0), (Entries{{2, 1}, {2, 3}, {3, 0}}));
  EXPECT_EQ(links(2, 0), (Entries{{3, 1}}));  // p(X,X) cannot take a and b
  EXPECT_EQ(links(2, 3), (Entries{{1, 0}}));
  EXPECT_EQ(links(3, 1), (Entries{{2, 0}, {2, 1}}));
  EXPECT_EQ(links(2, 2), Entries{});
}

TEST_F(GraphTest, ReductionMarkerHeadsEveryListWhenNonHornOrFoldingUp) {
  build(
      "input_clause(c1,axiom,[++p(a),++q]).\n"
      "input_clause(c2,axiom,[--p(b)]).\n"
      "input_clause(c3,axiom,[--r]).");
  for (auto [n, i] : Entries{{1, 0}, {1, 1}, {2, 0}, {3, 0}})
    EXPECT_TRUE(literal(n, i)->connections->reduction) << n << "," << i;
  EXPECT_EQ(links(2, 0), Entries{});
}

TEST_F(GraphTest, FoldupMarksConnectionListsButNotTheEqualityLinks) {
  p->foldup = true;
  p->equality = true;
  build(
      "input_clause(c1,axiom,[--equal(a,b)]).\n"
      "input_clause(c2,axiom,[--p(X),++equal(X,f(X))]).\n"
      "input_clause(c3,axiom,[++equal(X,X)]).");
  p->make_eq_links(p->formula_clauses);
  EXPECT_TRUE(literal(1, 0)->connections->reduction);
  EXPECT_EQ(entries(p->eq_links), (Entries{{2, 1}, {3, 0}}));
  EXPECT_FALSE(p->eq_links->reduction);
  // In equality mode partners are connected without a unification test.
  EXPECT_EQ(links(1, 0), (Entries{{2, 1}, {3, 0}}));
}

TEST_F(GraphTest, EqualityLinksOfANonHornProblemStartWithTheMarker) {
  p->equality = true;
  build(
      "input_clause(c1,axiom,[++q,++r]).\n"
      "input_clause(c2,axiom,[--equal(X,Y)]).\n"
      "input_clause(c3,axiom,[++equal(X,X)]).");
  p->make_eq_links(p->formula_clauses);
  EXPECT_EQ(entries(p->eq_links), (Entries{{3, 0}}));
  EXPECT_TRUE(p->eq_links->reduction);
}

TEST_F(GraphTest, EntriesFollowTheSortedClauseOrder) {
  load(
      "input_clause(c1,axiom,[++p(f(a)),--r]).\n"
      "input_clause(c2,axiom,[++p(X)]).\n"
      "input_clause(c3,axiom,[--p(Y)]).");
  Prover::sort_clauses(p->formula_clauses);
  p->make_connection_graph(p->formula_clauses, p->formula_clauses);
  EXPECT_EQ(entries(clause(2)->literals[0].connections), (Entries{{2, 0}, {1, 0}}));
}

// Clause order: length first, then term size; exchanges make it unstable.
class OrderingTest : public ProverTest {
 protected:
  std::vector<std::int64_t> sorted_numbers() {
    std::vector<Clause*> clauses = p->formula_clauses;
    Prover::sort_clauses(clauses);
    std::vector<std::int64_t> numbers;
    for (const Clause* c : clauses) numbers.push_back(c->number);
    return numbers;
  }
};

TEST_F(OrderingTest, EqualClausesAreNotStableUnderExchanges) {
  load(
      "input_clause(a,axiom,[++p(a,b),++q(c)]).\n"
      "input_clause(a2,axiom,[++p(c,b),++q(a)]).\n"
      "input_clause(b,axiom,[++r]).");
  ASSERT_EQ(clause(1)->term_size, 3);
  ASSERT_EQ(clause(2)->term_size, 3);
  EXPECT_FALSE(Prover::clause_bigger(clause(1), clause(2)));
  EXPECT_FALSE(Prover::clause_bigger(clause(2), clause(1)));
  EXPECT_EQ(sorted_numbers(), (std::vector<std::int64_t>{3, 2, 1}));
}

TEST_F(OrderingTest, LengthDecidesBeforeTermSize) {
  load(
      "input_clause(a,axiom,[++p(f(a,b,c)),--q(d)]).\n"
      "input_clause(b,axiom,[++p(a),--q(b)]).\n"
      "input_clause(c,axiom,[++r,++s,++t]).\n"
      "input_clause(d,axiom,[++p(f(a,b,c,d,e,g,h)),--s]).");
  EXPECT_EQ(clause(1)->term_size, 5);
  EXPECT_EQ(clause(4)->term_size, 8);
  EXPECT_TRUE(Prover::clause_bigger(clause(3), clause(4)));
  EXPECT_FALSE(Prover::clause_bigger(clause(4), clause(3)));
  EXPECT_EQ(sorted_numbers(), (std::vector<std::int64_t>{2, 1, 4, 3}));
}

}  // namespace
}  // namespace velkor::testing
