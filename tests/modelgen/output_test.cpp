// Model blocks at every verbosity, line breaking, the result line.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

std::string units(int first, int last, bool negative = false) {
  std::string text;
  for (int i = first; i <= last; ++i) text += (negative ? "(-" : "(") + std::to_string(i) + ")\n";
  return text;
}

TEST(ModelBlocks, TenLiteralsPerLine) {
  // Eleven true atoms: the eleventh starts a second line.
  expect_output(
      run_on({}, units(1, 11)),
      "positive part of model 1:\n 1 2 3 4 5 6 7 8 9 10\n 11\nsatisfiable: 12 branches\n");
  // With -negmodel every atom is printed; twenty fill exactly two lines.
  expect_output(run_on({"-negmodel"}, units(1, 10) + units(11, 20, true)),
                "model 1:\n 1 2 3 4 5 6 7 8 9 10\n -11 -12 -13 -14 -15 -16 -17 -18 -19 -20\n"
                "satisfiable: 21 branches\n");
  // False atoms print nothing without -negmodel and do not count for the line break.
  expect_output(
      run_on({}, units(1, 10) + units(11, 20, true) + "(21)\n"),
      "positive part of model 1:\n 1 2 3 4 5 6 7 8 9 10\n 21\nsatisfiable: 22 branches\n");
  // No true atom: the header and an empty line.
  expect_output(run_on({}, "(-1)\n"), "positive part of model 1:\n\nsatisfiable: 2 branches\n");
}

TEST(ModelBlocks, VerbosityDecidesBlocksAndCount) {
  const char two[] = "(1 2)\n";
  expect_output(run_on({"-allmodels", "-verbose", "2"}, two),
                "positive part of model 1:\n 2 1\npositive part of model 2:\n 2\n"
                "positive part of model 3:\n 1\nsatisfiable: 4 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "1", "-negmodel"}, two),
                "model 1:\n 2 1\nsatisfiable: nr of models: 3, 4 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "0"}, two),
                "satisfiable: nr of models: 3, 4 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "-1"}, two), "satisfiable: 4 branches\n");
  // Verbosity 1 shows the count only when a second model was found.
  expect_output(run_on({"-allmodels", "-verbose", "1"}, "(1)\n"),
                "positive part of model 1:\n 1\nsatisfiable: 2 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "0"}, "(1)\n"),
                "satisfiable: nr of models: 1, 2 branches\n");
  // Without -allmodels the count never shows.
  expect_output(run_on({"-verbose", "0"}, two), "satisfiable: 1 branches\n");
}

TEST(ModelBlocks, SplitAtomsComeFirstAndShowTheirNumbers) {
  // (a b c d) is filed as (a b 65537), (-a -65537), (-b -65537), (-65537 c d);
  // 65537 false leaves (a b), so b false makes a true by a unit step.
  RunResult result = run_on({"-geninput", "-split", "5", "-negmodel", "-neg"}, "((a b c d) ())\n");
  expect_output(result, "model 1:\n -65537 -B A -D -C\nsatisfiable: 2 branches\n");
}

}  // namespace
}  // namespace quorvel_test
