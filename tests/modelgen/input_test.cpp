// Clause input: normalisation, tautologies, splitting, clause weights, the
// general syntax and DIMACS files.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

std::string numbers_clause(int first, int last) {
  std::string text = "(";
  for (int i = first; i <= last; ++i) text += std::to_string(i) + (i < last ? " " : ")\n");
  return text;
}

TEST(Normalisation, DuplicatesKeepTheirLastOccurrence) {
  // (3 -1 3) is (-1 3): atom 1 is met first, so the equally heavy 3 leads the order.
  expect_output(run_on({"-atomlist", "-noverbose"}, "(3 -1 3)\n"),
                "3 1 \nsatisfiable: 1 branches\n");
  expect_output(run_on({"-atomlist", "-noverbose"}, "(3 -1)\n"), "1 3 \nsatisfiable: 1 branches\n");
  // (2 2) is the unit clause (2): a unit step, not a split, gives the model.
  expect_output(run_on({}, "(2 2)\n"), "positive part of model 1:\n 2\nsatisfiable: 2 branches\n");
}

TEST(Normalisation, TautologiesMakeNoRecordButCount) {
  // Atoms 1, 5 and 6 occur only in tautologies and appear in no model.
  expect_output(run_on({"-negmodel", "-allmodels"}, "(1 -1)\n(5 6 -5)\n(2)\n(1 3 -1 3)\n"),
                "model 1:\n 2\nsatisfiable: 2 branches\n");
  // Only tautologies: no atoms, one empty model.
  expect_output(run_on({"-allmodels"}, "(1 -1)\n"),
                "positive part of model 1:\n\nsatisfiable: 1 branches\n");
}

TEST(Weights, UnitWeightIsScaledByTheNumberOfClausesRead) {
  // Ten clauses read (nine tautologies): w(3) = (536870911 / 10) / 27 = 1988410.
  // The seeded tie-break at counter 0 puts false first when the sums tie under
  // -freqdiv, that is when w(3) / freqdiv is 0.
  std::string file = "(1 2 3)\n";
  for (int i = 0; i < 9; ++i) file += "(4 -4)\n";
  expect_output(run_on({"-rand", "1", "-freqdiv", "1988411"}, file),
                "positive part of model 1:\n 1\nsatisfiable: 2 branches\n");
  expect_output(run_on({"-rand", "1", "-freqdiv", "1988410"}, file),
                "positive part of model 1:\n 3 2 1\nsatisfiable: 1 branches\n");
  // Exponent 0: every clause weighs 536870911 / N, here N = 2.
  std::string two = "(1 2 3)\n(4 -4)\n";
  expect_output(run_on({"-div", "0", "-rand", "1", "-freqdiv", "268435456"}, two),
                "positive part of model 1:\n 1\nsatisfiable: 2 branches\n");
  expect_output(run_on({"-div", "0", "-rand", "1", "-freqdiv", "268435455"}, two),
                "positive part of model 1:\n 3 2 1\nsatisfiable: 1 branches\n");
}

TEST(Weights, LongClausesWeighAtLeastOne) {
  // 900 literals with exponent 3: the power is capped and the weight is 1.
  std::string file = numbers_clause(1, 900);
  EXPECT_EQ(run_on({"-rand", "1", "-freqdiv", "2", "-verbose", "3"}, file).out,
            "satisfiable: 2 branches\n");
  EXPECT_EQ(run_on({"-rand", "1", "-freqdiv", "1", "-verbose", "3"}, file).out,
            "satisfiable: 1 branches\n");
}

TEST(Splitting, PiecesFollowTheBudget) {
  const char clause[] = "(1 2 3 4 5)\n";
  // Budget 10: two split atoms and the remainder (-65538 4 5).
  expect_output(run_on({"-split", "10", "-atomlist", "-negmodel"}, clause),
                "65537 65538 2 1 3 5 4 \nmodel 1:\n -65537 -65538 -2 1 -3 5 4\n"
                "satisfiable: 3 branches\n");
  // Budget 1: one split atom and the remainder (-65537 3 4 5) of length 4.
  expect_output(run_on({"-split", "1", "-atomlist", "-negmodel"}, clause),
                "65537 2 1 5 4 3 \nmodel 1:\n -65537 -2 1 5 4 3\nsatisfiable: 2 branches\n");
  // A split atom is determined by the other atoms: the models stay the same in number.
  for (const char* budget : {"1", "2", "10"})
    EXPECT_NE(run_on({"-split", budget, "-allmodels", "-noverbose"}, clause)
                  .out.find("nr of models: 31, "),
              std::string::npos);
  // Three literals are never split.
  expect_output(run_on({"-split", "10", "-atomlist", "-noverbose"}, "(1 2 3)\n"),
                "3 2 1 \nsatisfiable: 1 branches\n");
}

TEST(Splitting, LongClauseBeyondTheLastBucketKeepsItsTrueLength) {
  // 1500 literals: the clause turns unit only when 1499 of them are false.
  std::string file = numbers_clause(1, 1500);
  for (int i = 1; i < 1500; ++i) file += "(-" + std::to_string(i) + ")\n";
  EXPECT_EQ(run_on({"-verbose", "3"}, file).out, "satisfiable: 1501 branches\n");
  EXPECT_EQ(run_on({"-neg", "-verbose", "3"}, numbers_clause(1, 1500)).out,
            "satisfiable: 2 branches\n");
  file += "(-1500)\n";
  EXPECT_EQ(run_on({}, file).out, "unsatisfiable: 1501 branches\n");
}

TEST(GeneralSyntax, LiteralsAreData) {
  const char file[] =
      "; the general syntax: (<pos> <neg> ...)\n"
      "((a b) (c) ignored extra)\n"
      "((x) (x))\n"
      "((p \"p\") ())\n"
      "((P q) ())\n"
      "(((f 1)) (q))\n"
      "((g) ((f  1)))\n";
  // The symbol p and the string "p" are two atoms, p and P one; x only in a tautology.
  expect_output(run_on({"-geninput", "-allmodels", "-noverbose"}, file),
                "satisfiable: nr of models: 63, 79 branches\n");
  expect_output(run_on({"-geninput", "-negmodel"}, file),
                "model 1:\n P -Q -(F 1) p G -C B A\nsatisfiable: 1 branches\n");
  // Nested lists, strings with escapes and blanks, negative numbers.
  expect_output(run_on({"-geninput"}, "((\"a \\\"b\\\"\" (1 (-2 Zz))) ())\n"),
                "positive part of model 1:\n (1 (-2 ZZ)) a \"b\"\nsatisfiable: 1 branches\n");
}

TEST(GeneralSyntax, DeeplyNestedDataAreReadAndCompared) {
  // Two separately read copies of a datum nested 200000 deep are one atom:
  // the second unit clause is already satisfied.
  std::string deep = std::string(200000, '(') + "x" + std::string(200000, ')');
  std::string file = "((" + deep + ") ())\n((" + deep + ") ())\n";
  EXPECT_EQ(run_on({"-geninput", "-verbose", "3"}, file).out, "satisfiable: 2 branches\n");
}

TEST(Dimacs, ReadLikeTheIntegerSyntax) {
  const char dimacs[] = "c comment\nc\np cnf 3 2\n1 -3\n 0\n2 3 0\n%\n0\n\n";
  std::string expected = run_on({"-allmodels", "-negmodel", "-atomlist"}, "(1 -3)\n(2 3)\n").out;
  EXPECT_EQ(expected,
            "3 1 2 \nmodel 1:\n -3 1 2\nmodel 2:\n -3 -1 2\nmodel 3:\n 3 1 2\nmodel 4:\n"
            " 3 1 -2\nsatisfiable: 6 branches\n");
  expect_output(run_on({"-allmodels", "-negmodel", "-atomlist"}, dimacs), expected);
  // -geninput does not change how a DIMACS file is read.
  expect_output(run_on({"-geninput", "-allmodels", "-negmodel", "-atomlist"}, dimacs), expected);
  // A lone 0 is an empty clause.
  expect_output(run_on({}, "p cnf 1 2\n1 0\n0\n"), "unsatisfiable: 0 branches\n");
}

TEST(Dimacs, MalformedFilesAreRejected) {
  struct Case {
    const char* file;
    const char* message;
  };
  for (const Case& c : {
           Case{"p cnf 2 1\n1 3 0\n", ":2: literal 3 outside the declared atoms 1 to 2\n"},
           Case{"p cnf 2 2\n1 2 0\n-1\n", ":3: clause not ended by 0\n"},
           Case{"p cnf 2 3\n1 2 0\n-1 0\n",
                ":1: the header declares 3 clauses, the file holds 2\n"},
           Case{"p cnf 2 1\n1 x 0\n", ":2: expected an integer, found \"x\"\n"},
           Case{"p cnf 70000 1\n1 0\n", ":1: more than 65536 atoms declared\n"},
           Case{"p cnf 2\n1 0\n", ":1: malformed header, expected \"p cnf <atoms> <clauses>\"\n"},
       }) {
    RunResult result = run_on({}, c.file);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("quorvel: ") && result.err.ends_with(c.message))
        << result.err;
    EXPECT_EQ(result.status, 2);
  }
}

}  // namespace
}  // namespace quorvel_test
