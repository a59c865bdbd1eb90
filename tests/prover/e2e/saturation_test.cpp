// velkor --saturation as users run it: the SZS status and exit status for
// every way a run ends, the statistics table, and the options of the
// strategy (a bad one is an error in the parameter list).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

RunResult saturate(const std::string& name, const std::string& problem,
                   std::vector<std::string> options = {}) {
  std::vector<std::string> args{"--saturation"};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(write_temp_file(name + ".p", problem));
  return run_program(VELKOR_BIN, args);
}

std::string status_of(const RunResult& r) {
  const std::size_t at = r.out.find("% SZS status ");
  return at == std::string::npos ? "" : r.out.substr(at + 13, r.out.find(' ', at + 13) - at - 13);
}

TEST(Saturation, StatusForEveryEnding) {
  struct Case {
    const char* name;
    const char* problem;
    std::vector<std::string> options;
    const char* status;
    int exit;
  };
  const Case cases[] = {
      {"theorem",
       "fof(a, axiom, ![X]: f(X) = g(X)). fof(b, axiom, p(f(c))). fof(g, conjecture, p(g(c))).",
       {},
       "Theorem",
       0},
      {"contradictory",
       "fof(a, axiom, p). fof(b, axiom, ~p). fof(g, conjecture, q).",
       {},
       "ContradictoryAxioms",
       0},
      {"countersatisfiable",
       "fof(a, axiom, p(a)). fof(g, conjecture, p(b)).",
       {},
       "CounterSatisfiable",
       0},
      {"unsatisfiable",
       "cnf(a, axiom, f(X) = X). cnf(b, axiom, f(a) != a).",
       {},
       "Unsatisfiable",
       0},
      {"satisfiable", "cnf(a, axiom, f(X) != X | p). cnf(b, axiom, ~p).", {}, "Satisfiable", 0},
      {"gaveup",
       "cnf(a, axiom, p(X) | p(f(f(f(X))))). cnf(b, axiom, ~p(a) | q).",
       {"--sat-weight-limit", "4"},
       "GaveUp",
       0},
      {"timeout",
       "cnf(a, axiom, m(m(X,Y),Z) = m(X,m(Y,Z))). cnf(b, axiom, m(X,Y) = m(Y,X)).\n"
       "cnf(c, axiom, m(a,b) != m(b,c)). cnf(d, axiom, p(m(X,Y)) | p(X)).",
       {"--time-limit", "0.3"},
       "Timeout",
       2},
      {"strategy", "cnf(a, axiom, p).", {"--sat-strategy", "nonsense"}, "Error", 1},
      {"ratio", "cnf(a, axiom, p).", {"--sat-ratio", "3-1"}, "Error", 1},
  };
  for (const Case& c : cases) {
    const RunResult r = saturate(c.name, c.problem, c.options);
    EXPECT_EQ(status_of(r), c.status) << c.name << "\n" << r.out << r.err;
    EXPECT_EQ(r.status, c.exit) << c.name;
  }
  // Only TPTP input.
  const std::string v = write_temp_file("clauses.v", "input_clause(c1,axiom,[++p]).\n");
  const RunResult r = run_program(VELKOR_BIN, {"--saturation", v});
  EXPECT_EQ(r.err, "velkor: --saturation needs a TPTP problem\n");
  EXPECT_EQ(r.status, 1);
}

TEST(Saturation, StrategiesAgreeAndStatisticsAreShown) {
  const std::string problem =
      "cnf(a, axiom, m(m(X,Y),Z) = m(X,m(Y,Z))). cnf(b, axiom, m(e,X) = X).\n"
      "cnf(c, axiom, m(i(X),X) = e). cnf(d, negated_conjecture, m(k,i(k)) != e).";
  for (std::vector<std::string> options : {std::vector<std::string>{},
                                           {"--sat-strategy", "plain"},
                                           {"--sat-strategy", "goal"},
                                           {"--sat-strategy", "complex"},
                                           {"--sat-selection", "2", "--sat-ratio", "1:3"},
                                           {"--sat-precedence", "0"}}) {
    options.push_back("--statistics");
    const RunResult r = saturate("group", problem, options);
    EXPECT_EQ(status_of(r), "Unsatisfiable") << r.out;
    for (const char* line :
         {"% statistics: processed clauses ", "% statistics: superposition candidates ",
          "% statistics: saturation CPU seconds "})
      EXPECT_NE(r.out.find(line), std::string::npos) << line;
  }
}

}  // namespace
