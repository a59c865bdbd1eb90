// --auto as a harness runs it: the class line that picks the schedule, and
// --cores, which runs option sets in child processes: one answer printed
// whole, the wall-clock limit kept, and no child left behind when velkor is
// stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;

const std::string kData = std::string(TEST_DATA_DIR);

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t a = text.find(from), b = text.find(to);
  return a == std::string::npos || b == std::string::npos ? "" : text.substr(a, b - a);
}

// The lines of a proof in sorted order, the numbers of its instance names
// (i_1, i_2, ...) left out: two option sets that find the same proof may
// list its instances in another order.
std::vector<std::string> sorted_lines(const std::string& text) {
  std::string unnumbered;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unnumbered += text[i];
    if (text[i] == '_' && i > 0 && text[i - 1] == 'i')
      while (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
  }
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = unnumbered.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(unnumbered.substr(at, end - at));
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The class is what the features of the clauses make it, equality axioms
// of the converter left out, and the line stands before the first option set.
TEST(AutoClass, LineNamesTheFeaturesBeforeTheFirstOptionSet) {
  const struct {
    const char* file;
    const char* line;
  } cases[] = {
      {"/tptp/Problems/SYN069-1.p",
       "% problem class CNF-NEQ-NH-S: clauses, no equality, not Horn, "
       "conjecture; 9 clauses, 7 axioms, size 30; schedule "},
      {"/tptp/Problems/SYN986-10.006.p",
       "% problem class CNF-UEQ-HO-S: clauses, unit equality, Horn"},
      {"/tptp/Problems/SYN103-1.p", "% problem class CNF-NEQ-HO-EPR-L: "},
      {"/tptp/Problems/SYN075-1.p", "% problem class CNF-EQ-NH-S: "},
      {"/tptp-fof/Problems/SYN068+1.p",
       "% problem class FOF-NEQ-HO-S: first-order formulas, no equality, Horn, conjecture; 8 "
       "clauses "
       "from 3 formulas, 2 axioms, size 15; schedule "},
  };
  for (const auto& c : cases) {
    RunResult run = run_program(VELKOR_BIN, {"--auto", "--time-limit", "0.01", kData + c.file});
    const std::size_t line = run.out.find("% problem class ");
    ASSERT_NE(line, std::string::npos) << c.file;
    EXPECT_EQ(run.out.substr(line, std::string(c.line).size()), c.line);
    EXPECT_LT(line, run.out.find("% option set 1 of "));
  }
}

// Two cores give the answer one core gives, with one proof, whole; a run
// that cannot be proved ends within its wall-clock limit.
TEST(AutoCores, OneAnswerPrintedWholeWithinTheLimit) {
  const std::string problem = kData + "/tptp-fof/Problems/SYN068+1.p";
  RunResult one = run_program(VELKOR_BIN, {"--auto", "--time-limit", "5", "-proof", problem});
  RunResult two =
      run_program(VELKOR_BIN, {"--auto", "--cores", "2", "--time-limit", "5", "-proof", problem});
  EXPECT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(count(two.out, "% SZS output start"), 1);
  EXPECT_EQ(count(two.out, "% SZS status"), 1);
  EXPECT_EQ(count(two.out, "***** PROOF WITH"), 1);
  const std::string proof = between(two.out, "% SZS output start", "% SZS output end");
  EXPECT_NE(proof, "");
  // Whichever option set answers first wins, so the instances may come in
  // another order than on one core; the proof is the same.
  EXPECT_EQ(sorted_lines(proof),
            sorted_lines(between(one.out, "% SZS output start", "% SZS output end")));
  EXPECT_LT(two.out.find("% SZS status Theorem for SYN068+1\n"),
            two.out.find("% SZS output start"));

  const auto start = std::chrono::steady_clock::now();
  RunResult hard = run_program(VELKOR_BIN, {"--auto", "--cores", "2", "--time-limit", "1",
                                            kData + "/tptp/Problems/SYN067-1.p"});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(hard.status, 2);
  EXPECT_EQ(hard.out.substr(hard.out.rfind("% SZS status")), "% SZS status Timeout for SYN067-1\n");
  // Ending at the limit itself would do; the margin is for starting the
  // process on a loaded machine.
  EXPECT_LT(seconds, 1.5);

  RunResult bad = run_program(VELKOR_BIN, {"--auto", "--cores", "0", problem});
  EXPECT_EQ(bad.status, 1);
}

// A process's state letter and parent from /proc ('?' when it is gone).
char state_of(pid_t pid, long* parent = nullptr) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t close = line.rfind(')');
  char state = '?';
  long ppid = 0;
  if (close == std::string::npos ||
      std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &ppid) != 2)
    return '?';
  if (parent) *parent = ppid;
  return state;
}

std::vector<pid_t> children_of(pid_t pid) {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    long parent = 0;
    const char state = state_of(std::stoi(name), &parent);
    if (parent == pid && state != 'Z' && state != '?') found.push_back(std::stoi(name));
  }
  return found;
}

bool gone(pid_t pid) {
  const char state = state_of(pid);
  return state == '?' || state == 'Z';
}

// Whatever stops velkor, SIGTERM from a harness or SIGKILL, stops the
// searches it started.
TEST(AutoCores, NoChildOutlivesVelkor) {
  for (int sig : {SIGTERM, SIGKILL}) {
    const pid_t velkor = fork();
    ASSERT_GE(velkor, 0);
    if (velkor == 0) {
      if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
      const std::string problem = kData + "/tptp/Problems/SYN067-1.p";
      execl(VELKOR_BIN, VELKOR_BIN, "--auto", "--cores", "2", "--time-limit", "30", problem.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    std::vector<pid_t> children;
    for (int tries = 0; tries < 200 && children.size() < 2; ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      children = children_of(velkor);
    }
    ASSERT_EQ(children.size(), 2u) << "signal " << sig;
    kill(velkor, sig);
    int status;
    waitpid(velkor, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);
    bool all_gone = false;
    for (int tries = 0; tries < 100 && !all_gone; ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      all_gone = gone(children[0]) && gone(children[1]);
    }
    EXPECT_TRUE(all_gone) << "signal " << sig;
  }
}

}  // namespace
