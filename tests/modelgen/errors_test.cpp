// Unusable input: missing files, malformed data, numbers out of range, too
// many literals; and the sound answers for empty clauses and empty files.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

void expect_input_error(const RunResult& result, const std::string& message_end) {
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(result.err.starts_with("quorvel: ") && result.err.ends_with(message_end))
      << result.err;
  EXPECT_EQ(result.status, 2);
}

TEST(Files, MissingOrUnreadable) {
  RunResult result = run_args({"-allmodels", "/nonexistent/clauses.txt"});
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(
      result.err,
      "quorvel: cannot open clause file /nonexistent/clauses.txt: No such file or directory\n");
  EXPECT_EQ(result.status, 2);
  result = run_args({"/tmp"});
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "quorvel: cannot read clause file /tmp: Is a directory\n");
  EXPECT_EQ(result.status, 2);
}

TEST(IntegerSyntax, MalformedData) {
  expect_input_error(run_on({}, "(1 2)\n(1 0)\n"), ":2: the literal 0 is not allowed\n");
  expect_input_error(run_on({}, "(65537)\n"), ":1: atom number 65537 outside 1 to 65536\n");
  expect_input_error(run_on({}, "(-70000)\n"), ":1: atom number 70000 outside 1 to 65536\n");
  expect_input_error(run_on({}, "(99999999999999999999)\n"), ":1: integer out of range\n");
  expect_input_error(run_on({}, "(1 (2))\n"), ":1: a literal must be a non-zero integer\n");
  expect_input_error(run_on({}, "(1 a)\n"), ":1: a literal must be a non-zero integer\n");
  expect_input_error(run_on({}, "(1 \"2\")\n"), ":1: a literal must be a non-zero integer\n");
  expect_input_error(run_on({}, "(1 2)\n3\n"),
                     ":2: a clause must be a list of non-zero integers\n");
  expect_input_error(run_on({}, "(1 2)\n\n(3\n"), ":3: list not closed\n");
  expect_input_error(run_on({}, "(1 2))\n"), ":1: unexpected \")\"\n");
  // The largest atom number is fine; comments are skipped.
  expect_output(run_on({}, "; a comment (1\n(65536 -1) ; more\n"),
                "positive part of model 1:\n 65536\nsatisfiable: 1 branches\n");
}

TEST(GeneralSyntax, MalformedData) {
  const std::vector<std::string> general = {"-geninput"};
  expect_input_error(run_on(general, "((a) (b))\n((a))\n"),
                     ":2: a clause must be a list (<pos> <neg>) of two lists of literals\n");
  expect_input_error(run_on(general, "(a (b))\n"),
                     ":1: a clause must be a list (<pos> <neg>) of two lists of literals\n");
  expect_input_error(run_on(general, "((\"open) ())\n"), ":1: string not closed\n");
  // 65535 distinct literals fit (65535 unit steps), one more does not.
  std::string file;
  for (int i = 0; i < 65535; ++i) file += "((a" + std::to_string(i) + ") ())\n";
  EXPECT_EQ(run_on({"-geninput", "-verbose", "3"}, file).out, "satisfiable: 65536 branches\n");
  file += "((one-more) ())\n";
  expect_input_error(run_on(general, file), ":65536: more than 65535 distinct literals\n");
}

TEST(EmptyInput, EmptyClauseIsUnsatisfiable) {
  expect_output(run_on({"-allmodels"}, "(1 2)\n()\n"), "unsatisfiable: 0 branches\n");
  expect_output(run_on({"-geninput"}, "((a) ())\n(() ())\n"), "unsatisfiable: 0 branches\n");
  // The atom order is still printed.
  expect_output(run_on({"-atomlist"}, "(1 2)\n()\n"), "2 1 \nunsatisfiable: 0 branches\n");
}

TEST(EmptyInput, NoClausesGiveOneEmptyModel) {
  for (const char* file : {"", "; only a comment\n", "p cnf 0 0\n"})
    expect_output(run_on({"-allmodels"}, file),
                  "positive part of model 1:\n\nsatisfiable: 1 branches\n");
}

}  // namespace
}  // namespace quorvel_test
