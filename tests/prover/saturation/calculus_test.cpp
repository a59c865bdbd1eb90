// The saturation engine on small clause sets: each rule refutes a set
// that needs it, under every literal selection; saturated sets are
// reported as models only while nothing was thrown away; distinct
// objects; terms nested far deeper than any machine stack would take
// recursively.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/large_stack.hpp"
#include "prover/saturation/saturation.hpp"
#include "tptp/reader.hpp"

namespace velkor::saturation {
namespace {

Result run(const std::string& text, Strategy strategy = Strategy{}) {
  tptp::Problem problem;
  tptp::read_problem(problem, "test.p", tptp::ReadOptions{}, text);
  std::vector<std::uint32_t> distinct;
  for (std::uint32_t id = 0; id < problem.symbol_count(); ++id)
    if (problem.symbol(id).kind == tptp::SymbolKind::Distinct) distinct.push_back(id);
  Settings settings;
  settings.strategy = strategy;
  settings.proof = true;
  settings.cpu_deadline = 0;
  Result result;
  common::run_with_large_stack([&] {
    result = saturate(problem, distinct, settings);
    return 0;
  });
  return result;
}

bool uses(const Result& r, const std::string& rule) {
  return std::any_of(r.proof.begin(), r.proof.end(),
                     [&](const ProofStep& s) { return s.rule == rule; });
}

std::vector<Strategy> selections() {
  std::vector<Strategy> all;
  for (Selection s : {Selection::kNone, Selection::kLargestNegative, Selection::kSmallestNegative,
                      Selection::kComplexNegative}) {
    Strategy strategy;
    strategy.selection = s;
    all.push_back(strategy);
  }
  return all;
}

TEST(SaturationCalculus, EachRuleRefutesASetThatNeedsIt) {
  struct Case {
    const char* rule;
    const char* problem;
  };
  const Case cases[] = {
      {"superposition",
       "cnf(a, axiom, m(m(X,Y),Z) = m(X,m(Y,Z))). cnf(b, axiom, m(e,X) = X).\n"
       "cnf(c, axiom, m(i(X),X) = e). cnf(d, negated_conjecture, m(k,i(k)) != e)."},
      {"demodulation",
       "cnf(a, axiom, f(X) = g(X)). cnf(b, axiom, p(f(c)) | q). cnf(c, axiom, ~q).\n"
       "cnf(d, axiom, ~p(g(c)) | q)."},
      {"resolution",
       "cnf(a, axiom, p(X) | q(X)). cnf(b, axiom, ~p(a) | q(b)).\n"
       "cnf(c, axiom, ~q(a) | ~q(b)). cnf(d, axiom, ~q(b) | q(a)).\n"
       "cnf(e, axiom, ~p(b))."},
      {"factoring", "cnf(a, axiom, p(X) | p(Y)). cnf(b, axiom, ~p(X) | ~p(Y))."},
      {"equality_resolution", "cnf(a, axiom, f(X) != f(a) | p(X)). cnf(b, axiom, ~p(a))."},
      {"equality_factoring", "cnf(a, axiom, X = f(c) | Y = c). cnf(b, axiom, a != c)."},
      {"subsumption_resolution",
       "cnf(a, axiom, p(X)). cnf(b, axiom, ~p(a) | q). cnf(c, axiom, ~q)."},
  };
  for (const Case& c : cases) {
    bool used = false;
    for (const Strategy& strategy : selections()) {
      const Result r = run(c.problem, strategy);
      ASSERT_EQ(r.verdict, Verdict::kUnsatisfiable) << c.rule;
      // The proof ends in the empty clause and cites only earlier steps.
      ASSERT_FALSE(r.proof.empty());
      EXPECT_EQ(r.proof.back().clause, "$false");
      for (std::size_t i = 0; i < r.proof.size(); ++i)
        for (const ProofParent& p : r.proof[i].parents) {
          EXPECT_TRUE(p.problem_clause || p.index < i);
        }
      used = used || uses(r, c.rule);
    }
    EXPECT_TRUE(used) << c.rule;
  }
}

TEST(SaturationCalculus, SaturatedSetsAreModelsOnlyWhenNothingWasDropped) {
  const char* satisfiable[] = {
      "cnf(a, axiom, p(a) | q(a)). cnf(b, axiom, ~p(X) | r(X)).",
      "cnf(a, axiom, f(f(X)) = X). cnf(b, axiom, f(a) != a | p). cnf(c, axiom, ~p).",
      ("cnf(a, axiom, f(X) = a | p(X)). cnf(b, axiom, ~p(b)). cnf(c, axiom, f(b) != b).\n"
       "cnf(d, axiom, X = a | X = b | q(X))."),
      "cnf(a, axiom, \"a\" = X | f(X) = \"b\"). cnf(b, axiom, f(\"a\") = \"a\").",
  };
  for (const char* problem : satisfiable)
    for (const Strategy& strategy : selections())
      EXPECT_EQ(run(problem, strategy).verdict, Verdict::kSatisfiable) << problem;
  // Saturated after throwing heavy clauses away: no answer.
  Strategy light;
  light.max_weight = 4;
  const Result r = run("cnf(a, axiom, p(X) | p(f(f(f(X))))). cnf(b, axiom, ~p(a) | q).", light);
  EXPECT_EQ(r.verdict, Verdict::kGaveUp);
  EXPECT_EQ(r.reason, "a clause above the weight limit");
}

TEST(SaturationCalculus, DistinctObjectsAreUnequal) {
  const Result r = run("cnf(a, axiom, f(X) = \"b\"). cnf(b, axiom, f(\"a\") = \"a\").");
  ASSERT_EQ(r.verdict, Verdict::kUnsatisfiable);
  EXPECT_TRUE(std::any_of(r.proof.begin(), r.proof.end(), [](const ProofStep& s) {
    return s.rule == "theory" && s.theory == "distinct_objects";
  }));
  EXPECT_EQ(run("cnf(a, axiom, f(X) = \"b\" | X = \"a\").").verdict, Verdict::kSatisfiable);
}

TEST(SaturationCalculus, DeepTermsAreHandledWithoutRecursionLimits) {
  constexpr int kDepth = 100000;
  std::string deep;
  for (int i = 0; i < kDepth; ++i) deep += "f(";
  deep += "a" + std::string(kDepth, ')');
  const std::string problem = "cnf(a, axiom, p(" + deep + ")). cnf(b, axiom, ~p(f(X))).";
  Strategy unlimited;
  unlimited.max_weight = 0;
  EXPECT_EQ(run(problem, unlimited).verdict, Verdict::kUnsatisfiable);
  // Within the default weight limit the clause is dropped, and the answer
  // is none rather than a model.
  EXPECT_EQ(run(problem).verdict, Verdict::kGaveUp);
}

}  // namespace
}  // namespace velkor::saturation
