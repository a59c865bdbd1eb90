// Usage text, option parsing and the parameter-list abort.
#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

const char kUsage[] =
    "*** Usage: quorvel <option>s <filename> *** \n"
    "\n"
    "<filename> must contain input <clause>s\n"
    "\n"
    "Default syntax: <clause> ::= (I_1 ... I_n), any I_i an integer != 0\n"
    "\n"
    "Default model output: only the positive literals in model are displayed\n"
    "\n"
    "Default branching criterion: branches first to positive valuation except\n"
    "the literal occurs with a higher weight positively in the formula\n"
    "\n"
    "<option>s:\n"
    "-geninput:      switches to general syntax: <clause> ::= (<pos> <neg>) where\n"
    "                <pos> and <neg> are lists of arbitrary scheme objects which\n"
    "                denote the positive resp. negative literals in the clause\n"
    "-allmodels:     computes all models\n"
    "-noverbose:     only number of models displayed\n"
    "-verbose 0:     only number of models displayed\n"
    "-verbose 1:     only first model and number of models displayed\n"
    "-negmodel:      also negated literals in model displayed\n"
    "-neg:           branches always first to negative literal\n"
    "-pos:           branches always first to positive literal if -pos is off\n"
    "-div {0-6}:     different weight functions w: c clause, l length of c\n"
    "                div = i: w(c) = 1/(l^i), default is -div 3,\n"
    "                atom selection is acc. to maximal weight, atom weight is the\n"
    "                sum of the weights of the clauses in which the atom occurs\n"
    "-max:           atom weight is not sum but maximum of pos. and neg. weights\n"
    "-dynamic:       dynamic atom selection wrt. current clause weights\n"
    "-maxdyn <NAT>:  from proper branch depth <NAT> on initial atom ordering used,\n"
    "                -dynamic is switched on\n"
    "\n"
    "General remarks: later options overwrite earlier ones\n";

const char kAbort[] = "Abort: error in parameter list\n";

// Three models of (1 2), in the order 2 true 1 true, 2 true, 1 true.
const char kOrClause[] = "(1 2)\n";

TEST(Usage, NoArgumentsPrintsTheUsageTextOnly) {
  expect_output(run_args({}), kUsage);
}

// Unknown words, the file name before an option (taken for an option) and
// an option argument that would be the file name abort.
TEST(Options, UnknownWordsAndMisplacedFileNameAbort) {
  for (const auto& options : std::vector<std::vector<std::string>>{
           {"-Allmodels"}, {"-pos-neg"}, {"-verbose", "1", "2"}, {"-allmodels", "-limit"}}) {
    RunResult result = run_on(options, kOrClause);
    EXPECT_EQ(result.out, kAbort);
    EXPECT_EQ(result.status, 1);
  }
  EXPECT_EQ(run_on({"-allmodels", "-limit"}, kOrClause).err,
            "quorvel: option -limit needs an argument before the file name\n");
  std::string file = testing_support::write_temp_file("misplaced.txt", kOrClause);
  EXPECT_EQ(run_args({file, "-allmodels"}).out, kAbort);
  // A single word is always the file name.
  RunResult result = run_args({"-allmodels"});
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("cannot open clause file -allmodels"), std::string::npos);
  EXPECT_EQ(result.status, 2);
}

TEST(Options, AcceptedNoOpOptionsChangeNothing) {
  std::string plain = run_on({"-allmodels"}, kOrClause).out;
  expect_output(
      run_on({"-maxsteps", "10", "-switch", "-size", "x", "-enddiv", "7", "-allmodels"}, kOrClause),
      plain);
}

TEST(Options, VerbosityOptionsOverwriteEachOther) {
  // With -verbose 1 only the first block shows and the count appears.
  expect_output(run_on({"-allmodels", "-noverbose", "-verbose", "1"}, kOrClause),
                "positive part of model 1:\n 2 1\nsatisfiable: nr of models: 3, 4 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "1", "-noverbose"}, kOrClause),
                "satisfiable: nr of models: 3, 4 branches\n");
  // Numeric arguments read like strtol: leading blanks, sign, trailing junk.
  expect_output(run_on({"-allmodels", "-verbose", " +0xyz"}, kOrClause),
                "satisfiable: nr of models: 3, 4 branches\n");
  expect_output(run_on({"-allmodels", "-verbose", "3"}, kOrClause), "satisfiable: 4 branches\n");
}

TEST(Options, NegWinsOverPosWhateverTheOrder) {
  // (1 2) tries 2 true first by weight; -pos keeps that, -neg turns it round.
  expect_output(run_on({"-pos"}, kOrClause),
                "positive part of model 1:\n 2 1\nsatisfiable: 1 branches\n");
  std::string negative = "positive part of model 1:\n 1\nsatisfiable: 2 branches\n";
  expect_output(run_on({"-neg", "-pos"}, kOrClause), negative);
}

TEST(Options, SplitKeepsTheSmallestBudget) {
  // One split atom with budget 1, two with any larger budget for five literals.
  const char clause[] = "(1 2 3 4 5)\n";
  std::string one_atom = "65537 2 1 5 4 3 \n";
  EXPECT_EQ(run_on({"-split", "1", "-split", "100", "-atomlist", "-noverbose"}, clause).out,
            one_atom + "satisfiable: 2 branches\n");
  EXPECT_EQ(run_on({"-split", "100", "-split", "1", "-atomlist", "-noverbose"}, clause).out,
            one_atom + "satisfiable: 2 branches\n");
  // A budget of zero or less splits nothing.
  EXPECT_EQ(run_on({"-split", "-5", "-atomlist", "-noverbose"}, clause).out,
            "5 4 3 2 1 \nsatisfiable: 1 branches\n");
}

TEST(Options, DivisorIsCheckedAfterReading) {
  for (const char* divisor : {"7", "-1", "99999999999"}) {
    RunResult result = run_on({"-div", divisor}, kOrClause);
    EXPECT_EQ(result.out, "\nError: wrong clause divisor!");
    EXPECT_EQ(result.status, 1);
  }
  // 0 to 6 are the divisors.
  for (const char* divisor : {"0", "6"})
    expect_output(run_on({"-div", divisor}, kOrClause),
                  "positive part of model 1:\n 2 1\nsatisfiable: 1 branches\n");
  // A malformed file is reported before the divisor.
  RunResult result = run_on({"-div", "9"}, "(1 x)\n");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.status, 2);
}

}  // namespace
}  // namespace quorvel_test
