// The proof checker: reading velkor's "USED CLAUSES" block, grounding, and
// the verdicts of the proof-check program on hand-made proofs and non-proofs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/run_program.hpp"
#include "tools/proof_check/check.hpp"
#include "tools/proof_check/proof.hpp"

namespace {

using namespace proof_check;
using testing_support::run_program;
using testing_support::write_temp_file;

// The tail of velkor's output with -proof, built from "clause" lines and
// their instance lists the way velkor prints them.
std::string used_block(const std::vector<std::pair<std::string, std::vector<std::string>>>& used) {
  std::string text =
      "\n     ***** PROOF WITH 3 INFERENCES FOUND *****\n\n"
      "Total successful/failed inferences: 3/0\n\n\nUSED CLAUSES\n------------\n";
  for (const auto& [clause, instances] : used) {
    text += "\nclause " + clause + "\ncopies: ";
    for (const auto& instance : instances) text += instance + "\n        ";
  }
  return text + "\n\n";
}

testing_support::RunResult check(const std::string& output, std::vector<std::string> args = {}) {
  args.insert(args.begin(), {"--quorvel", QUORVEL_BIN});
  args.push_back(write_temp_file("proof.txt", output));
  return run_program(PROOF_CHECK_BIN, args);
}

TEST(ProofCheckReading, MalformedOrMissingBlocksAreErrors) {
  EXPECT_FALSE(parse_used_clauses("Lev. 1: inferences: succ fail: 2 0\n").ok);
  EXPECT_FALSE(parse_used_clauses(used_block({{"1: ++p(X", {"++p(a)"}}})).ok);
  EXPECT_FALSE(parse_used_clauses(used_block({{"1: ++p(X)", {"++p(a))"}}})).ok);
  EXPECT_FALSE(parse_used_clauses(used_block({{"1: ++P(X)", {"++P(a)"}}})).ok);
  EXPECT_FALSE(parse_used_clauses(used_block({{"x: ++p", {"++p"}}})).ok);
  EXPECT_FALSE(parse_used_clauses("USED CLAUSES\n------------\n\nclause 1: ++p\n        ++p\n").ok);
  // Output cut off while the proof was printed (a time limit): the last
  // instance may be cut short and still read as literals.
  std::string full = used_block({{"1: --p(X)--q(X)", {"--p(a)--q(a)", "--p(b)--q(b)"}}});
  ASSERT_TRUE(parse_used_clauses(full).ok);
  for (std::size_t end : {full.find("--q(b)") + 3, full.rfind("        "), full.size() - 2}) {
    UsedClauses cut = parse_used_clauses(full.substr(0, end));
    EXPECT_FALSE(cut.ok) << end;
    EXPECT_NE(cut.error.find("cut off"), std::string::npos) << cut.error;
  }

  Clause clause;
  std::string error;
  EXPECT_FALSE(parse_literals("++p(X(a))", clause, error));
  EXPECT_FALSE(parse_literals("p(a)", clause, error));
}

TEST(ProofCheckReading, ProblemClausesAndInstances) {
  ProblemClauses problem = parse_problem(
      "% input_clause(commented,axiom,[++nothing]).\n"
      "input_clause(my_input_clause,axiom,[++p(X,(f(Y))), --q]).\n"
      "input_clause(c2,conjecture,[--p(a,f(b))]).\n");
  ASSERT_TRUE(problem.ok) << problem.error;
  ASSERT_EQ(problem.clauses.size(), 2u);
  EXPECT_EQ(to_string(problem.clauses[0]), "++p(X,f(Y))--q");

  Clause general, same, instance, crossed, other_sign;
  std::string error;
  ASSERT_TRUE(parse_literals("++p(X,Y)--r(X)", general, error));
  ASSERT_TRUE(parse_literals("++p(X,X)--r(X)", same, error));
  ASSERT_TRUE(parse_literals("++p(f(Z),Z)--r(f(Z))", instance, error));
  ASSERT_TRUE(parse_literals("++p(a,b)--r(b)", crossed, error));
  ASSERT_TRUE(parse_literals("--p(a,b)--r(a)", other_sign, error));
  EXPECT_TRUE(is_instance(general, instance));
  EXPECT_TRUE(is_instance(general, same));
  EXPECT_FALSE(is_instance(same, instance));  // X must stand for one term
  EXPECT_FALSE(is_instance(general, crossed));
  EXPECT_FALSE(is_instance(general, other_sign));
}

TEST(ProofCheckGrounding, EveryVariableBecomesTheSameFreshConstant) {
  Clause clause;
  std::string error;
  ASSERT_TRUE(parse_literals("++p(X,f(Y,a))--q--r(Z,X)", clause, error));
  EXPECT_EQ(to_string(ground(clause)), "++p($c,f($c,a))--q--r($c,$c)");
  EXPECT_EQ(general_syntax({clause}),
            "(((\"p\" \"$c\" (\"f\" \"$c\" \"a\"))) (\"q\" (\"r\" \"$c\" \"$c\")))\n");
}

// A "proof" whose instances have a model must be rejected: this is what the
// checker exists for.
TEST(ProofCheckProgram, RejectsSatisfiableInstances) {
  auto run = check(used_block({{"1: ++p(X)++q(X)", {"++p(a)++q(a)"}}, {"2: --p(X)", {"--p(a)"}}}));
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("NOT A PROOF"), std::string::npos) << run.out;

  // X left open and the constant a are different terms; only a unifier
  // velkor did not apply could have closed this branch.
  run = check(used_block({{"1: ++p(X)", {"++p(X)"}}, {"2: --p(a)", {"--p(a)"}}}));
  EXPECT_EQ(run.status, 1) << run.out << run.err;

  // Both instances are fine, but the second is not one of its clause.
  run = check(used_block({{"1: ++p(X)", {"++p(a)"}}, {"2: --p(b)", {"--p(a)"}}}));
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("not an instance"), std::string::npos) << run.out;

  // The instances close, but clause 2 is not what the problem says.
  std::string problem = write_temp_file(
      "problem.v", "input_clause(a,axiom,[++p(X)]).\ninput_clause(b,axiom,[--p(b)]).\n");
  run = check(used_block({{"1: ++p(X)", {"++p(a)"}}, {"2: --p(a)", {"--p(a)"}}}),
              {"--problem", problem});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
}

TEST(ProofCheckProgram, AcceptsClosedInstancesWithVariablesLeftOpen) {
  // Different variable names left open all become the one constant.
  auto run = check(used_block(
      {{"1: ++p(X,Y)++q", {"++p(X,Y)++q"}}, {"2: --p(Z,Z)", {"--p(Y,Y)"}}, {"3: --q", {"--q"}}}));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("proof checks"), std::string::npos) << run.out;
}

TEST(ProofCheckProgram, UnusableInputHasItsOwnStatus) {
  EXPECT_EQ(check("Lev. 1: inferences: succ fail: 0 3\n").status, 2);
  std::string cut = used_block({{"1: ++p(X)", {"++p(a)"}}, {"2: --p(X)--q", {"--p(a)--q"}}});
  EXPECT_EQ(check(cut.substr(0, cut.size() - 14)).status, 2);
  auto run =
      run_program(PROOF_CHECK_BIN, {"--quorvel", "/nonexistent/quorvel",
                                    write_temp_file("p.txt", used_block({{"1: --q", {"--q"}}}))});
  EXPECT_EQ(run.status, 2) << run.out << run.err;
  EXPECT_EQ(run_program(PROOF_CHECK_BIN, {"--frobnicate"}).status, 2);
  // No place for quorvel's clause file: said, not a blank verdict.
  std::string proof =
      write_temp_file("q.txt", used_block({{"1: --q", {"--q"}}, {"2: ++q", {"++q"}}}));
  setenv("TMPDIR", "/nonexistent", 1);
  run = run_program(PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, proof});
  unsetenv("TMPDIR");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE((run.out + run.err).find("temporary directory"), std::string::npos)
      << run.out << run.err;
}

TEST(ProofCheckProgram, AcceptsAProofVelkorFinds) {
  std::string problem = write_temp_file("chain.v",
                                        "input_clause(a,axiom,[++p(a)]).\n"
                                        "input_clause(b,axiom,[--p(X),++p(f(X))]).\n"
                                        "input_clause(c,axiom,[--p(Y),--q(Y),++r(Y)]).\n"
                                        "input_clause(d,axiom,[++q(f(f(Z)))]).\n"
                                        "input_clause(e,conjecture,[--r(W)]).\n");
  auto prover = run_program(VELKOR_BIN, {"-proof", problem});
  ASSERT_EQ(prover.status, 0) << prover.out;
  ASSERT_NE(prover.out.find("PROOF WITH"), std::string::npos) << prover.out;
  auto run = check(prover.out, {"--problem", problem});
  EXPECT_EQ(run.status, 0) << prover.out << run.out << run.err;
}

}  // namespace
