// proof-check on velkor's saturation refutations: a real one replays step
// by step (also against its problem); a changed literal, a wrong parent or
// a wrong binding makes the step that carries it fail to replay.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

const char kProblem[] =
    "cnf(a, axiom, m(m(X,Y),Z) = m(X,m(Y,Z))).\ncnf(b, axiom, m(e,X) = X).\n"
    "cnf(c, axiom, m(i(X),X) = e).\ncnf(d, negated_conjecture, m(k,i(k)) != e).\n";

// The first line of the refutation derived by superposition.
std::size_t superposition_line(const std::string& proof) {
  const std::size_t rule = proof.find("inference(superposition");
  return proof.rfind("\ncnf(", rule) + 1;
}

RunResult check(const std::string& name, const std::string& proof, const std::string& problem) {
  return run_program(PROOF_CHECK_BIN, {"--problem", problem, write_temp_file(name, proof)});
}

TEST(SaturationRefutation, ReplaysAndRejectsTamperedSteps) {
  const std::string problem = write_temp_file("group.p", kProblem);
  const RunResult run = run_program(VELKOR_BIN, {"--saturation", "-proof", problem});
  ASSERT_NE(run.out.find("% SZS status Unsatisfiable"), std::string::npos) << run.out;
  const std::string& proof = run.out;
  const RunResult good = check("good.out", proof, problem);
  EXPECT_EQ(good.status, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("saturation steps replay"), std::string::npos) << good.out;

  const std::size_t line = superposition_line(proof);
  const std::size_t clause = proof.find("plain, ", line) + 7;
  const std::size_t parents = proof.find("], [", line) + 4;
  const std::size_t term = proof.find("$fot(", line) + 5;
  std::string changed_literal = proof, wrong_parent = proof, wrong_binding = proof;
  changed_literal.insert(clause, "k = e | ");
  wrong_parent.replace(parents, proof.find(',', parents) - parents, "a");
  wrong_binding.insert(term, "i(");
  wrong_binding.insert(proof.find(')', term) + 2, ")");
  for (const auto& [name, text] :
       {std::pair{"literal.out", changed_literal}, std::pair{"parent.out", wrong_parent},
        std::pair{"binding.out", wrong_binding}}) {
    const RunResult bad = check(name, text, problem);
    EXPECT_EQ(bad.status, 1) << name << "\n" << text << bad.out << bad.err;
    EXPECT_NE(bad.out.find("does not replay by superposition"), std::string::npos) << name << "\n"
                                                                                   << bad.out;
  }
}

}  // namespace
