// The conflict-driven engine through its library calls, checked against
// exhaustive enumeration on small random clause sets, and quorvel --cdcl
// end to end on the SATLIB instances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "modelgen/cdcl/solver.hpp"
#include "tests/modelgen/quorvel_run.hpp"

namespace {

using modelgen::cdcl::Answer;
using modelgen::cdcl::Solver;
using Clauses = std::vector<std::vector<int>>;

bool holds(int literal, unsigned assignment) {
  bool value = (assignment >> (std::abs(literal) - 1)) & 1u;
  return literal > 0 ? value : !value;
}

bool satisfies(const Clauses& clauses, unsigned assignment) {
  for (const std::vector<int>& clause : clauses) {
    bool any = false;
    for (int literal : clause) any = any || holds(literal, assignment);
    if (!any) return false;
  }
  return true;
}

// Random 3-literal clause sets near the threshold, solved under random
// assumptions: the answer agrees with enumeration, a model satisfies the
// clauses and the assumptions, the failed assumptions are assumptions and
// their clause holds in every model; then all models are enumerated by
// adding blocking clauses between solves.
TEST(CdclSolver, AgreesWithEnumerationUnderAssumptionsAndAddedClauses) {
  std::mt19937 random(2126);
  constexpr int kVars = 10;
  for (int round = 0; round < 300; ++round) {
    Clauses clauses(30 + round % 20);
    for (std::vector<int>& clause : clauses)
      for (int k = 0; k < 3; ++k)
        clause.push_back(static_cast<int>(random() % kVars + 1) * (random() % 2 ? 1 : -1));
    Solver solver;
    for (const std::vector<int>& clause : clauses) solver.add_clause(clause);
    for (int query = 0; query < 4; ++query) {
      std::vector<int> assumptions;
      for (int k = 0; k < query; ++k)
        assumptions.push_back(static_cast<int>(random() % kVars + 1) * (random() % 2 ? 1 : -1));
      Clauses with_assumptions = clauses;
      for (int a : assumptions) with_assumptions.push_back({a});
      bool satisfiable = false;
      for (unsigned m = 0; m < (1u << kVars); ++m) satisfiable |= satisfies(with_assumptions, m);
      Answer answer = solver.solve(assumptions);
      ASSERT_EQ(answer, satisfiable ? Answer::kSatisfiable : Answer::kUnsatisfiable) << round;
      if (satisfiable) {
        unsigned model = 0;
        for (int v = 1; v <= kVars; ++v) model |= solver.value(v) ? 1u << (v - 1) : 0u;
        EXPECT_TRUE(satisfies(with_assumptions, model)) << round;
        continue;
      }
      Clauses failed_clause = clauses;
      for (int literal : solver.failed_assumptions()) {
        EXPECT_NE(std::find(assumptions.begin(), assumptions.end(), -literal), assumptions.end());
        failed_clause.push_back({-literal});
      }
      for (unsigned m = 0; m < (1u << kVars); ++m) EXPECT_FALSE(satisfies(failed_clause, m));
    }
    int expected = 0, found = 0;
    for (unsigned m = 0; m < (1u << kVars); ++m) expected += satisfies(clauses, m);
    while (solver.solve() == Answer::kSatisfiable) {
      ++found;
      std::vector<int> blocking;
      for (int v = 1; v <= kVars; ++v) blocking.push_back(solver.value(v) ? -v : v);
      solver.add_clause(blocking);
    }
    EXPECT_EQ(found, expected) << round;
    EXPECT_TRUE(solver.failed_assumptions().empty());
  }
}

// n + 1 pigeons in n holes: unsatisfiable, and hard enough to need many conflicts.
void add_pigeonhole(Solver& solver, int holes) {
  auto var = [&](int pigeon, int hole) { return pigeon * holes + hole + 1; };
  for (int p = 0; p <= holes; ++p) {
    std::vector<int> somewhere;
    for (int h = 0; h < holes; ++h) somewhere.push_back(var(p, h));
    solver.add_clause(somewhere);
  }
  for (int h = 0; h < holes; ++h)
    for (int p = 0; p <= holes; ++p)
      for (int q = p + 1; q <= holes; ++q) solver.add_clause(std::vector{-var(p, h), -var(q, h)});
}

TEST(CdclSolver, StopsWhenAskedOrOutOfBudgetAndCanGoOnAfterwards) {
  Solver solver;
  add_pigeonhole(solver, 7);
  EXPECT_EQ(solver.solve({}, 50), Answer::kUnknown);
  EXPECT_EQ(solver.conflicts(), 50);
  int asked = 0;
  solver.set_should_stop([&] { return ++asked == 2; });
  EXPECT_EQ(solver.solve(), Answer::kUnknown);
  EXPECT_EQ(asked, 2);
  solver.set_should_stop(nullptr);
  EXPECT_EQ(solver.solve(), Answer::kUnsatisfiable);
  EXPECT_TRUE(solver.failed_assumptions().empty());
}

// The empty clause, contradictory assumptions, and an implication chain
// far longer than any stack allows recursion over.
TEST(CdclSolver, EdgeCases) {
  Solver contradiction;
  contradiction.add_clause(std::vector{1, 2});
  EXPECT_EQ(contradiction.solve(std::vector{1, -1}), Answer::kUnsatisfiable);
  std::vector<int> failed = contradiction.failed_assumptions();
  std::sort(failed.begin(), failed.end());
  EXPECT_EQ(failed, (std::vector{-1, 1}));
  contradiction.add_clause(std::vector<int>{});
  EXPECT_EQ(contradiction.solve(), Answer::kUnsatisfiable);
  EXPECT_EQ(contradiction.solve(std::vector{2}), Answer::kUnsatisfiable);
  EXPECT_TRUE(contradiction.failed_assumptions().empty());
  EXPECT_THROW(contradiction.add_clause(std::vector{0}), std::invalid_argument);

  constexpr int kLength = 300000;
  Solver chain;
  EXPECT_EQ(chain.new_variable(), 1);
  for (int v = 1; v < kLength; ++v) chain.add_clause(std::vector{-v, v + 1});
  // Both ends of the chain imply 0 < v: a conflict deep below its decision.
  chain.add_clause(std::vector{-kLength, kLength + 1});
  chain.add_clause(std::vector{-kLength, -(kLength + 1), kLength + 2});
  chain.add_clause(std::vector{-kLength, -(kLength + 2)});
  EXPECT_EQ(chain.solve(std::vector{5}), Answer::kUnsatisfiable);
  EXPECT_EQ(chain.failed_assumptions(), std::vector{-5});
  EXPECT_EQ(chain.solve(), Answer::kSatisfiable);
  EXPECT_FALSE(chain.value(5));
}

// Every SATLIB sample gets its known answer from quorvel --cdcl, and the
// model of the competition output satisfies every clause of the file.
TEST(QuorvelCdcl, SatlibAnswersAndModels) {
  for (const char* name :
       {"uf20-02", "uf20-04", "uf50-01", "uf50-02", "uf75-01", "uf100-01", "uf125-011", "uuf50-01",
        "uuf50-03", "uuf75-03", "uuf100-01", "uuf125-040"}) {
    std::string file = std::string(TEST_DATA_DIR) + "/satlib/" + name + ".cnf";
    auto result = quorvel_test::run_args({"--cdcl", "--sat-competition", file});
    bool satisfiable = name[1] == 'f';
    EXPECT_EQ(result.status, satisfiable ? 10 : 20) << name;
    if (!satisfiable) continue;
    std::vector<bool> value(1, false);
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("v ", 0) != 0) continue;
      std::istringstream words(line.substr(2));
      for (int literal; words >> literal && literal != 0;) value.push_back(literal > 0);
    }
    std::istringstream clauses(testing_support::read_file(file));
    std::string line;
    bool clause_true = false;
    while (std::getline(clauses, line) && line.rfind('%', 0) != 0) {
      if (line.empty() || line[0] == 'c' || line[0] == 'p') continue;
      std::istringstream words(line);
      for (int literal; words >> literal;) {
        if (literal == 0) {
          EXPECT_TRUE(clause_true) << name;
          clause_true = false;
          continue;
        }
        auto atom = static_cast<std::size_t>(std::abs(literal));
        clause_true |= atom < value.size() && value[atom] == (literal > 0);
      }
    }
  }
}

// quorvel's own output around the engine: the model block of a unique
// model, the count of -allmodels, the empty clause, and the general syntax
// (whose sparse hashed atom numbers must not become variables).
TEST(QuorvelCdcl, OutputAsWithoutTheOption) {
  auto unique = quorvel_test::run_on({"--cdcl", "-negmodel"}, "(1) (-1 2) (-2 -3)\n");
  EXPECT_EQ(unique.out.substr(0, unique.out.find("satisfiable:")), "model 1:\n 1 2 -3\n");
  EXPECT_EQ(unique.status, 0);
  std::string file = std::string(TEST_DATA_DIR) + "/satlib/uf20-02.cnf";
  auto all = quorvel_test::run_args({"--cdcl", "-allmodels", "-noverbose", file});
  EXPECT_EQ(all.out.substr(0, all.out.find(", ")), "satisfiable: nr of models: 29");
  quorvel_test::expect_output(quorvel_test::run_on({"--cdcl"}, "(1 2) ()\n"),
                              "unsatisfiable: 0 branches\n");
  quorvel_test::expect_output(quorvel_test::run_on({"--cdcl", "-geninput"}, "((a) ()) ((b) (a))\n"),
                              "positive part of model 1:\n A B\nsatisfiable: 0 branches\n");
}

}  // namespace
