// The equality modification of a small clause set: which clauses are
// replaced, the flattened and oriented variants with their constraints,
// the clause set the writer makes of it, and the problem left as it was.
#include "prover/equality/modify.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace {

using velkor::equality::Modification;
using velkor::equality::Origin;

tptp::Problem read(const std::string& text) {
  tptp::Problem problem;
  tptp::read_problem(problem, "test.p", {}, text);
  return problem;
}

std::string constraints(const std::vector<velkor::OrderingConstraint>& cs) {
  std::string out;
  for (const velkor::OrderingConstraint& o : cs)
    out += std::to_string(o.greater) + "." + std::to_string(o.greater_arg) +
           (o.strict ? ">" : ">=") + std::to_string(o.smaller) + "." +
           std::to_string(o.smaller_arg) + " ";
  return out;
}

TEST(EqualityModification, FlattensOrientsAndConstrains) {
  const tptp::Problem problem = read(
      "cnf(c1, axiom, f(X) = a).\n"
      "cnf(c2, negated_conjecture, p(g(f(b)))).\n"
      "cnf(c3, axiom, q(X) | X != g(X)).\n");
  const std::string before = tptp::write_problem(problem).text;
  const Modification m = velkor::equality::modify(problem, {});
  ASSERT_TRUE(m.uses_equality);
  EXPECT_EQ(m.replaced, 2u);
  // g heads no side of an equation: it is never rewritten, and neither is a
  // variable, so c3 stays as it is; the modified clauses follow it.
  ASSERT_EQ(m.clauses.clauses.size(), 4u);
  std::vector<std::string> made;
  for (std::size_t i = 0; i < m.clauses.clauses.size(); ++i)
    made.push_back(std::string(m.origins[i].kind == Origin::Kind::kKept ? "kept " : "") +
                   std::to_string(m.origins[i].clause) + ": " +
                   tptp::clause_text(m.clauses, m.clauses.clauses[i]) + " : " +
                   constraints(m.constraints[i]));
  EXPECT_EQ(made, (std::vector<std::string>{
                      "kept 2: q(X) | X != g(X) : ",
                      // Both orientations, the right side's normal form E2 below the left side.
                      "0: f(X) = E2 | a != E2 : 0.0>0.1 1.0>=1.1 ",
                      "0: a = E2 | f(X) != E2 : 0.0>0.1 1.0>=1.1 ",
                      // f(b) is taken out of its place, defined first; g(...) stays.
                      "1: f(b) != E1 | p(g(E1)) : 0.0>=0.1 ",
                  }));
  // The problem is the problem still: what the modification made is its own.
  EXPECT_EQ(tptp::write_problem(problem).text, before);
}

// Two distinct objects are unequal: their disequation is modified with the
// clauses, so that an equation between them is refuted without the axioms
// of equality; the written set has reflexivity as its only axiom.
TEST(EqualityModification, DisequationsOfDistinctObjectsAreModifiedToo) {
  const tptp::Problem problem = read("cnf(c1, axiom, \"y\" = \"x\").\n");
  const auto x = problem.terms[problem.clauses[0].literals[0].right].id;
  const auto y = problem.terms[problem.clauses[0].literals[0].left].id;
  const Modification m = velkor::equality::modify(problem, {{y, x}});
  ASSERT_EQ(m.clauses.clauses.size(), 3u);
  EXPECT_TRUE(m.origins[2].distinct_objects);
  EXPECT_EQ(m.origins[2].kind, Origin::Kind::kModified);
  tptp::WriteOptions options;
  options.equality_axioms = tptp::EqualityAxioms::kReflexivity;
  options.distinct_objects = false;
  EXPECT_EQ(tptp::write_problem(m.clauses, options).text,
            "input_clause(c1,axiom,[++equal(str_y,E1),--equal(str_x,E1)]).\n"
            "input_clause(c1,axiom,[++equal(str_x,E1),--equal(str_y,E1)]).\n"
            "input_clause(distinct_1,axiom,[--equal(str_y,E1),--equal(str_x,E1)]).\n"
            "input_clause(eq_reflexivity,axiom,[++equal(X,X)]).\n");
}

}  // namespace
