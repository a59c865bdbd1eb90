// The lemma index: variants share one entry, lookup finds lemmas of which a
// subgoal is an instance, and new entries are printed as input clauses.
#include <string>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class IndexTest : public ProverTest {
 protected:
  void load_indexed(const std::string& text) {
    p->sgindex = true;
    load(text);
  }
  // Enters literal `i` of clause `n`; true when it was already present.
  bool enter(std::size_t n, std::int64_t i = 0) {
    p->in_lemma_index_subgoal(literal(n, i));
    return p->in_index;
  }
  bool find(std::size_t n, std::int64_t i = 0) { return p->find_matching_lemma(subgoal(n, i)); }
};

TEST_F(IndexTest, VariantsShareOneEntryAndArePrintedOnce) {
  p->printindex = true;
  load_indexed(
      "input_clause(c1,axiom,[++p(X,f(X))]).\n"
      "input_clause(c2,axiom,[++p(Y,f(Y))]).\n"
      "input_clause(c3,axiom,[++p(X,f(Z))]).\n"
      "input_clause(c4,axiom,[++q(X,Y)]).\n"
      "input_clause(c5,axiom,[++q(Y,X)]).\n"
      "input_clause(c6,axiom,[++q(X,X)]).");
  EXPECT_FALSE(enter(1));
  EXPECT_EQ(output(), "\ninput_clause(c1,conjecture,[++p(X,f(X))]).\n");
  EXPECT_TRUE(enter(2));
  EXPECT_EQ(p->nr_lemmas, 1);
  EXPECT_EQ(output(), "");
  p->lemmatype = 1;
  EXPECT_FALSE(enter(3));
  EXPECT_EQ(output(), "\ninput_clause(c2,axiom,[++p(X,f(Z))]).\n");
  EXPECT_FALSE(enter(4));
  EXPECT_TRUE(enter(5));
  EXPECT_FALSE(enter(6));
  EXPECT_EQ(p->nr_lemmas, 4);
  EXPECT_EQ(p->predicate_list[0]->positive_index.max_variables, 2);
}

TEST_F(IndexTest, LookupNeedsAnInstanceOfOppositeSign) {
  load_indexed(
      "input_clause(c1,axiom,[++p(X,X)]).\n"
      "input_clause(c2,axiom,[--p(a,a),--p(a,b),++p(a,a),--p(Y,Y),--p(Y,Z),--p(f(a),f(a))]).");
  EXPECT_FALSE(find(2, 0));  // nothing entered yet
  enter(1);
  EXPECT_TRUE(find(2, 0));
  EXPECT_FALSE(find(2, 1));  // a repeated entry variable needs identical subterms
  EXPECT_FALSE(find(2, 2));  // same sign
  EXPECT_TRUE(find(2, 3));
  EXPECT_FALSE(find(2, 4));
  EXPECT_TRUE(find(2, 5));
}

TEST_F(IndexTest, FullIndexTakesNothingNew) {
  load_indexed(
      "input_clause(c1,axiom,[++p(a)]).\n"
      "input_clause(c2,axiom,[++p(b)]).\n"
      "input_clause(c3,axiom,[--p(a),--p(b)]).");
  p->index_limit_mb = 1;
  enter(1);
  EXPECT_GT(p->index_bytes, 0);
  p->index_bytes = std::int64_t{1} << 21;  // past the limit: p(a) stays, p(b) is not taken
  enter(2);
  EXPECT_EQ(p->nr_lemmas, 1);
  EXPECT_TRUE(find(3, 0));
  EXPECT_FALSE(find(3, 1));
}

TEST_F(IndexTest, QueryVariablesFitOnlyEntryVariables) {
  load_indexed(
      "input_clause(c1,axiom,[++p(f(a))]).\n"
      "input_clause(c2,axiom,[--p(Y),--p(f(a)),--p(f(b)),--p(g(f(a),Y))]).\n"
      "input_clause(c3,axiom,[++p(X)]).");
  enter(1);
  EXPECT_FALSE(find(2, 0));
  EXPECT_TRUE(find(2, 1));
  EXPECT_FALSE(find(2, 2));
  enter(3);
  for (std::int64_t i = 0; i < 4; ++i) EXPECT_TRUE(find(2, i)) << i;
}

TEST_F(IndexTest, MatchesNestedArgumentsAcrossPendingTerms) {
  load_indexed(
      "input_clause(c1,axiom,[++r(f(X,g(Y)),Y,h(X))]).\n"
      "input_clause(c2,axiom,[--r(f(a,g(b)),b,h(a)),--r(f(a,g(b)),c,h(a)),"
      "--r(f(a,g(b)),b,h(b)),--r(f(g(b),g(h(a))),h(a),h(g(b))),--r(f(a,b),b,h(a))]).");
  enter(1);
  EXPECT_TRUE(find(2, 0));
  EXPECT_FALSE(find(2, 1));
  EXPECT_FALSE(find(2, 2));
  EXPECT_TRUE(find(2, 3));
  EXPECT_FALSE(find(2, 4));
}

TEST_F(IndexTest, EntriesStayFindableWhateverTheirInsertionOrder) {
  load_indexed(
      "input_clause(c1,axiom,[--t(a,a),--t(b,b),--t(c,c),--t(d,d),--t(a,d)]).\n"
      "input_clause(c2,axiom,[++t(c,Z),++t(a,a),++t(X,b),++t(d,c),++t(b,a)]).");
  for (std::int64_t i = 0; i < 5; ++i) EXPECT_FALSE(enter(2, i)) << i;
  EXPECT_TRUE(find(1, 0));   // t(a,a)
  EXPECT_TRUE(find(1, 1));   // t(X,b)
  EXPECT_TRUE(find(1, 2));   // t(c,Z)
  EXPECT_FALSE(find(1, 3));  // only t(d,c) starts with d
  EXPECT_FALSE(find(1, 4));
  EXPECT_TRUE(enter(2, 3));
}

TEST_F(IndexTest, PropositionalLemmasAreAFlagPerSign) {
  p->printindex = true;
  load_indexed("input_clause(c1,axiom,[++q,--q]).");
  EXPECT_FALSE(find(1, 1));
  EXPECT_FALSE(enter(1, 0));
  EXPECT_TRUE(enter(1, 0));
  EXPECT_EQ(p->nr_lemmas, 1);
  EXPECT_EQ(output(), "\ninput_clause(c1,conjecture,[++q]).\n");
  EXPECT_TRUE(find(1, 1));
  EXPECT_FALSE(find(1, 0));
}

TEST_F(IndexTest, ComplementIsEnteredUnderTheOppositeSignAndPrintedAsAxiom) {
  p->printindex = true;
  load_indexed("input_clause(c1,axiom,[--p(b),++s(a)]).");
  p->comp_in_lemma_index_subgoal(subgoal(1, 0));
  EXPECT_FALSE(p->in_index);
  EXPECT_EQ(output(), "\ninput_clause(c1,axiom,[++p(b)]).\n");
  EXPECT_TRUE(find(1, 0));
  p->comp_in_lemma_index_subgoal(subgoal(1, 1));
  EXPECT_EQ(output(), "\ninput_clause(c2,axiom,[--s(a)]).\n");
  EXPECT_TRUE(find(1, 1));  // a positive subgoal looks among the negative lemmas
  p->comp_in_lemma_index_subgoal(subgoal(1, 1));
  EXPECT_TRUE(p->in_index);
}

TEST_F(IndexTest, EntryIsTheInstanceAtInsertionTime) {
  load_indexed(
      "input_clause(c1,axiom,[++p(X),--q(a)]).\n"
      "input_clause(c2,axiom,[--p(a),--p(b),--p(Y)]).");
  p->push_mark();
  p->bind(literal(1, 0)->args[0], literal(1, 1)->args[0]);
  enter(1, 0);
  p->unbind_vars();
  EXPECT_TRUE(find(2, 0));
  EXPECT_FALSE(find(2, 1));
  EXPECT_FALSE(find(2, 2));
}

TEST_F(IndexTest, InputLemmaClausesEnterOnlyUnitsAndContinueTheLemmaCount) {
  p->printindex = true;
  load_indexed(
      "input_clause(l1,lemma,[++p(a)]).\n"
      "input_clause(l2,lemma,[++p(b),++q]).\n"
      "input_clause(g,conjecture,[--p(a),--p(b)]).");
  ASSERT_EQ(p->nr_lemmas, 2);
  p->in_lemma_index_lemmas({clause(1), clause(2)});
  EXPECT_EQ(p->nr_lemmas, 3);
  EXPECT_EQ(output(), "\ninput_clause(c3,conjecture,[++p(a)]).\n");
  EXPECT_TRUE(find(3, 0));
  EXPECT_FALSE(find(3, 1));
}

}  // namespace
}  // namespace velkor::testing
