// proof-check on hostile input: proofs with terms nested 50,000 deep, in
// both formats, and numbers beyond 64 bits, end with a verdict or a clean
// error, never with a crash or an uncaught exception.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

// f(f(...f(a)...)) with `depth` applications of f.
std::string nested(int depth) {
  std::string term;
  for (int i = 0; i < depth; ++i) term += "f(";
  return term + "a" + std::string(static_cast<std::size_t>(depth), ')');
}

TEST(ProofCheckHostile, DeepTermsAndHugeNumbers) {
  constexpr int kDepth = 50000;
  const std::string deep = nested(kDepth);

  // velkor proves --p(f(...f(a)...)) against ++p(X); its -proof output is checked.
  std::string problem = write_temp_file(
      "deep.v", "input_clause(c1,axiom,[--p(" + deep + ")]).\ninput_clause(c2,axiom,[++p(X)]).\n");
  RunResult prover = run_program(VELKOR_BIN, {"-proof", problem});
  ASSERT_EQ(prover.status, 0) << prover.err;

  auto tstp_line = [](const std::string& name, const std::string& clause,
                      const std::string& source) {
    return "cnf(" + name + ", plain, " + clause + ", " + source + ").\n";
  };
  auto instance = [](const std::string& parent) {
    return "inference(instantiation, [status(thm)], [" + parent + "])";
  };
  std::string tstp = "% SZS output start CNFRefutation for deep\n" +
                     tstp_line("c_1", "~p(" + deep + ")", "file('deep.p', c_1)") +
                     tstp_line("c_2", "p(X)", "file('deep.p', c_2)") +
                     tstp_line("i_1", "~p(" + deep + ")", instance("c_1")) +
                     tstp_line("i_2", "p(" + deep + ")", instance("c_2")) +
                     tstp_line("refutation", "$false",
                               "inference(connection_tableau, [status(thm)], [i_1, i_2])") +
                     "% SZS output end CNFRefutation for deep\n";
  std::string tptp_problem =
      write_temp_file("deep.p", "cnf(c_1, axiom, ~p(" + deep + ")).\ncnf(c_2, axiom, p(Y)).\n");

  struct Case {
    const char* what;
    std::string output;
    std::vector<std::string> options;
    int status;
    std::string message;  // a part of standard output (status 0) or error (2)
  };
  for (const Case& c : {
           Case{"velkor's proof", prover.out, {"--problem", problem}, 0, "proof checks"},
           Case{"a TSTP refutation", tstp, {"--problem", tptp_problem}, 0, "proof checks"},
           Case{"a clause number past 64 bits",
                "USED CLAUSES\n------------\n\nclause 99999999999999999999: ++p\ncopies: ++p\n"
                "        \n\n",
                {},
                2,
                "refutation.txt:4: clause number 99999999999999999999 is out of range"},
       }) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"--quorvel", QUORVEL_BIN};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(write_temp_file("refutation.txt", c.output));
    RunResult run = run_program(PROOF_CHECK_BIN, args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE((c.status == 2 ? run.err : run.out).find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
