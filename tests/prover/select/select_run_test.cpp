// velkor --select: a proof on the kept premises is a proof of the whole
// problem (checked against it), a failure on them is no answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

const std::string kData = std::string(TEST_DATA_DIR) + "/select/";

RunResult velkor(std::vector<std::string> args) {
  return run_program(VELKOR_BIN, args);
}

std::string selection_line(const std::string& out) {
  const std::size_t at = out.find("% selection: ");
  return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The premise the proof needs comes in the second round: one round gives up
// (the tableau search and model generation both exhaust the kept part), two
// prove, and the proof names the problem's own clauses and checks against
// the whole problem.
TEST(SelectRun, ProofsStandFailuresGiveUp) {
  struct Case {
    std::string problem;
    std::vector<std::string> options;
    std::string selection;
    std::string status;
  };
  const std::string one = "sine tolerance 1, depth 1, threshold 0, limit 0: kept ";
  const std::string two = "sine tolerance 1, depth 2, threshold 0, limit 0: kept ";
  for (const Case& c : std::vector<Case>{
           {"ground.p", {"--select", "sine:1:1", "-reg"}, one + "3 of 7 formulas", "GaveUp"},
           {"ground.p",
            {"--select", "sine:1:1", "--auto", "--time-limit", "3"},
            one + "3 of 7 formulas",
            "GaveUp"},
           {"chain.p",
            {"--select", "sine:1:1", "--models", "--time-limit", "3"},
            one + "4 of 10 formulas",
            "GaveUp"},
           {"ground.p",
            {"--select", "sine:1:2", "-reg", "-proof"},
            two + "4 of 7 formulas",
            "Unsatisfiable"},
           {"chain.p",
            {"--select", "sine:1:2", "--auto", "--time-limit", "10", "-proof"},
            two + "5 of 10 formulas",
            "Theorem"},
       }) {
    std::vector<std::string> args = c.options;
    args.push_back(kData + c.problem);
    const RunResult run = velkor(args);
    SCOPED_TRACE(c.problem + " " + c.options[1] + "\n" + run.out + run.err);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(selection_line(run.out), "% selection: " + c.selection);
    const std::string name = c.problem.substr(0, c.problem.size() - 2);
    EXPECT_TRUE(has(run.out, "% SZS status " + c.status + " for " + name + "\n"));
    if (c.status == "GaveUp") continue;
    // The whole problem, not the kept part, is what the proof must be of.
    EXPECT_TRUE(has(run.out, c.problem == "ground.p" ? "cnf(qr, axiom, q(X) | ~r(X), file("
                                                     : "fof(bd, axiom, sub(b,d), file("));
    const RunResult check =
        run_program(PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, "--problem", kData + c.problem,
                                      write_temp_file("selected-proof.txt", run.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    if (c.problem == "ground.p") {
      EXPECT_TRUE(has(check.out, "4 of 4 leaves are the problem's"));
    }
  }
}

TEST(SelectRun, WholeProblemsAnswerAsWithoutSelectionAndBadUsesAreErrors) {
  // Without a conjecture nothing is left out: a complete search's answer stands.
  const std::string sat =
      write_temp_file("sat.p", "cnf(a, axiom, p(X) | q).\ncnf(b, axiom, ~q).\n");
  RunResult run = velkor({"--select", "sine:1:1", sat});
  EXPECT_EQ(selection_line(run.out), "% selection: no conjecture: kept all 2 formulas");
  EXPECT_TRUE(has(run.out, "% SZS status Satisfiable for sat\n")) << run.out;
  run = velkor({"--select", "sine:0.5", kData + "ground.p"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(has(run.out, "Abort: error in parameter list\n% SZS status Error for ground\n"));
  const std::string clauses = write_temp_file("c.v", "input_clause(c,conjecture,[--p]).\n");
  run = velkor({"--select", "sine:1", clauses});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "velkor: --select needs a TPTP problem\n");
}

}  // namespace
