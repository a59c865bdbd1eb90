// Clause copies: fresh variables shared within one copy, nothing shared with
// the input clause or other copies, and the binding trail left as found.
#include <cstdint>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class TermsCopyTest : public ProverTest {
 protected:
  ClauseCopy* copy_of(std::size_t n, const void* tag = nullptr) {
    Clause* c = clause(n);
    return p->make_clause_copy(c->literals, c->length, c, tag);
  }
};

TEST_F(TermsCopyTest, VariablesAreRenamedOncePerCopyAndKeepTheirNames) {
  load("input_clause(c1,axiom,[++p(X,Y),--q(X,f(X,g(Y)))]).");
  Clause* c = clause(1);
  Term* x = c->literals[0].args[0];
  int tag = 0;
  ClauseCopy* copy = copy_of(1, &tag);
  Literal* s = copy->subgoals;
  Term* fresh_x = s[0].args[0];
  Term* fresh_y = s[0].args[1];
  Term* f = s[1].args[1];

  EXPECT_TRUE(is_variable(fresh_x));
  EXPECT_NE(fresh_x, x);
  EXPECT_NE(fresh_x, fresh_y);
  EXPECT_EQ(s[1].args[0], fresh_x);
  EXPECT_EQ(f->args[0], fresh_x);
  EXPECT_EQ(f->args[1]->args[0], fresh_y);
  EXPECT_EQ(fresh_x->name, x->name);
  EXPECT_EQ(fresh_x->binding, nullptr);
  EXPECT_EQ(show(&s[1]), "--q(X,f(X,g(Y)))");

  EXPECT_NE(f, c->literals[1].args[1]);  // compound terms are new cells too
  EXPECT_EQ(s[1].number, 2);
  EXPECT_EQ(s[1].copy, copy);
  EXPECT_EQ(copy->clause, c);
  EXPECT_EQ(copy->copy_tag, &tag);

  ClauseCopy* other = copy_of(1);
  EXPECT_NE(other->subgoals[0].args[0], fresh_x);
  EXPECT_NE(other->subgoals[0].args[0], x);
  EXPECT_NE(p->first_free_copy(c)->subgoals[0].args[0], fresh_x);  // the reader's copy
}

TEST_F(TermsCopyTest, TrailIsLeftAsFoundAndInputVariablesStayUnbound) {
  load(
      "input_clause(c1,axiom,[++p(X,Y,Z),--r(Z)])."
      "input_clause(c2,axiom,[++p(a,f(b),c)]).");
  Clause* c = clause(1);
  // A step of the search is in progress below the copying pass.
  Literal* in_use = subgoal(2, 0);
  Term* w = subgoal(1, 1)->args[0];
  p->push_mark();
  p->bind(w, in_use->args[0]);
  const std::size_t top = p->trail_top;

  copy_of(1);
  EXPECT_EQ(p->trail_top, top);
  EXPECT_EQ(p->trail_items[top], w);
  EXPECT_EQ(w->binding, in_use->args[0]);
  for (std::int64_t i = 0; i < c->variable_count; ++i)
    EXPECT_EQ(c->variables[i]->binding, nullptr) << i;

  ClauseCopy* ground = copy_of(2);
  EXPECT_EQ(p->trail_top, top);
  Term* fb = ground->subgoals[0].args[1];
  EXPECT_NE(fb, clause(2)->literals[0].args[1]);
  EXPECT_NE(fb->args[0], clause(2)->literals[0].args[1]->args[0]);
  EXPECT_EQ(show(&ground->subgoals[0]), "++p(a,f(b),c)");
}

TEST_F(TermsCopyTest, ConstraintsOnInputVariablesAreNotCopied) {
  load("input_clause(c1,axiom,[++p(X)]).");
  Term* x = clause(1)->literals[0].args[0];
  ConstraintCell element{};
  x->constraint_chain = &element;
  ClauseCopy* copy = copy_of(1);
  EXPECT_EQ(copy->subgoals[0].args[0]->constraint_chain, nullptr);
  EXPECT_EQ(x->constraint_chain, &element);
  x->constraint_chain = nullptr;
}

}  // namespace
}  // namespace velkor::testing
