// velkor's TSTP refutations check: lemma steps list what their lemmas rest
// on, equality steps cite valid clauses of equality theory, clauses made
// from formulas cite them, and an empty input clause refutes on its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

TEST(VelkorRefutations, CheckUnderEveryKindOfStep) {
  const std::string data = std::string(TEST_DATA_DIR) + "/";
  struct Case {
    std::string problem;
    std::vector<std::string> options;
  };
  for (const Case& c : std::vector<Case>{
           {"tptp/Problems/SYN015-2.p", {"-reg", "-sgindex", "-indexfoldup"}},
           {"tptp/Problems/SYN869-1.p", {"-reg", "-sgindex", "-indexfoldup"}},
           {"tptp/Problems/SYN069-1.p", {"-foldup", "-sgindex"}},
           {"tptp/Problems/SYN071-1.p", {"-equality", "-foldup"}},
           {"tptp/Problems/SYN075-1.p", {"-equality", "-reg", "-sgindex", "-indexfoldup"}},
           {"tptp-fof/Problems/SYN068+1.p", {}},
           {"tptp-fof/Problems/PUZ001+1.p", {"--auto"}},
           {"tptp/Problems/SYN915-1.p", {}},
       }) {
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--time-limit", "20", "-proof", data + c.problem});
    RunResult proof = run_program(VELKOR_BIN, args);
    SCOPED_TRACE(c.problem + "\n" + proof.out);
    ASSERT_NE(proof.out.find("% SZS output end CNFRefutation"), std::string::npos);
    RunResult check =
        run_program(PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, "--problem", data + c.problem,
                                      write_temp_file("refutation.txt", proof.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

}  // namespace
