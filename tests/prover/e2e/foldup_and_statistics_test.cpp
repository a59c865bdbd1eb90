// Inference counts of foldup searches on real problems (the lemmas they
// walk are grouped, and must be met in the same order as ever), and the
// --statistics lines, which add to a run's output without changing it.
#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/prover/e2e/velkor_run.hpp"

namespace velkor_test {
namespace {

std::string problem(const std::string& name) {
  return std::string(TEST_DATA_DIR) + "/tptp/Problems/" + name + ".p";
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> result;
  for (std::string w; in >> w;) result.push_back(w);
  return result;
}

// The last line that starts with `prefix`.
std::string last_line(const std::string& out, const std::string& prefix) {
  std::istringstream in(out);
  std::string found;
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) found = line;
  return found;
}

struct FoldupCase {
  const char* problem;
  const char* options;
  const char* last_level;
  const char* total;  // the totals line of a proof, or ""
};

TEST(FoldupCounts, LevelLinesOfRealProblems) {
  const FoldupCase cases[] = {
      {"SYN843-1", "-foldup -d 5", "Lev. 5: inferences: succ fail: 1535 1289", ""},
      {"SYN843-1", "-reg -sreg -foldup -d 5", "Lev. 5: inferences: succ fail constr: 793 558 158",
       ""},
      {"SYN160-1", "-foldup -d 5", "Lev. 5: inferences: succ fail: 15370 91126", ""},
      {"SYN160-1", "-reg -foldup -d 5", "Lev. 5: inferences: succ fail constr: 13291 78213 780",
       ""},
      {"SYN869-1", "-foldup -d 11", "Lev. 11: inferences: succ fail: 240 23", ""},
      {"SYN076-1", "-foldup -d 2", "Lev. 2: inferences: succ fail: 1040 43188", ""},
      {"SYN155-1", "-foldup -sgindex -indexfoldup",
       "Lev. 5: inferences: succ match fail: 130632 16829 732275",
       "Total successful/failed inferences: 130836 (RED: 9054) (LEM: 16831)/733918"},
  };
  for (const FoldupCase& c : cases) {
    std::vector<std::string> args = words(c.options);
    args.push_back(problem(c.problem));
    RunResult r = run_args(args);
    SCOPED_TRACE(std::string(c.problem) + " " + c.options);
    EXPECT_EQ(last_line(r.out, "Lev. "), c.last_level);
    EXPECT_EQ(last_line(r.out, "Total "), c.total);
  }
}

// The figures of the statistics lines, and the output without them.
struct Statistics {
  std::int64_t successful = -1, failed = -1, refusals = -1;
  double cpu = -1;
  std::string rest;
};

Statistics statistics(const std::string& out) {
  Statistics s;
  std::istringstream in(out);
  const std::regex figure(R"(% statistics: (.+) ([0-9.]+))");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_match(line, m, figure)) {
      s.rest += line + "\n";
      continue;
    }
    if (m[1] == "successful inferences") s.successful = std::stoll(m[2]);
    if (m[1] == "failed inferences") s.failed = std::stoll(m[2]);
    if (m[1] == "refusals at the depth bound") s.refusals = std::stoll(m[2]);
    if (m[1] == "search CPU seconds") s.cpu = std::stod(m[2]);
  }
  return s;
}

// Sums of the succ and fail columns of the level lines.
void level_sums(const std::string& out, std::int64_t& successful, std::int64_t& failed) {
  successful = failed = 0;
  std::istringstream in(out);
  const std::regex level(R"(Lev\. \d+: inferences: (succ( match)? fail( constr)?): (.*))");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_match(line, m, level)) continue;
    std::vector<std::string> labels = words(m[1]), values = words(m[4]);
    for (std::size_t i = 0; i < labels.size(); ++i) {
      if (labels[i] == "succ") successful += std::stoll(values[i]);
      if (labels[i] == "fail") failed += std::stoll(values[i]);
    }
  }
}

TEST(Statistics, AddFourLinesThatCountEveryLevel) {
  const char* const runs[] = {"-d 4", "-reg -sgindex -indexfoldup", "-foldup -d 4"};
  for (const char* options : runs) {
    SCOPED_TRACE(options);
    std::vector<std::string> args = words(options);
    args.push_back(problem("SYN155-1"));
    RunResult plain = run_args(args);
    args.insert(args.begin(), "--statistics");
    RunResult counted = run_args(args);
    Statistics s = statistics(counted.out);
    EXPECT_EQ(s.rest, plain.out);
    EXPECT_EQ(counted.status, plain.status);
    std::int64_t successful, failed;
    level_sums(plain.out, successful, failed);
    EXPECT_EQ(s.successful, successful);
    EXPECT_EQ(s.failed, failed);
    EXPECT_GT(s.refusals, 0);
    EXPECT_LE(s.refusals, s.failed);
    EXPECT_GE(s.cpu, 0);
    // The figures stand right before the status line.
    EXPECT_LT(counted.out.find("% statistics: search CPU seconds"),
              counted.out.find("% SZS status"));
  }
}

TEST(Statistics, CountTheLevelThatTheTimeLimitCutShort) {
  // Reading the problem takes half a second under the sanitizers, and the
  // time limit holds while the search is prepared too.
  RunResult r = run_args({"--statistics", "-foldup", "--time-limit", "1", problem("SYN843-1")});
  EXPECT_EQ(r.status, 2);
  Statistics s = statistics(r.out);
  std::int64_t successful, failed;
  level_sums(r.out, successful, failed);
  EXPECT_GT(s.successful + s.failed, successful + failed);
}

}  // namespace
}  // namespace velkor_test
