// Regularity: identity of literals under the current bindings, the test
// against ancestors, and the constraints that keep new subgoals from
// becoming equal to an ancestor later.
#include <cstdint>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class TermsRegularityTest : public ProverTest {
 protected:
  // Enters the first free copy of clause n from subgoal `parent`.
  ClauseCopy* enter(std::size_t n, Literal* parent) {
    ClauseCopy* copy = p->first_free_copy(clause(n));
    copy->parent = parent;
    return copy;
  }
  // Binds variable v in a step of its own and checks the constraints.
  bool bind_step(Term* v, Term* value) {
    p->push_mark();
    p->bind(v, value);
    p->push_v_mark();
    const std::size_t c_stack = p->c_stack;
    const bool ok = p->propagate_substitution();
    p->c_stack = c_stack;
    p->undo_v_trail();
    p->unbind_vars();
    return ok;
  }
};

TEST_F(TermsRegularityTest, RefEqualComparesUnderBindingsWithoutBinding) {
  load("input_clause(c1,axiom,[++p(X,Y,f(X),f(X),f(Y),g(X),g(a),a)]).");
  Term** t = literal(1, 0)->args;
  Term *x = t[0], *y = t[1];
  EXPECT_TRUE(Prover::ref_equal(x, x));
  EXPECT_FALSE(Prover::ref_equal(x, y));
  EXPECT_TRUE(Prover::ref_equal(t[2], t[3]));  // distinct cells, same structure
  EXPECT_FALSE(Prover::ref_equal(t[2], t[4]));
  EXPECT_FALSE(Prover::ref_equal(t[2], t[5]));  // different functors
  EXPECT_FALSE(Prover::ref_equal(t[5], t[6]));
  EXPECT_EQ(p->trail_top, 0u);
  p->push_mark();
  p->bind(x, t[7]);
  p->bind(y, x);
  EXPECT_TRUE(Prover::ref_equal(t[5], t[6]));  // arguments are dereferenced
  EXPECT_TRUE(Prover::ref_equal(t[2], t[4]));
  EXPECT_TRUE(Prover::ref_equal(Prover::ref(y), t[7]));
}

class TermsPredecessorTest : public TermsRegularityTest {
 protected:
  void SetUp() override {
    load(
        "input_clause(c1,axiom,[--p(a),--p(f(U))])."
        "input_clause(c2,axiom,[++p(b),++q(c)])."
        "input_clause(c3,axiom,[--p(a),++p(a),--p(b),--p(X),--p(f(V)),--p(W)]).");
    root = subgoal(1, 0);    // -p(a), a start-clause subgoal
    middle = subgoal(2, 1);  // +q(c), entered from root
    enter(2, root);
    enter(3, middle);
  }
  Literal* root;
  Literal* middle;
};

TEST_F(TermsPredecessorTest, SameSignPredicateAndArgumentsAnywhereUpTheChain) {
  EXPECT_FALSE(p->no_equal_predecessor(subgoal(3, 0), middle));  // -p(a) two levels up
  EXPECT_TRUE(p->no_equal_predecessor(subgoal(3, 1), middle));   // +p(a): other sign
  EXPECT_TRUE(p->no_equal_predecessor(subgoal(3, 2), middle));   // -p(b)
  EXPECT_TRUE(p->no_equal_predecessor(subgoal(3, 0), nullptr));  // no ancestor at all
  EXPECT_TRUE(p->no_equal_predecessor(subgoal(2, 0), root));     // +p(b) under -p(a)
}

TEST_F(TermsPredecessorTest, VariablesCountOnlyWhenTheyAreTheSameCell) {
  Literal* px = subgoal(3, 3);
  Literal* pfv = subgoal(3, 4);
  Literal* pw = subgoal(3, 5);
  Term* u = subgoal(1, 1)->args[0]->args[0];
  // An unbound variable argument gives up at once, even against itself.
  root->args = px->args;  // the root is now -p(X)
  EXPECT_TRUE(p->no_equal_predecessor(px, middle));
  // A bound one is compared through its binding, even if that is a variable.
  p->push_mark();
  p->bind(pw->args[0], px->args[0]);
  EXPECT_FALSE(p->no_equal_predecessor(pw, middle));
  root->args = subgoal(1, 1)->args;                   // the root is now -p(f(U))
  EXPECT_TRUE(p->no_equal_predecessor(pfv, middle));  // f(V) against f(U)
  p->bind(pfv->args[0]->args[0], u);
  EXPECT_FALSE(p->no_equal_predecessor(pfv, middle));  // shares U now
  p->unbind_vars();
}

class TermsRegularityConstraintTest : public TermsRegularityTest {
 protected:
  void SetUp() override {
    p->constraints = true;
    p->regularity = true;
    load(
        "input_clause(c1,axiom,[++q(b)])."
        "input_clause(c2,axiom,[--q(a)])."
        "input_clause(c3,axiom,[++q(b),--q(X),++q(Y),--q(a),++r(X)])."
        "input_clause(c4,axiom,[++q(c)]).");
    grandparent = subgoal(1, 0);  // +q(b)
    parent = subgoal(2, 0);       // -q(a)
    enter(2, grandparent);
    copy = enter(3, parent);
    entered = &copy->subgoals[0];  // +q(b), connected to the parent
    x = copy->subgoals[1].args[0];
    y = copy->subgoals[2].args[0];
    a = parent->args[0];
    b = grandparent->args[0];
  }
  bool regularity(std::int64_t first, std::int64_t count) {
    return p->make_regularity_constraints_clause(entered, copy, parent, first, count);
  }
  Literal *grandparent, *parent, *entered;
  ClauseCopy* copy;
  Term *x, *y, *a, *b;
};

TEST_F(TermsRegularityConstraintTest, NewSubgoalsMayNeverMatchAnAncestor) {
  p->push_v_mark();
  ASSERT_TRUE(regularity(0, 3));
  ASSERT_NE(x->constraint_chain, nullptr);  // -q(X) against the parent -q(a)
  EXPECT_EQ(x->constraint_chain->value, a);
  EXPECT_EQ(x->constraint_chain->next, nullptr);  // +q(b) has the other sign
  ASSERT_NE(y->constraint_chain, nullptr);        // +q(Y) against the grandparent +q(b)
  EXPECT_EQ(y->constraint_chain->value, b);
  EXPECT_EQ(p->trail_top, 0u);

  EXPECT_FALSE(bind_step(x, a));
  EXPECT_TRUE(bind_step(x, b));
  EXPECT_FALSE(bind_step(y, b));
  EXPECT_TRUE(bind_step(y, a));
}

TEST_F(TermsRegularityConstraintTest, AnIdenticalSubgoalFailsAndOnlyTheRangeIsTreated) {
  EXPECT_FALSE(regularity(0, 4));  // -q(a) under -q(a)
  EXPECT_TRUE(regularity(4, 5));   // +r(X): no ancestor with that predicate
  const std::size_t c_stack = p->c_stack;
  EXPECT_TRUE(regularity(1, 1));
  EXPECT_EQ(p->c_stack, c_stack);
  EXPECT_TRUE(p->make_regularity_constraints_clause(entered, copy, nullptr, 0, 5));
  EXPECT_EQ(p->c_stack, c_stack);
}

TEST_F(TermsRegularityConstraintTest, EnteredLiteralIsSkippedOnlyWhenOnlySubgoalsAreChecked) {
  EXPECT_TRUE(regularity(0, 1));
  p->regularity_only_for_subgoals = false;
  EXPECT_FALSE(regularity(0, 1));  // +q(b) equals the grandparent
}

TEST_F(TermsRegularityConstraintTest, StrongRegularityWalksTheLemmaChainWhenThereIsOne) {
  p->strong_regularity = true;  // without foldup: the parent chain
  ASSERT_TRUE(regularity(2, 3));
  EXPECT_EQ(y->constraint_chain->value, b);

  p->foldup = true;  // the parent's link leads to a lemma +q(c) instead
  Literal* lemma = subgoal(4, 0);
  parent->foldup_link = lemma;
  lemma->foldup_link = nullptr;
  ASSERT_TRUE(regularity(2, 3));
  EXPECT_EQ(y->constraint_chain->value, lemma->args[0]);
  EXPECT_EQ(y->constraint_chain->next->value, b);
}

}  // namespace
}  // namespace velkor::testing
