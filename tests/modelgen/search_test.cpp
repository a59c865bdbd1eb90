// The splitting search: atom order, the worked examples, backjumping,
// restarts under a step limit, the seeded tie-break, dynamic weighting and
// the recursion depth.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

// Three pigeons, two holes: unsatisfiable after a little search.
const char kPigeons[] =
    "(1 2)\n(3 4)\n(5 6)\n(-1 -3)\n(-1 -5)\n(-3 -5)\n(-2 -4)\n(-2 -6)\n(-4 -6)\n";

TEST(AtomOrder, SelectionWithExchangeBreaksTiesByPosition) {
  // The list is A=3, C=2, B=1 with keys (w,0), (w,0), (2w,0): B exchanges
  // with A, then C stays ahead of A.  A stable sort would give 1 3 2.
  expect_output(run_on({"-atomlist"}, "(3)\n(2)\n(1)\n(1)\n"),
                "1 2 3 \npositive part of model 1:\n 1 2 3\nsatisfiable: 4 branches\n");
  // The larger sum decides first, then the smaller one.
  expect_output(run_on({"-atomlist", "-noverbose"}, "(1 2)\n(-1 3)\n(2 -3)\n(-2 4)\n"),
                "2 3 1 4 \nsatisfiable: 3 branches\n");
}

TEST(WorkedExamples, AllModelsOfOneClauseAndAContradiction) {
  expect_output(run_on({"-allmodels"}, "(1 2)\n"),
                "positive part of model 1:\n 2 1\npositive part of model 2:\n 2\n"
                "positive part of model 3:\n 1\nsatisfiable: 4 branches\n");
  expect_output(run_on({}, "(1)\n(-1)\n"), "unsatisfiable: 2 branches\n");
  expect_output(run_on({"-allmodels", "-noverbose"}, kPigeons), "unsatisfiable: 11 branches\n");
}

TEST(Backjumping, AtomOutsideTheRefutationIsNotSplitTwice) {
  // The unit (20) moves the counter past 0 so that stamps can tell.
  const char core[] = "(20)\n(1 2)\n(1 -2)\n(-1 2)\n(-1 -2)\n";
  expect_output(run_on({"-atomlist"}, core), "20 2 1 \nunsatisfiable: 5 branches\n");
  // Atom 9 is split first, true, and takes no part in refuting the core.
  std::string with_nine = std::string(core) + "(9 11)\n(9 12)\n(9 13)\n(9 14)\n(9 15)\n";
  expect_output(run_on({"-atomlist"}, with_nine),
                "20 9 1 2 12 13 14 15 11 \nunsatisfiable: 5 branches\n");
  // False first, its clauses propagate: now it is involved and tried twice.
  expect_output(run_on({"-neg"}, with_nine), "unsatisfiable: 14 branches\n");
}

TEST(Restarts, LimitGrowsByPercentUntilAnAttemptCompletes) {
  // Limits 5, 7, 10: two attempts are cut off at the first counter above their limit.
  expect_output(run_on({"-limit", "5", "-limit+", "50"}, kPigeons),
                "6 8 unsatisfiable: 11 branches in attempt 3\n");
  // No bound: no restarts and no attempt number.
  for (const char* limit : {"0", "-3"})
    expect_output(run_on({"-limit", limit, "-limit+", "50"}, kPigeons),
                  "unsatisfiable: 11 branches\n");
  // A limit the first attempt stays within.
  expect_output(run_on({"-limit", "100"}, kPigeons), "unsatisfiable: 11 branches\n");
}

TEST(Restarts, AttemptCutOffAfterModelsEndsTheSearch) {
  expect_output(run_on({"-allmodels", "-noverbose", "-limit", "10"}, "(1 2 3 4 5)\n"),
                "11 satisfiable: nr of models: 11, 11 branches\n");
}

TEST(Restarts, LoopThatCannotEndIsStopped) {
  RunResult result = run_on({"-limit", "5"}, kPigeons);
  EXPECT_EQ(result.out, "6 6 \n");
  EXPECT_EQ(result.err,
            "quorvel: stopped before attempt 3: the step limit no longer grows and no seed is "
            "left, so the attempts would repeat forever without a result\n");
  EXPECT_EQ(result.status, 3);
  // Seeds 3, 2, 1 keep the attempts apart; then they repeat.
  result = run_on({"-limit", "3", "-rand", "3"}, kPigeons);
  EXPECT_EQ(result.out, "4 4 4 4 4 \n");
  EXPECT_EQ(result.status, 3);
  // Also on a real instance, where the limit soon stops growing.
  result = run_args({"-limit", "320", std::string(TEST_DATA_DIR) + "/satlib/uf100-01.cnf"});
  EXPECT_EQ(result.out, "321 321 321 \n");
  EXPECT_EQ(result.status, 3);
}

TEST(Restarts, LimitGrowthIsComputedWithoutOverflow) {
  std::string file = std::string(TEST_DATA_DIR) + "/satlib/uuf50-01.cnf";
  // 5 x 2000000000 exceeds 32 bits; the limit grows to 100000005.
  expect_output(run_args({"-limit", "5", "-limit+", "2000000000", file}),
                "6 unsatisfiable: 1125 branches in attempt 2\n");
  // A limit beyond the 32-bit range saturates.
  expect_output(run_args({"-limit", "100", "-limit+", "2147483647", file}),
                "102 unsatisfiable: 1125 branches in attempt 2\n");
  // Shrinking below zero removes the bound.
  expect_output(run_on({"-limit", "5", "-limit+", "-200"}, kPigeons),
                "6 unsatisfiable: 11 branches in attempt 2\n");
}

TEST(SeededTieBreak, SeedModuloCounterDecidesTies) {
  // The unit (9) makes the split of 2 happen at counter 1; -freqdiv makes
  // every pair of sums a tie.  seed mod 2 odd: true first.
  const char file[] = "(9)\n(1 2)\n";
  std::string true_first = "positive part of model 1:\n 9 2 1\nsatisfiable: 2 branches\n";
  std::string false_first = "positive part of model 1:\n 9 1\nsatisfiable: 3 branches\n";
  expect_output(run_on({"-neg", "-freqdiv", "1000000000", "-rand", "3"}, file), true_first);
  expect_output(run_on({"-neg", "-freqdiv", "1000000000", "-rand", "4"}, file), false_first);
  // (3 mod 2) mod 100 = 1: used when 1 < randp.
  expect_output(run_on({"-neg", "-freqdiv", "1000000000", "-rand", "3", "-randp", "1"}, file),
                false_first);
  expect_output(run_on({"-neg", "-freqdiv", "1000000000", "-rand", "3", "-randp", "2"}, file),
                true_first);
  // Without a tie the seed is not used.
  expect_output(run_on({"-neg", "-rand", "3"}, file), false_first);
  // -freqdiv 0 ties equal sums only, like 1.
  expect_output(run_on({"-neg", "-freqdiv", "0", "-rand", "3"}, file),
                run_on({"-neg", "-freqdiv", "1", "-rand", "3"}, file).out);
}

TEST(SeededTieBreak, SeedZeroAndPercentZero) {
  std::vector<std::string> ties = {"-freqdiv", "1000000000", "-limit", "4", "-limit+", "30"};
  auto with = [&](std::vector<std::string> extra) {
    extra.insert(extra.end(), ties.begin(), ties.end());
    return run_on(extra, kPigeons).out;
  };
  EXPECT_EQ(with({"-rand", "0"}), with({"-rand", "334251271"}));
  EXPECT_EQ(with({"-rand", "7", "-randp", "0"}), with({}));
}

// Atom 1 leads the order by its larger sum (3w3, w3); atom 2 has equal sums
// (2w3 + w5 each) but the larger total.
const char kDynamic[] =
    "(1 5 6)\n(1 7 8)\n(1 10 11)\n(-1 2 21)\n(2 12 13)\n(2 14 15 24 25)\n(-2 16 17)\n"
    "(-2 18 19)\n(-2 26 27 28 29)\n";
const char kDynamicTail[] = " 8 7 11 10 21 6 13 12\n 17 16 19 18 5 24 15 14 29 28\n 27 26 25\n";

TEST(DynamicWeighting, WeightsFollowTheClauseState) {
  // Static: 2 has equal sums, false first.
  expect_output(run_on({"-negmodel"}, kDynamic),
                std::string("model 1:\n 1 -2") + kDynamicTail + "satisfiable: 2 branches\n");
  // Dynamic: 1 true shrinks (-1 2 21), so 2 gains weight on its positive side.
  expect_output(run_on({"-negmodel", "-dynamic"}, kDynamic),
                std::string("model 1:\n 1 2") + kDynamicTail + "satisfiable: 1 branches\n");
  // Looking one atom ahead picks 2 (larger total) first; 2 false then
  // shrinks (-1 2 21) and makes 1 heavier on its negative side.
  std::string ahead = std::string("model 1:\n -1 -2") + kDynamicTail + "satisfiable: 1 branches\n";
  expect_output(run_on({"-negmodel", "-dynamic", "-dynatom", "1"}, kDynamic), ahead);
  expect_output(run_on({"-negmodel", "-maxdyn", "1", "-dynatom", "1"}, kDynamic), ahead);
  // From depth 0 on the initial order is used, with the static sums here.
  expect_output(run_on({"-negmodel", "-maxdyn", "0", "-dynatom", "1"}, kDynamic),
                std::string("model 1:\n 1 -2") + kDynamicTail + "satisfiable: 2 branches\n");
}

TEST(DynamicWeighting, UnitStepsBeforeTheFirstSplitAdjustWeights) {
  // (9) shrinks (-9 1 2): with dynamic weights 1 prefers true, statically
  // its sums tie and it tries false first.
  const char file[] = "(9)\n(-9 1 2)\n(-1 3 4)\n";
  expect_output(run_on({"-negmodel"}, file), "model 1:\n 9 -1 4 3 2\nsatisfiable: 3 branches\n");
  std::string dynamic = "model 1:\n 9 1 4 3 2\nsatisfiable: 2 branches\n";
  expect_output(run_on({"-negmodel", "-maxdyn", "0"}, file), dynamic);
  expect_output(run_on({"-negmodel", "-maxdyn", "-1"}, file), dynamic);
  // A negative depth behaves as 0, also across restarts.
  EXPECT_EQ(run_on({"-maxdyn", "-1", "-limit", "4", "-limit+", "50"}, kPigeons).out,
            run_on({"-maxdyn", "0", "-limit", "4", "-limit+", "50"}, kPigeons).out);
}

TEST(Recursion, ChainOf65536AtomsRunsWithoutStackOverflow) {
  // (i -(i+1)) for all i and the unit (65536): one unit step per atom.
  std::string chain;
  for (int i = 1; i < 65536; ++i)
    chain += "(" + std::to_string(i) + " -" + std::to_string(i + 1) + ")\n";
  expect_output(run_on({"-verbose", "3"}, chain + "(65536)\n"), "satisfiable: 65537 branches\n");
  // Without the unit: splits and long runs of unit steps.
  RunResult result = run_on({"-noverbose", "-neg"}, chain);
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.starts_with("satisfiable: ")) << result.out;
  expect_output(run_on({"-verbose", "3"}, chain + "(65536)\n(-1)\n"),
                "unsatisfiable: 65537 branches\n");
}

}  // namespace
}  // namespace quorvel_test
