// The general unifier (its failures undone to the caller's mark) with equality
// differences, and the extension unifier (compared against the general one).
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class TermsUnifyTest : public ProverTest {
 protected:
  // Argument j of literal i of input clause n.
  Term* arg(std::size_t n, std::int64_t i, std::int64_t j) { return literal(n, i)->args[j]; }
  Unified unify(Term* s, Term* t) { return p->unify_terms(Prover::ref(s), Prover::ref(t)); }
  bool extend(Literal* copy_literal, Literal* goal) {
    p->push_mark();
    p->optimized_unification = Optimized::kNothingBound;
    return p->extension_unify_lists(copy_literal->args, goal->args, goal->predicate->arity);
  }
  // An extension step into clause 1 that may record differences.
  void equality_step(std::int64_t depth) {
    p->actual_copy = p->first_free_copy(clause(1));
    p->actual_depth = depth;
    p->recording_differences = true;
    p->step_eq_start = p->eq_trail;
  }
  std::string last_difference() { return show(p->eq_trail_literals[p->eq_trail]); }
};

TEST_F(TermsUnifyTest, FailureUnwindsToBelowTheCallersMarkOnly) {
  load(
      "input_clause(c1,axiom,[++p(X,f(X),Y,f(g(Y)),Z,a)])."
      "input_clause(c2,axiom,[++q(f(V,a),f(b,b))]).");
  Term *x = arg(1, 0, 0), *fx = arg(1, 0, 1), *y = arg(1, 0, 2), *fgy = arg(1, 0, 3);
  Term *z = arg(1, 0, 4), *a = arg(1, 0, 5), *v = arg(2, 0, 0)->args[0];
  p->push_mark();
  p->bind(z, a);  // an older step's binding
  const std::size_t below = p->trail_top;

  p->push_mark();
  EXPECT_EQ(unify(x, fx), Unified::kFail);
  EXPECT_EQ(p->trail_top, below);
  p->push_mark();
  EXPECT_EQ(unify(fx, x), Unified::kFail);
  EXPECT_EQ(p->trail_top, below);

  // An occurrence hidden behind a binding made in the same segment.
  p->push_mark();
  p->bind(y, x);
  EXPECT_EQ(unify(x, fgy), Unified::kFail);
  EXPECT_EQ(y->binding, nullptr);
  // A clash after a binding inside the same compound undoes that binding.
  p->push_mark();
  EXPECT_EQ(unify(arg(2, 0, 0), arg(2, 0, 1)), Unified::kFail);
  EXPECT_EQ(v->binding, nullptr);
  EXPECT_EQ(p->trail_top, below);
  EXPECT_EQ(z->binding, a);
}

class TermsEqualityUnifyTest : public TermsUnifyTest {
 protected:
  void SetUp() override {
    p->equality = true;
    load(
        "input_clause(c1,axiom,[++equal(X,X)])."
        "input_clause(c2,axiom,[++p(f(a),g(b),f(Y,c),f(b,d),Z,h(Z))])."
        "input_clause(c3,axiom,[++q(f(a)),++r(X,f(a)),++r(X,h(X))])."
        "input_clause(c4,axiom,[--q(g(b)),--r(b,g(c)),--r(Y,Y)]).");
    ASSERT_NE(p->equal_predicate, nullptr);
    for (int i = 0; i < 6; ++i) t[i] = arg(2, 0, i);
  }
  Term* t[6];
};

TEST_F(TermsEqualityUnifyTest, ClashesBecomeDifferenceLiteralsSecondOperandFirst) {
  equality_step(1);
  p->push_mark();
  const std::size_t top = p->trail_top;
  EXPECT_EQ(unify(t[0], t[1]), Unified::kDifference);
  EXPECT_EQ(p->trail_top, top);  // nothing bound
  EXPECT_EQ(p->difference_counter, 1);
  EXPECT_EQ(p->eq_trail, 1);
  EXPECT_EQ(p->eq_trail_before, 0);
  EXPECT_EQ(p->actual_copy->differences, 1);
  Literal* d = p->eq_trail_literals[1];
  EXPECT_EQ(last_difference(), "--equal(g(b),f(a))");
  EXPECT_EQ(d->predicate, p->equal_predicate);
  EXPECT_EQ(d->copy, p->actual_copy);

  // Inside a compound: the earlier binding stays, the result is plain success.
  EXPECT_EQ(unify(t[2], t[3]), Unified::kTrue);
  EXPECT_EQ(show(t[2]), "f(b,c)");
  EXPECT_EQ(last_difference(), "--equal(d,c)");
  EXPECT_EQ(p->difference_counter, 2);
  EXPECT_EQ(p->actual_copy->differences, 1);  // still the step's first one

  // Occurs-check failures: the non-variable term comes first either way.
  EXPECT_EQ(unify(t[4], t[5]), Unified::kDifference);
  EXPECT_EQ(last_difference(), "--equal(h(Z),Z)");
  EXPECT_EQ(unify(t[5], t[4]), Unified::kDifference);
  EXPECT_EQ(last_difference(), "--equal(h(Z),Z)");
  EXPECT_EQ(t[4]->binding, nullptr);

  // Backtracking by assignment: the literal is rewritten in place.
  d->selected = true;
  p->eq_trail = 0;
  EXPECT_EQ(unify(t[1], t[0]), Unified::kDifference);
  EXPECT_EQ(p->eq_trail_literals[1], d);
  EXPECT_FALSE(d->selected);
  EXPECT_EQ(last_difference(), "--equal(f(a),g(b))");
}

TEST_F(TermsEqualityUnifyTest, FirstDifferenceOfAStepNeedsDepthLeft) {
  p->difference_counter = 3;  // earlier steps' differences do not lift the rule
  equality_step(0);
  p->push_mark();
  const std::size_t below = p->trail_top - 1;
  EXPECT_EQ(unify(t[2], t[3]), Unified::kFail);
  EXPECT_TRUE(p->bound_fail);
  EXPECT_EQ(p->trail_top, below);  // Y's binding and the mark are gone
  EXPECT_EQ(arg(2, 0, 2)->args[0]->binding, nullptr);
  EXPECT_EQ(p->eq_trail, 0);
  EXPECT_EQ(p->difference_counter, 3);

  // Outside an equality step a clash is an ordinary failure.
  p->bound_fail = false;
  p->recording_differences = false;
  p->actual_depth = 5;
  p->push_mark();
  EXPECT_EQ(unify(t[0], t[1]), Unified::kFail);
  EXPECT_FALSE(p->bound_fail);
  EXPECT_EQ(p->eq_trail, 0);
  EXPECT_EQ(p->trail_top, below);
}

TEST_F(TermsUnifyTest, ExtensionUnifierPhases) {
  load(
      "input_clause(c1,axiom,[++p(X,X),++p(X,Y),++p(f(X),a),++p(X,f(X)),++p(a,X,f(X))])."
      "input_clause(c2,axiom,[--p(a,b),--p(f(Z),W),--p(Y,a),--p(Y,Y),--p(Y,Y,Z),--p(Y,b)]).");
  auto copy = [&](int i) { return subgoal(1, i); };
  auto goal = [&](int i) { return subgoal(2, i); };
  const std::size_t base = p->trail_top;

  EXPECT_FALSE(extend(copy(0), goal(0)));  // X := a, then a against b via ref
  EXPECT_EQ(p->trail_top, base);
  EXPECT_EQ(copy(0)->args[0]->binding, nullptr);

  ASSERT_TRUE(extend(copy(1), goal(1)));  // copy variables take the goal's terms
  EXPECT_EQ(p->optimized_unification, Optimized::kCopyBound);
  EXPECT_EQ(copy(1)->args[0]->binding, goal(1)->args[0]);
  EXPECT_EQ(copy(1)->args[1]->binding, goal(1)->args[1]);
  EXPECT_EQ(goal(1)->args[1]->binding, nullptr);
  p->unbind_vars();

  ASSERT_TRUE(extend(copy(2), goal(2)));  // the goal variable takes the copy's term
  EXPECT_EQ(p->optimized_unification, Optimized::kGeneral);
  EXPECT_EQ(goal(2)->args[0]->binding, copy(2)->args[0]);
  EXPECT_EQ(show(goal(2)), "--p(f(X),a)");
  p->unbind_vars();
  EXPECT_FALSE(extend(copy(2), goal(5)));  // a clash after the general fallback
  EXPECT_EQ(p->trail_top, base);
  EXPECT_EQ(goal(5)->args[0]->binding, nullptr);

  EXPECT_FALSE(extend(copy(3), goal(3)));  // Y = f(Y) must be caught after X := Y
  EXPECT_EQ(p->trail_top, base);

  ASSERT_TRUE(extend(copy(4), goal(4)));  // falls back to the general unifier
  EXPECT_EQ(show(goal(4)), "--p(a,a,f(a))");
  EXPECT_EQ(show(copy(4)), "++p(a,a,f(a))");
  p->unbind_vars();
  EXPECT_EQ(p->trail_top, base);
}

TEST_F(TermsEqualityUnifyTest, ExtensionClashesRecordTheGoalTermFirst) {
  equality_step(1);
  EXPECT_TRUE(extend(subgoal(3, 0), subgoal(4, 0)));
  EXPECT_EQ(last_difference(), "--equal(g(b),f(a))");
  EXPECT_TRUE(extend(subgoal(3, 1), subgoal(4, 1)));  // in the bound phase
  EXPECT_EQ(last_difference(), "--equal(g(c),f(a))");
  EXPECT_TRUE(extend(subgoal(3, 2), subgoal(4, 2)));  // occurs check in the bound phase
  EXPECT_EQ(last_difference(), "--equal(h(Y),Y)");
  EXPECT_EQ(subgoal(4, 2)->args[0]->binding, nullptr);
}

// The extension unifier must agree with the general one whenever its
// precondition holds: a fresh copy side, goal terms free of copy variables.
TEST_F(TermsUnifyTest, ExtensionUnifierAgreesWithGeneralUnification) {
  auto symbol = [&](const char* name, int arity) {
    Symbol* s = p->arena.make<Symbol>();
    s->name = p->intern(name);
    s->arity = arity;
    return s;
  };
  Symbol* symbols[] = {symbol("a", 0), symbol("b", 0), symbol("f", 1), symbol("g", 2)};
  std::mt19937 rng(20240611);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<Term*> vars;
  auto make_var = [&](std::string name) {
    Term* v = p->arena.make<Term>();
    v->name = p->intern(name);
    return v;
  };
  auto term = [&](auto& self, int depth, Term** pool, int pool_size) -> Term* {
    if (pool_size > 0 && (depth == 0 || pick(3) == 0)) return pool[pick(pool_size)];
    Symbol* f = symbols[depth == 0 ? pick(2) : pick(4)];
    Term* t = p->arena.make<Term>();
    t->functor = f;
    t->args = p->arena.array<Term*>(static_cast<std::size_t>(f->arity));
    for (int i = 0; i < f->arity; ++i) t->args[i] = self(self, depth - 1, pool, pool_size);
    return t;
  };
  auto text = [&](Term** c, Term** g, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += show(c[i]) + "=" + show(g[i]) + ";";
    return s;
  };

  int successes = 0, failures = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    Term* xs[3] = {make_var("X0"), make_var("X1"), make_var("X2")};
    Term* ys[3] = {make_var("Y0"), make_var("Y1"), make_var("Y2")};
    const int n = 1 + pick(3);
    Term* c[3];
    Term* g[3];
    for (int i = 0; i < n; ++i) {
      c[i] = term(term, pick(4), xs, 3);
      g[i] = term(term, pick(4), ys, 3);
    }
    p->push_mark();  // goal side may carry older bindings among its own variables
    if (pick(2) == 0) p->bind(ys[2], term(term, 2, ys, 2));
    const std::size_t base = p->trail_top;
    const std::string before = text(c, g, n);

    p->push_mark();
    p->optimized_unification = Optimized::kNothingBound;
    const bool extended = p->extension_unify_lists(c, g, n);
    const std::string by_extension = extended ? text(c, g, n) : "";
    if (extended) {
      EXPECT_TRUE(Prover::ref_equal_lists(c, g, n)) << before;
      p->unbind_vars();
    }
    ASSERT_EQ(p->trail_top, base) << before;
    ASSERT_EQ(text(c, g, n), before);

    p->push_mark();
    const bool general = p->unify_lists(c, g, n);
    ASSERT_EQ(extended, general) << before;
    if (general) {
      EXPECT_EQ(by_extension, text(c, g, n)) << before;
      p->unbind_vars();
    }
    p->unbind_vars();
    (extended ? successes : failures) += 1;
  }
  EXPECT_GT(successes, 200);
  EXPECT_GT(failures, 200);
}

}  // namespace
}  // namespace velkor::testing
