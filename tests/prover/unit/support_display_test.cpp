// Printing literals with their bindings, proofs with the instances used, and
// the per-level inference line.
#include <string>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class DisplayTest : public ProverTest {
 protected:
  std::string comp(const Literal* l) {
    output();
    p->display_comp_subgoal(l);
    return output();
  }
};

TEST_F(DisplayTest, ShowsCurrentBindingsThroughChains) {
  load(
      "input_clause(c1,axiom,[--p(X,Y)]).\n"
      "input_clause(c2,axiom,[++q(f(a))]).\n"
      "input_clause(c3,axiom,[++r(Z,b)]).");
  Term* x = literal(1, 0)->args[0];
  Term* y = literal(1, 0)->args[1];
  Term* z = literal(3, 0)->args[0];
  p->push_mark();
  p->bind(x, literal(2, 0)->args[0]);
  EXPECT_EQ(show(literal(1, 0)), "--p(f(a),Y)");
  EXPECT_EQ(comp(literal(1, 0)), "++p(f(a),Y)");
  p->bind(y, z);
  EXPECT_EQ(show(literal(1, 0)), "--p(f(a),Z)");
  p->bind(z, literal(3, 0)->args[1]);
  EXPECT_EQ(show(literal(1, 0)), "--p(f(a),b)");
  p->unbind_vars();
  EXPECT_EQ(show(literal(1, 0)), "--p(X,Y)");
}

TEST_F(DisplayTest, PropositionalAndEqualityLiterals) {
  load("input_clause(c1,axiom,[++q,--equal(X,g(Y,a)),++equal(a,X)]).");
  EXPECT_EQ(show(literal(1, 0)), "++q");
  EXPECT_EQ(comp(literal(1, 0)), "--q");
  EXPECT_EQ(show(literal(1, 1)), "--equal(X,g(Y,a))");
  EXPECT_EQ(comp(literal(1, 1)), "++equal(X,g(Y,a))");
  EXPECT_EQ(show(subgoal(1, 2)), "++equal(a,X)");
  EXPECT_EQ(comp(subgoal(1, 2)), "--equal(a,X)");
}

// `equal` is the one word whose stored name differs from its spelling; as a
// function symbol it must still print as written, or a printed lemma or
// proof would not read back (EQUAL is a variable there).
TEST_F(DisplayTest, EqualAsFunctionSymbolPrintsAsWritten) {
  load("input_clause(c1,axiom,[++p(equal,equal(a,X))]).");
  EXPECT_EQ(show(literal(1, 0)), "++p(equal,equal(a,X))");
}

TEST_F(DisplayTest, ProofClausesListEachUsedClauseOnceWithEveryCopyInUse) {
  load(
      "input_clause(c1,axiom,[++p(X),--q(X)]).\n"
      "input_clause(c2,conjecture,[--p(a)]).\n"
      "input_clause(c3,axiom,[++q(Y)]).");
  Clause* c1 = clause(1);
  p->append_copy(c1, p->make_clause_copy(c1->literals, c1->length, c1, nullptr));
  c1->free_copies = 2;  // both copies in use
  clause(3)->free_copies = 1;
  Term* a = literal(2, 0)->args[0];
  p->push_mark();
  p->bind(c1->copies[0]->subgoals[0].args[0], a);
  p->bind(clause(3)->copies[0]->subgoals[0].args[0], a);
  output();
  p->display_proof_clauses(p->formula_clauses);
  EXPECT_EQ(output(),
            "\nclause 1: ++p(X)--q(X)\ncopies: ++p(a)--q(a)\n        ++p(X)--q(X)\n        "
            "\nclause 3: ++q(Y)\ncopies: ++q(a)\n        "
            "\n");
  p->unbind_vars();

  clause(1)->free_copies = 0;
  clause(3)->free_copies = 0;
  p->display_proof_clauses(p->formula_clauses);
  EXPECT_EQ(output(), "\n");
}

TEST_F(DisplayTest, InferenceLineColumnsFollowTheSettingsAndCountsMoveToTotals) {
  p->sgindex = true;
  p->constraints = true;
  p->successful_inferences = 120;
  p->successful_matchings = 7;
  p->failed_inferences = 45;
  p->constraint_fails = 2;
  p->display_inferences(3);
  EXPECT_EQ(output(), "Lev. 3: inferences: succ match fail constr: 120 7 45 2\n");
  EXPECT_EQ(p->successful_inferences + p->successful_matchings + p->failed_inferences +
                p->constraint_fails,
            0);

  p->sgindex = false;
  p->constraints = false;
  p->successful_inferences = 1;
  p->successful_matchings = 10;
  p->failed_inferences = 0;
  p->constraint_fails = 20;
  p->display_inferences(4);
  EXPECT_EQ(output(), "Lev. 4: inferences: succ fail: 1 0\n");
  // All four totals grow, whatever the settings.
  EXPECT_EQ(p->total_successful_inferences, 121);
  EXPECT_EQ(p->total_successful_matchings, 17);
  EXPECT_EQ(p->total_failed_inferences, 45);
  EXPECT_EQ(p->total_constraint_fails, 22);
  EXPECT_EQ(p->successful_matchings, 0);
  EXPECT_EQ(p->constraint_fails, 0);

  p->constraints = true;
  p->display_inferences(5);
  EXPECT_EQ(output(), "Lev. 5: inferences: succ fail constr: 0 0 0\n");
}

}  // namespace
}  // namespace velkor::testing
