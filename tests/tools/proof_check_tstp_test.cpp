// proof-check on TSTP refutations: one that checks (also against its
// problem), and the ways a refutation can fail: satisfiable instances, a
// wrong instance, citations that do not match, a leaf that is not the
// problem's clause, a cut-off block, text that is not TPTP.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

struct Lines {
  std::vector<std::string> lines;
  // The refutation as velkor prints it, with report lines around the block.
  std::string output() const {
    std::string text = "velkor's report\n% SZS status Unsatisfiable for P\n";
    text += "% SZS output start CNFRefutation for P\n";
    for (const std::string& line : lines) text += line + "\n";
    return text + "% SZS output end CNFRefutation for P\n";
  }
  Lines with(std::size_t i, std::string line) const {
    Lines changed = *this;
    changed.lines[i] = std::move(line);
    return changed;
  }
};

std::string inference(const std::string& rule, const std::string& parents) {
  return "inference(" + rule + ", [status(thm)], [" + parents + "])).";
}

// Equality is an ordinary predicate to the check; its axioms come as leaves.
const Lines kRefutation = {{
    "cnf(c_1, axiom, p(a) | q(X, f(X)), file('/abs/P.p', c_1)).",
    "cnf(c_2, negated_conjecture, ~p(Y), file('/abs/P.p', c_2)).",
    "cnf(c_3, axiom, ~q(Z, W) | Z != b, file('/abs/P.p', c_3)).",
    "cnf(eq_reflexivity, axiom, X = X, theory(equality)).",
    "fof(ax1, axiom, ![X]: (p(X) => r(X)), file('/abs/P.p', ax1)).",
    "cnf(c_7, axiom, ~p(X) | r(X), " + inference("clausify", "ax1"),
    "% a comment inside the block",
    "cnf(i_1, plain, p(a) | q(b, f(b)), " + inference("instantiation", "c_1"),
    "cnf(i_2, plain, ~p(a), " + inference("instantiation", "c_2"),
    "cnf(i_3, plain, (~q(b, f(b)) | b != b), " + inference("instantiation", "c_3"),
    "cnf(i_4, plain, b = b, " + inference("instantiation", "eq_reflexivity"),
    "cnf(refutation, plain, $false, " + inference("connection_tableau", "i_1, i_2, i_3, i_4"),
}};
constexpr std::size_t kI1 = 7, kI4 = 10, kLast = 11;

TEST(TstpRefutation, VerdictsAndMessages) {
  // The problem names its variables differently: leaves are compared up to renaming.
  std::string problem =
      write_temp_file("P.p",
                      "cnf(c_1, axiom, p(a) | q(U, f(U))).\ncnf(c_2, negated_conjecture, ~p(V)).\n"
                      "cnf(c_3, axiom, ~q(A, B) | A != b).\n");
  std::string other_problem =
      write_temp_file("P2.p",
                      "cnf(c_1, axiom, p(a) | q(U, f(U))).\ncnf(c_2, negated_conjecture, ~p(V)).\n"
                      "cnf(c_3, axiom, ~q(A, B) | A != a).\n");
  const std::string last_but_i4 =
      "cnf(refutation, plain, $false, " + inference("connection_tableau", "i_1, i_2, i_3");
  struct Case {
    const char* what;
    std::string output;
    std::vector<std::string> options;
    int status;
    std::string message;  // a part of standard output (status 0, 1) or error (2)
  };
  const std::string full = kRefutation.output();
  for (const Case& c : {
           Case{"checks", full, {}, 0, "the ground 4 instances of 4 clauses are unsatisfiable"},
           Case{"checks against its problem",
                full,
                {"--problem", problem},
                0,
                "; 3 of 5 leaves are the problem's clauses, 2 not compared"},
           Case{"a leaf that is not the problem's clause",
                full,
                {"--problem", other_problem},
                1,
                ":6: c_3 is not the problem's clause c_3: ~q(Z,W) | Z != b against"},
           Case{"satisfiable instances: b = b is left open",
                kRefutation.with(kI4, "").with(kLast, last_but_i4).output(),
                {},
                1,
                "NOT A PROOF: the ground 3 instances of 3 clauses are satisfiable"},
           Case{"X stands for two terms",
                kRefutation
                    .with(kI1,
                          "cnf(i_1, plain, p(a) | q(b, f(a)), " + inference("instantiation", "c_1"))
                    .output(),
                {},
                1,
                ":11: i_1 is not an instance of c_1"},
           Case{"a sign changed",
                kRefutation
                    .with(kI1, "cnf(i_1, plain, p(a) | ~q(b, f(b)), " +
                                   inference("instantiation", "c_1"))
                    .output(),
                {},
                1,
                "i_1 is not an instance of c_1"},
           Case{"an instance of a later line",
                kRefutation.with(kI1, "cnf(i_1, plain, ~p(a), " + inference("instantiation", "i_2"))
                    .output(),
                {},
                1,
                "i_1 cites i_2, which does not come before it"},
           Case{"an instance left out of the refutation",
                kRefutation.with(kLast, last_but_i4).output(),
                {},
                1,
                ":15: the $false line does not cite the instance i_4"},
           Case{"a leaf cited by the refutation",
                kRefutation
                    .with(kLast, "cnf(refutation, plain, $false, " +
                                     inference("connection_tableau", "i_1, i_2, i_3, i_4, c_2"))
                    .output(),
                {},
                1,
                "the $false line cites c_2, which is not an instantiation line"},
           Case{"equality steps rest on clauses of equality theory",
                kRefutation.with(kI4, "cnf(e_1, plain, b = b, theory(equality)).")
                    .with(6, "cnf(eq_f, axiom, X != Y | f(g(X)) = f(g(Y)), theory(equality)).")
                    .with(kLast, "cnf(refutation, plain, $false, " +
                                     inference("connection_tableau", "i_1, i_2, i_3, e_1"))
                    .output(),
                {},
                0,
                "3 instances of 3 clauses and 1 clauses of equality theory are unsatisfiable"},
           Case{"a clause that equality theory does not give",
                kRefutation.with(kI4, "cnf(e_1, plain, f(a) = f(b) | a != c, theory(equality)).")
                    .output(),
                {},
                1,
                "e_1 is not valid in the theory of equality"},
           Case{"no $false line at the end",
                kRefutation.with(kLast, "").output(),
                {},
                1,
                "the last line must derive $false"},
           Case{"cut off inside the block",
                full.substr(0, full.find("cnf(i_3") + 20),
                {},
                2,
                ":3: the refutation has no \"% SZS output end CNFRefutation\" line"},
           Case{"a rule that is not checked",
                kRefutation.with(kI1, "cnf(i_1, plain, p(a), " + inference("resolution", "c_1"))
                    .output(),
                {},
                2,
                ":11: the rule resolution is not one that proof-check checks"},
           Case{"not TPTP",
                kRefutation.with(kI1, "cnf(i_1, plain, p(a) |, file(x, y)).").output(),
                {},
                2,
                ":11: expected a term, found ','"},
       }) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"--quorvel", QUORVEL_BIN};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(write_temp_file("refutation.txt", c.output));
    RunResult run = run_program(PROOF_CHECK_BIN, args);
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    EXPECT_NE((c.status == 2 ? run.err : run.out).find(c.message), std::string::npos)
        << run.out << run.err;
  }
}

}  // namespace
