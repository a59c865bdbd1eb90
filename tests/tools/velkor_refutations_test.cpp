// velkor's TSTP refutations check: lemma steps list what their lemmas rest
// on, equality steps cite valid clauses of equality theory, clauses made
// from formulas cite them, and an empty input clause refutes on its own.
// Names derived from numbers and quoted names are TPTP names, and distinct
// objects are unequal by a clause of their own theory.
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
           {"", {}},
       }) {
    const std::string problem = !c.problem.empty()
                                    ? data + c.problem
                                    : write_temp_file("names.p",
                                                      "fof(1, axiom, \"a\" = \"b\" | p).\n"
                                                      "fof('my ax', axiom, p => q).\n"
                                                      "fof(2, conjecture, q).\n");
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--time-limit", "20", "-proof", problem});
    RunResult proof = run_program(VELKOR_BIN, args);
    SCOPED_TRACE(c.problem + "\n" + proof.out);
    // The status line, then the refutation.
    std::size_t start = proof.out.find("\n% SZS output start CNFRefutation");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(proof.out.rfind("\n% SZS status ", start), proof.out.rfind('\n', start - 1));
    RunResult check = run_program(PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, "--problem", problem,
                                                    write_temp_file("refutation.txt", proof.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

}  // namespace
