// Verdicts on random propositional clause sets, checked against quorvel.
//
// Whatever the options, velkor must never print a proof for a satisfiable
// set, nor call an unsatisfiable one satisfiable.  Clause types are drawn at
// random too, so that the choice of start clauses by type is exercised, and
// the sets include tautologies and repeated literals.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::write_temp_file;

const std::vector<std::vector<std::string>> kSettings = {
    {},
    {"-reg"},
    {"-foldup"},
    {"-reg", "-foldup"},
    {"-sgindex"},
    {"-sgindex", "-indexfoldup"},
    {"-foldup", "-sgindex", "-indexfoldup"},
    {"-mate"},
    {"-eqpred", "1"},
    {"-reg", "-sreg", "-foldup"},
    {"-dynsgreord", "0"},
    {"-wdr"},
    {"-sig", "2"},
};

TEST(Soundness, VerdictsAgreeWithTheModelGenerator) {
  std::mt19937 random(20261206);
  auto draw = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const char* types[] = {"axiom", "conjecture", "hypothesis"};
  int proofs = 0, satisfiable_verdicts = 0;
  for (int round = 0; round < 60; ++round) {
    int atoms = draw(2, 5), clauses = draw(3, 9);
    std::string integers, problem;
    for (int c = 0; c < clauses; ++c) {
      std::set<int> literals;
      for (int k = draw(1, 3); k > 0; --k) literals.insert(draw(1, atoms) * (draw(0, 1) ? 1 : -1));
      integers += "(";
      problem += "input_clause(c" + std::to_string(c) + "," + types[draw(0, 2)] + ",[";
      bool first = true;
      for (int l : literals) {
        integers += std::to_string(l) + " ";
        problem += std::string(first ? "" : ",") + (l > 0 ? "++p" : "--p") +
                   std::to_string(l > 0 ? l : -l);
        first = false;
      }
      integers += ")\n";
      problem += "]).\n";
    }
    auto model = run_program(QUORVEL_BIN, {write_temp_file("sound.cnf", integers)});
    ASSERT_EQ(model.status, 0) << model.err;
    bool satisfiable = model.out.rfind("\nsatisfiable: ") != std::string::npos ||
                       model.out.rfind("satisfiable: ", 0) == 0;
    std::string file = write_temp_file("sound.p", problem);
    for (const auto& setting : kSettings) {
      std::vector<std::string> args = setting;
      args.insert(args.end(), {"-d", "5", file});
      // A run cut off by the time limit gives no verdict to compare.
      auto run = run_program(VELKOR_BIN, args, 10);
      if (run.status == 128 + 9) continue;
      ASSERT_EQ(run.status, 0) << problem;
      bool proof = run.out.find("PROOF WITH") != std::string::npos;
      bool called_satisfiable = run.out.find("FORMULA IS SATISFIABLE") != std::string::npos;
      proofs += proof;
      satisfiable_verdicts += called_satisfiable;
      EXPECT_FALSE(proof && satisfiable) << ::testing::PrintToString(setting) << "\n" << problem;
      EXPECT_FALSE(called_satisfiable && !satisfiable) << ::testing::PrintToString(setting) << "\n"
                                                       << problem;
    }
  }
  // Both verdicts occur, so the comparison has something to compare.
  EXPECT_GT(proofs, 50);
  EXPECT_GT(satisfiable_verdicts, 20);
}

}  // namespace
