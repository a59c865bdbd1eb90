// quorvel --sat-competition: only "c", "s" and "v" lines, one verdict, the
// harness's exit statuses, and a model that lists every atom of the header
// with its sign and satisfies every clause.
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

using Clauses = std::vector<std::vector<int>>;

std::string dimacs(int atoms, const Clauses& clauses) {
  std::string text = "c written by the test\np cnf " + std::to_string(atoms) + " " +
                     std::to_string(clauses.size()) + "\n";
  for (const auto& clause : clauses) {
    for (int literal : clause) text += std::to_string(literal) + " ";
    text += "0\n";
  }
  return text;
}

// Checks the form of the output and returns its verdict word; for a model,
// checks that it lists atoms 1 to `atoms` once each and satisfies `clauses`.
std::string verdict_of(const RunResult& result, int atoms, const Clauses& clauses) {
  std::istringstream lines(result.out);
  std::string line, verdict;
  std::vector<int> model;
  bool ended = false;
  while (std::getline(lines, line)) {
    EXPECT_LE(line.size() + 1, 4096u);
    if (line.starts_with("c ")) continue;
    if (line.starts_with("s ")) {
      EXPECT_EQ(verdict, "") << "a second verdict";
      verdict = line.substr(2);
      continue;
    }
    EXPECT_TRUE(line.starts_with("v ") && !ended) << line;
    std::istringstream words(line.substr(2));
    int literal;
    while (words >> literal) {
      if (literal == 0)
        ended = true;
      else
        model.push_back(literal);
    }
  }
  if (verdict != "SATISFIABLE") {
    EXPECT_TRUE(model.empty() && !ended);
    return verdict;
  }
  EXPECT_TRUE(ended) << "the model does not end with 0";
  std::set<int> listed;
  for (int literal : model) listed.insert(std::abs(literal));
  EXPECT_EQ(listed.size(), model.size()) << "an atom is listed twice";
  EXPECT_EQ(static_cast<int>(listed.size()), atoms);
  EXPECT_TRUE(listed.empty() || (*listed.begin() == 1 && *listed.rbegin() == atoms));
  std::set<int> true_literals(model.begin(), model.end());
  for (const auto& clause : clauses) {
    bool satisfied = false;
    for (int literal : clause) satisfied = satisfied || true_literals.contains(literal);
    EXPECT_TRUE(satisfied) << "a clause is false in the model";
  }
  return verdict;
}

// n + 1 pigeons in n holes: atom (p, h) is 1 + p * n + h.
Clauses pigeons(int holes) {
  Clauses clauses;
  for (int p = 0; p <= holes; ++p) {
    clauses.emplace_back();
    for (int h = 0; h < holes; ++h) clauses.back().push_back(1 + p * holes + h);
  }
  for (int h = 0; h < holes; ++h)
    for (int p = 0; p <= holes; ++p)
      for (int q = p + 1; q <= holes; ++q)
        clauses.push_back({-(1 + p * holes + h), -(1 + q * holes + h)});
  return clauses;
}

TEST(SatCompetition, VerdictsModelsAndStatuses) {
  // Atom 5 occurs in no clause and atom 4 only in a tautology: both are listed.
  const Clauses small = {{1, -2}, {2, 3}, {-1, -3}, {4, -4}, {-3, 2}};
  // 3000 atoms in one clause: the model needs several "v" lines.
  Clauses wide(1);
  for (int atom = 1; atom <= 3000; ++atom) wide[0].push_back(atom);
  struct Case {
    std::vector<std::string> options;
    int atoms;
    Clauses clauses;
    std::string verdict;
    int status;
  };
  for (const Case& c : {
           Case{{"--sat-competition"}, 5, small, "SATISFIABLE", 10},
           // Output options change nothing; search options keep their meaning.
           Case{{"-allmodels", "-negmodel", "-atomlist", "-verbose", "1", "--sat-competition"},
                5,
                small,
                "SATISFIABLE",
                10},
           Case{{"--sat-competition", "-dynamic", "-neg", "-split", "10"},
                3000,
                wide,
                "SATISFIABLE",
                10},
           Case{{"--sat-competition", "-pos"}, 3000, wide, "SATISFIABLE", 10},
           Case{{"--sat-competition", "-limit", "3", "-limit+", "50"},
                20,
                pigeons(4),
                "UNSATISFIABLE",
                20},
           Case{{"--sat-competition"}, 2, {{1}, {}}, "UNSATISFIABLE", 20},
           // The restart loop would repeat forever: no answer.
           Case{{"--sat-competition", "-limit", "1", "-limit+", "0"}, 20, pigeons(4), "UNKNOWN", 0},
       }) {
    RunResult result = run_on(c.options, dimacs(c.atoms, c.clauses));
    SCOPED_TRACE(c.options.back() + " " + std::to_string(c.atoms));
    EXPECT_EQ(verdict_of(result, c.atoms, c.clauses), c.verdict) << result.out;
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, "");
  }
}

TEST(SatCompetition, OtherInputSyntaxes) {
  // The integer syntax lists the atoms up to the largest number read.
  RunResult result = run_on({"--sat-competition"}, "(1 -3)\n(-1)\n");
  EXPECT_EQ(result.out, "c satisfiable: 3 branches\ns SATISFIABLE\nv -1 -2 -3 0\n");
  EXPECT_EQ(result.status, 10);
  // General-syntax atoms have no numbers to list.
  result = run_on({"-geninput", "--sat-competition"}, "((a) ())\n");
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("--sat-competition needs numbered atoms"), std::string::npos);
  EXPECT_EQ(result.status, 1);
}

}  // namespace
}  // namespace quorvel_test
