// The problem report on real problems: every problem of the TPTP collection
// beside the repository, converted without additions, must give the counts
// its own "% Syntax" header states (clauses, units, non-Horn clauses,
// literals, equality literals, maximal clause size, predicates with
// propositional ones and the arity range, functors with constants and the
// arity range, variables and singletons).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::write_temp_file;

// The header's numbers in the order the report prints them.
std::string expected_from_header(const std::string& text) {
  auto find = [&](const char* pattern) {
    std::smatch m;
    std::regex re(pattern);
    if (!std::regex_search(text, m, re)) return std::vector<std::string>{};
    return std::vector<std::string>(m.begin() + 1, m.end());
  };
  auto clauses = find(R"(Number of clauses\s*:\s*(\d+)\s*\(\s*(\d+) unt;\s*(\d+) nHn)");
  auto literals = find(R"(Number of literals\s*:\s*(\d+)\s*\(\s*(\d+) equ)");
  auto size = find(R"(Maximal clause size\s*:\s*(\d+))");
  auto predicates =
      find(R"(Number of predicates\s*:\s*(\d+)\s*\(\s*\d+ usr;\s*(\d+) prp;\s*(\S+) aty)");
  auto functors =
      find(R"(Number of functors\s*:\s*(\d+)\s*\(\s*\d+ usr;\s*(\d+) con;\s*(\S+) aty)");
  auto variables = find(R"(Number of variables\s*:\s*(\d+)\s*\(\s*(\d+) sgn)");
  if (clauses.empty() || literals.empty() || size.empty() || predicates.empty() ||
      functors.empty() || variables.empty())
    return "";
  return "Syntax:\tNumber of clauses:\t" + clauses[0] + " ( " + clauses[2] + " non-Horn; " +
         clauses[1] + " unit)\n\tNumber of literals:\t" + literals[0] + " ( " + literals[1] +
         " equality)\n\tMaximal clause size:\t" + size[0] + "\n\tNumber of predicates:\t" +
         predicates[0] + " ( " + predicates[1] + " propositional; " + predicates[2] +
         " arity)\n\tNumber of functors:\t" + functors[0] + " ( " + functors[1] + " constant; " +
         functors[2] + " arity)\n\tNumber of variables:\t" + variables[0] + " ( " + variables[1] +
         " singleton)\n";
}

TEST(RealProblemsReport, MatchesTheSyntaxHeaderOfEveryProblem) {
  std::filesystem::path dir = std::string(TEST_DATA_DIR) + "/tptp/Problems";
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string text = read_file(entry.path());
    std::string expected = expected_from_header(text.substr(0, text.find("\ncnf(")));
    if (expected.empty()) continue;  // no header to compare with
    auto converted = run_program(TPTP_TO_VELKOR_BIN,
                                 {"--no-equality-axioms", "--keep-tautologies", entry.path()});
    if (converted.status != 0) continue;  // the empty clause cannot be written
    std::string file = write_temp_file("report.v", converted.out);
    // Level 0 only: the report is all that matters here.
    auto run = run_program(VELKOR_BIN, {"-id", "0", "-d", "0", file});
    ASSERT_EQ(run.status, 0) << entry.path() << run.err;
    std::string head = file + ": Trying to parse\n";
    ASSERT_EQ(run.out.substr(0, head.size()), head) << entry.path();
    EXPECT_EQ(run.out.substr(head.size(), expected.size()), expected) << entry.path();
    ++compared;
  }
  // Every problem of the sample has a header but SYN915-1, whose only
  // clause is empty.
  EXPECT_EQ(compared, 28);
}

}  // namespace
