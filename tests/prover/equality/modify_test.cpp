// The equality modification of a small clause set: which clauses are
// replaced, the flattened and oriented variants with their constraints,
// and the two clause sets the writer makes of the result.
#include "prover/equality/modify.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace {

using tptp::ClauseSet;

struct Modified {
  tptp::Problem problem;
  velkor::equality::ModifyReport report;
};

Modified modify(const std::string& text) {
  Modified m;
  tptp::read_problem(m.problem, "test.p", {}, text);
  m.report = velkor::equality::modify(m.problem);
  return m;
}

std::string constraints(const tptp::Clause& c) {
  std::string out;
  for (const tptp::OrderingConstraint& o : c.ordering)
    out += std::to_string(o.greater_literal) + "." + std::to_string(o.greater_side) +
           (o.strict ? ">" : ">=") + std::to_string(o.smaller_literal) + "." +
           std::to_string(o.smaller_side) + " ";
  return out;
}

TEST(EqualityModification, FlattensOrientsAndConstrains) {
  Modified m = modify(
      "cnf(c1, axiom, f(X) = a).\n"
      "cnf(c2, negated_conjecture, p(g(f(b)))).\n"
      "cnf(c3, axiom, q(X) | X != g(X)).\n");
  const auto& clauses = m.problem.clauses;
  ASSERT_TRUE(m.report.uses_equality);
  EXPECT_EQ(m.report.replaced, 2u);
  ASSERT_EQ(clauses.size(), 6u);
  EXPECT_EQ(clauses[0].set, ClauseSet::kAxiomatic);
  EXPECT_EQ(clauses[1].set, ClauseSet::kAxiomatic);
  // g heads no side of an equation: it is never rewritten, and neither is a
  // variable, so c3 stays as it is.
  EXPECT_EQ(clauses[2].set, ClauseSet::kBoth);
  std::vector<std::string> made;
  for (std::size_t i = 3; i < clauses.size(); ++i) {
    EXPECT_EQ(clauses[i].set, ClauseSet::kModified);
    made.push_back(std::to_string(clauses[i].modified_from) + ": " +
                   tptp::clause_text(m.problem, clauses[i]) + " : " + constraints(clauses[i]));
  }
  EXPECT_EQ(made, (std::vector<std::string>{
                      // Both orientations, the right side's normal form E2 below the left side.
                      "0: f(X) = E2 | a != E2 : 0.0>0.1 1.0>=1.1 ",
                      "0: a = E2 | f(X) != E2 : 0.0>0.1 1.0>=1.1 ",
                      // f(b) is taken out of its place, defined first; g(...) stays.
                      "1: f(b) != E1 | p(g(E1)) : 0.0>=0.1 ",
                  }));
}

TEST(EqualityModification, WritesEitherClauseSet) {
  Modified m = modify("cnf(c1, axiom, f(X) = a).\ncnf(c2, negated_conjecture, p(f(b))).\n");
  tptp::WriteOptions modified;
  modified.modified = true;
  const std::string axioms = tptp::write_problem(m.problem).text;
  const std::string mod = tptp::write_problem(m.problem, modified).text;
  EXPECT_NE(axioms.find("input_clause(c1,axiom,[++equal(f(X),a)])."), std::string::npos) << axioms;
  EXPECT_NE(axioms.find("eq_transitivity"), std::string::npos);
  EXPECT_EQ(axioms.find("E1"), std::string::npos);
  EXPECT_EQ(mod,
            "input_clause(c1,axiom,[++equal(f(X),E2),--equal(a,E2)]).\n"
            "input_clause(c1,axiom,[++equal(a,E2),--equal(f(X),E2)]).\n"
            "input_clause(c2,conjecture,[--equal(f(b),E1),++p(E1)]).\n"
            "input_clause(eq_reflexivity,axiom,[++equal(X,X)]).\n");
}

}  // namespace
