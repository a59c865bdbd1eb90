// velkor --equality-modification on textbook algebra: each fact is proved
// within seconds, and the refutation, which lists the modified clauses
// with their originals, checks.  A search the modification leaves
// incomplete never claims satisfiability.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

TEST(EqualityModification, ProvesTextbookAlgebraWithCheckedProofs) {
  const std::string data = std::string(TEST_DATA_DIR) + "/equality/";
  // inv(inv(X)) = X (group_inverse_inverse.p) takes about a second in a
  // release build, too long for the sanitizer build; it is measured in the
  // README instead.
  for (const char* name : {"group_right_identity", "group_cancellation", "ring_times_zero",
                           "lattice_idempotence", "combinators_identity"}) {
    RunResult proof = run_program(VELKOR_BIN, {"--equality-modification", "-reg", "--time-limit",
                                               "30", "-proof", data + name + ".p"});
    SCOPED_TRACE(std::string(name) + "\n" + proof.out);
    ASSERT_EQ(proof.status, 0) << proof.err;
    EXPECT_NE(proof.out.find("inference(equality_modification, [status(thm)], ["),
              std::string::npos);
    EXPECT_NE(proof.out.find(", theory(equality)).\n"), std::string::npos);  // X = X
    EXPECT_EQ(proof.out.find("eq_transitivity"), std::string::npos);
    // The originals belong to the derivation: inside the block, before
    // the modified clauses that cite them.
    const auto start = proof.out.find("% SZS output start CNFRefutation");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(proof.out.find(", file("), proof.out.find(", file(", start));
    RunResult check = run_program(
        PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, write_temp_file("refutation.txt", proof.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

// Two proofs that need what an easier modification leaves out: an
// equation past the second of a clause read from right to left (it is
// named by a new predicate, so its clauses say esa), and an equation X = Y
// rewriting a constant that heads no equation.
TEST(EqualityModification, KeepsTheRewritesOfEveryEquation) {
  const std::vector<std::pair<std::string, std::string>> problems = {
      {"three.p",
       "cnf(c1, axiom, a = b | a = c | e = f).\ncnf(c2, axiom, a != b).\n"
       "cnf(c3, axiom, a != c).\ncnf(c4, negated_conjecture, p(e)).\n"
       "cnf(c5, negated_conjecture, ~p(f)).\n"},
      {"any.p",
       "cnf(c1, axiom, X = Y | ~p(X) | ~p(Y)).\ncnf(c2, axiom, p(a)).\n"
       "cnf(c3, axiom, p(f(b))).\ncnf(c4, negated_conjecture, a != f(b)).\n"}};
  for (const auto& [name, text] : problems) {
    const std::string problem = write_temp_file(name, text);
    RunResult proof = run_program(
        VELKOR_BIN, {"--equality-modification", "--time-limit", "30", "-proof", problem});
    ASSERT_EQ(proof.status, 0) << proof.out << proof.err;
    if (name == "three.p") {
      EXPECT_NE(proof.out.find("inference(equality_modification, [status(esa)], ["),
                std::string::npos);
    }
    RunResult check = run_program(PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, "--problem", problem,
                                                    write_temp_file(name + ".out", proof.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

// The modification orients X = Y (b above a) so that only b = a follows
// from r(a,b), and leaves the disequation X != Y between variables as it
// is: q(a,b) needs a = b, which only the index lemma b = a made for q(b,a)
// gives, looked up swapped; the proof cites the instance of symmetry.  In
// the second problem that use lies in the derivation of the lemma u(c),
// made on a branch that then fails and used on another.
TEST(EqualityModification, LemmaIndexClosesTheSwappedEquation) {
  const std::string common =
      "cnf(e, axiom, X = Y | ~r(X,Y)).\ncnf(r1, axiom, r(a,b)).\n"
      "cnf(h, axiom, q(X,Y) | X != Y).\n";
  const std::vector<std::string> problems = {
      common + "cnf(g, negated_conjecture, ~q(b,a) | ~q(a,b)).\n",
      common +
          "cnf(g, negated_conjecture, ~q(b,a) | ~s).\ncnf(s0, axiom, s | ~u(c) | ~z).\n"
          "cnf(s1, axiom, s | ~u(c)).\ncnf(u1, axiom, u(X) | ~q(a,b)).\n"
          "cnf(z1, axiom, z | ~y).\ncnf(y1, axiom, y | ~z).\n"};
  for (const std::string& text : problems) {
    const std::string problem = write_temp_file("swapped.p", text);
    RunResult proof = run_program(VELKOR_BIN, {"--equality-modification", "-reg", "-sgindex",
                                               "-indexfoldup", "-proof", problem});
    SCOPED_TRACE(text + "\n" + proof.out);
    ASSERT_NE(proof.out.find("% SZS status Unsatisfiable for swapped\n"), std::string::npos);
    EXPECT_NE(proof.out.find(", plain, a = b | b != a, theory(equality)).\n"), std::string::npos);
    RunResult check = run_program(
        PROOF_CHECK_BIN, {"--quorvel", QUORVEL_BIN, write_temp_file("refutation.txt", proof.out)});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

TEST(EqualityModification, ExhaustedSearchGivesUp) {
  const std::string problem = write_temp_file(
      "satisfiable.p", "cnf(c1, axiom, a = b).\ncnf(c2, negated_conjecture, a != c).\n");
  RunResult run = run_program(VELKOR_BIN, {"--equality-modification", "-reg", problem});
  EXPECT_NE(run.out.find("% SZS status GaveUp for satisfiable\n"), std::string::npos) << run.out;
}

}  // namespace
