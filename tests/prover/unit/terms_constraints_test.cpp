// Disequation constraints: how they are stored on the variables, how later
// bindings satisfy, refine or violate them, and exact undoing of a step.
#include <cstdint>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class TermsConstraintTest : public ProverTest {
 protected:
  void SetUp() override {
    load("input_clause(c1,axiom,[++p(X,Y,Z,W,V),++q(a,b,c,f(Z),f(W),g(Z,V),g(W,Y))]).");
    Term** var = literal(1, 0)->args;
    Term** term = literal(1, 1)->args;
    x = var[0], y = var[1], z = var[2], w = var[3], v = var[4];
    a = term[0], b = term[1], c = term[2];
    fz = term[3], fw = term[4], gzv = term[5], gwy = term[6];
  }

  bool constrain(Term* s0, Term* t0) { return p->make_disequation_constraint(&s0, &t0, 1); }

  // One inference step as the search does it: bind, then check the constraints.
  struct Step {
    std::size_t c_stack;
    bool ok;
  };
  Step step(std::initializer_list<std::pair<Term*, Term*>> bindings) {
    p->push_mark();
    for (auto [variable, value] : bindings) p->bind(variable, value);
    p->push_v_mark();
    Step s{p->c_stack, false};
    s.ok = p->propagate_substitution();
    return s;
  }
  void undo(const Step& s) {
    p->c_stack = s.c_stack;
    p->undo_v_trail();
    p->unbind_vars();
  }
  // A step that is undone again at once.
  bool attempt(std::initializer_list<std::pair<Term*, Term*>> bindings) {
    Step s = step(bindings);
    undo(s);
    return s.ok;
  }

  Term *x, *y, *z, *w, *v, *a, *b, *c, *fz, *fw, *gzv, *gwy;
};

TEST_F(TermsConstraintTest, ListsThatCannotMeetOrAlreadyMeet) {
  const std::size_t trail = p->trail_top;
  EXPECT_TRUE(constrain(a, b));   // can never become identical
  EXPECT_FALSE(constrain(x, x));  // identical already
  EXPECT_FALSE(constrain(fz, fz));
  EXPECT_EQ(p->c_stack, 0u);
  EXPECT_EQ(p->v_trail_top, 0u);
  EXPECT_EQ(p->trail_top, trail);
  EXPECT_EQ(x->constraint_chain, nullptr);
}

TEST_F(TermsConstraintTest, OneElementPerVariableOfTheUnifier) {
  Term* s[] = {x, y};
  Term* t[] = {a, b};
  ASSERT_TRUE(p->make_disequation_constraint(s, t, 2));
  EXPECT_EQ(p->trail_top, 0u);
  EXPECT_EQ(x->binding, nullptr);
  EXPECT_EQ(y->binding, nullptr);
  ASSERT_NE(x->constraint_chain, nullptr);
  ASSERT_NE(y->constraint_chain, nullptr);
  ConstraintCell* constraint = x->constraint_chain->constraint;
  EXPECT_EQ(y->constraint_chain->constraint, constraint);
  EXPECT_EQ(constraint->pending, 2);
  EXPECT_FALSE(constraint->satisfied);
  EXPECT_EQ(x->constraint_chain->value, a);
  EXPECT_EQ(y->constraint_chain->value, b);
  EXPECT_EQ(x->constraint_chain->next, nullptr);

  // X then Y, each in its own step: the second completes the constraint.
  Step first = step({{x, a}});
  EXPECT_TRUE(first.ok);
  EXPECT_EQ(constraint->pending, 1);
  EXPECT_FALSE(attempt({{y, b}}));
  EXPECT_EQ(constraint->pending, 1);
  Step third = step({{y, c}});
  EXPECT_TRUE(third.ok);  // Y can never be b now
  EXPECT_TRUE(constraint->satisfied);
  undo(third);
  EXPECT_FALSE(constraint->satisfied);

  // Both in one step.
  undo(first);
  EXPECT_EQ(constraint->pending, 2);
  EXPECT_FALSE(attempt({{x, a}, {y, b}}));
}

TEST_F(TermsConstraintTest, VariableAgainstVariableAndSeveralConstraintsOnOneVariable) {
  ASSERT_TRUE(constrain(x, y));
  EXPECT_EQ(x->constraint_chain->value, y);  // the unifier bound X to Y
  EXPECT_EQ(y->constraint_chain, nullptr);
  EXPECT_FALSE(attempt({{x, y}}));

  ASSERT_TRUE(constrain(x, b));
  ConstraintCell* newest = x->constraint_chain;
  EXPECT_EQ(newest->next->value, y);
  EXPECT_NE(newest->constraint, newest->next->constraint);
  EXPECT_FALSE(attempt({{x, b}}));
  // X = c settles X != b for good, but moves X != Y onto Y (Y != c).
  ASSERT_TRUE(step({{x, c}}).ok);
  EXPECT_TRUE(newest->constraint->satisfied);
  EXPECT_FALSE(newest->next->constraint->satisfied);
  ASSERT_NE(y->constraint_chain, nullptr);
  EXPECT_EQ(y->constraint_chain->value, c);
  EXPECT_FALSE(attempt({{y, c}}));
  EXPECT_TRUE(attempt({{y, a}}));
}

TEST_F(TermsConstraintTest, ChainsOfBindingsAreFollowed) {
  ASSERT_TRUE(constrain(x, a));
  EXPECT_TRUE(attempt({}));  // nothing bound: nothing to check
  EXPECT_FALSE(attempt({{x, y}, {y, a}}));
  Step older = step({{y, a}});  // Y bound by an earlier step
  ASSERT_TRUE(older.ok);
  EXPECT_FALSE(attempt({{x, y}}));
  undo(older);
  EXPECT_TRUE(step({{x, y}}).ok);  // X = Y alone does not decide it
  EXPECT_NE(y->constraint_chain, nullptr);
  EXPECT_FALSE(step({{y, a}}).ok);
}

TEST_F(TermsConstraintTest, ElementIsReplacedByFinerOnes) {
  ASSERT_TRUE(constrain(x, fz));
  ConstraintCell* constraint = x->constraint_chain->constraint;
  Step s = step({{x, fw}});
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(x->binding, fw);  // the step's binding stays
  EXPECT_EQ(w->binding, nullptr);
  ASSERT_NE(w->constraint_chain, nullptr);
  EXPECT_EQ(w->constraint_chain->value, z);
  EXPECT_EQ(w->constraint_chain->constraint, constraint);
  EXPECT_EQ(constraint->pending, 1);
  EXPECT_EQ(z->constraint_chain, nullptr);
  EXPECT_EQ(p->trail_top, 2u);  // mark and X only

  Step next = step({{z, c}});
  EXPECT_TRUE(next.ok);
  EXPECT_FALSE(attempt({{w, c}}));
  undo(next);
  EXPECT_TRUE(step({{w, v}}).ok);  // refines once more: V against Z
  EXPECT_EQ(v->constraint_chain->value, z);
  EXPECT_EQ(constraint->pending, 1);
}

// Equality differences belong to extension steps only: a constraint between
// distinct constants must not be taken for one that holds already.
TEST_F(TermsConstraintTest, ClashesAreNotDifferencesInsideConstraintWork) {
  p->equality = true;
  p->actual_depth = 3;
  p->actual_copy = p->first_free_copy(clause(1));
  EXPECT_TRUE(constrain(a, b));
  EXPECT_EQ(p->eq_trail, 0);
  EXPECT_EQ(p->c_stack, 0u);
}

}  // namespace
}  // namespace velkor::testing
