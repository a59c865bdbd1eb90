// velkor --models (and --auto) on small problems written for it: every
// counter-model it prints is read back and evaluated on every clause of the
// problem by the tests' own evaluator; every ground refutation is checked by
// proof-check.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/model_check.hpp"
#include "tests/support/run_program.hpp"

namespace {

using testing_support::model_faults;
using testing_support::PrintedModel;
using testing_support::read_model;
using testing_support::run_program;
using testing_support::RunResult;

const std::string kData = std::string(TEST_DATA_DIR) + "/models/";

// What follows the status line, which must be `status`.
std::string after_status(const RunResult& run, const std::string& status, const std::string& name) {
  std::string line = "% SZS status " + status + " for " + name + "\n";
  std::size_t at = run.out.find(line);
  EXPECT_NE(at, std::string::npos) << run.out << run.err;
  return at == std::string::npos ? "" : run.out.substr(at + line.size());
}

// The non-theorems: each has a small counter-model that makes every clause
// true, the negated conjecture's included.
TEST(Models, CounterModelsMakeEveryClauseTrue) {
  for (const std::string name : {"involution", "strict_order", "successor", "group", "two_atoms"}) {
    SCOPED_TRACE(name);
    const std::string path = kData + name + ".p";
    for (const char* mode : {"--models", "--auto"}) {
      if (std::string(mode) == "--auto" && name != "involution") continue;
      RunResult run = run_program(VELKOR_BIN, {mode, "--time-limit", "60", path});
      EXPECT_EQ(run.status, 0);
      std::string block = after_status(run, "CounterSatisfiable", name);
      ASSERT_EQ(block.rfind("% SZS output start FiniteModel for " + name + "\n", 0), 0u) << block;
      ASSERT_NE(block.find("% SZS output end FiniteModel for " + name + "\n"), std::string::npos);
      PrintedModel model = read_model(block);
      ASSERT_FALSE(model.domain.empty());
      EXPECT_EQ(model_faults(path, model), "") << block;
    }
  }
  // The smallest group that is not commutative has six elements.
  RunResult run = run_program(VELKOR_BIN, {"--models", kData + "group.p"});
  EXPECT_EQ(read_model(after_status(run, "CounterSatisfiable", "group")).domain.size(), 6u);
}

// Problems without function symbols are refuted by their ground instances,
// with equality through its axioms' instances; proof-check confirms both.
TEST(Models, GroundRefutationsCheck) {
  struct Case {
    std::string name, status;
  };
  for (const Case& c : {Case{"epr_chain", "Unsatisfiable"}, Case{"epr_equality", "Theorem"}}) {
    SCOPED_TRACE(c.name);
    for (const char* mode : {"--models", "--auto"}) {
      RunResult run = run_program(VELKOR_BIN, {mode, "-proof", kData + c.name + ".p"});
      EXPECT_EQ(run.status, 0);
      std::string proof = after_status(run, c.status, c.name);
      EXPECT_EQ(proof.rfind("% SZS output start CNFRefutation", 0), 0u) << proof;
      std::string saved = testing_support::write_temp_file(c.name + ".out", run.out);
      RunResult checked = run_program(PROOF_CHECK_BIN, {saved});
      EXPECT_EQ(checked.status, 0) << checked.out << checked.err << run.out;
    }
  }
}

}  // namespace
