// The file name line and the problem report, command line aborts, unreadable
// files and syntax errors, and problems nested far deeper than any real input.
#include <string>

#include "tests/prover/e2e/velkor_run.hpp"

namespace velkor_test {
namespace {

const char* const kChain = R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,axiom,[++q(a)]).
)";

TEST(Report, CountsEveryKindOfSymbolOnce) {
  // Variables are counted per clause; X occurs three times in c1, Y once in c2.
  // The bare "equal" is a propositional atom and no equality literal. The only
  // all-negative clause has no known type, so no clause is a conjecture and the
  // all-negative clause starts; its first subgoal has no partner.
  expect_output(run_on({}, R"(% comment before the first clause
input_clause(c1,axiom,[++p(X,f(X)),--q(X)]). % comment after a clause
input_clause(c2,hypothesis,[++p(a,Y),++r,++equal]).
input_clause(f(g,(h)),other,[--q(b),--equal(a,b),--r]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 1 non-Horn; 0 unit)
	Number of literals:	8 ( 1 equality)
	Maximal clause size:	3
	Number of predicates:	5 ( 2 propositional; 0-2 arity)
	Number of functors:	3 ( 2 constant; 0-1 arity)
	Number of variables:	2 ( 1 singleton)

some negated are no conjectures
Lev. 1: inferences: succ fail: 1 0

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 1/0 (0)
)");
}

TEST(Report, EmptyProblemHasNoArities) {
  // No clause at all: the level has no start clause and fails without a bound refusal.
  const char* expected = R"(FILE: Trying to parse
Syntax:	Number of clauses:	0 ( 0 non-Horn; 0 unit)
	Number of literals:	0 ( 0 equality)
	Maximal clause size:	0
	Number of predicates:	0 ( 0 propositional; --- arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 0 0

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 0/0 (0)
)";
  expect_output(run_on({}, ""), expected);
  expect_output(run_on({}, "% nothing but a comment\n   \n% and another"), expected);
}

TEST(CommandLine, BadOptionsAbortBeforeReading) {
  std::string problem = testing_support::write_temp_file("options.p", kChain);
  const char* abort = "Abort: error in parameter list\n";
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"-eqpred", "0", problem},  // 0 is then compared as an option
           {"-x", problem},
           {"-", problem},
           {"-Foldup", problem},
           {"-proof", "-d", "3", "-sgindex", "-q", problem},
           {},           // no word at all
           {"-d", "3"},  // the last word is the argument of -d
           {"-proof", "-id", "2"}}) {
    RunResult result = run_args(args);
    EXPECT_EQ(result.out, abort) << ::testing::PrintToString(args);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 1);
  }
}

TEST(CommandLine, LastWordIsAlwaysTheFileName) {
  // "-foldup" as the last word is a file name, even after an option with argument.
  RunResult result = run_args({"-d", "2", "-foldup"});
  EXPECT_EQ(result.out, "-foldup: File not found\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 1);
  result = run_args({"/nonexistent/dir/problem.p"});
  EXPECT_EQ(result.out, "/nonexistent/dir/problem.p: File not found\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 1);
}

TEST(CommandLine, DirectoryIsNotReadable) {
  std::string dir = testing_support::temp_dir();
  RunResult result = run_args({dir});
  EXPECT_EQ(result.out, dir + ": Trying to parse\n");
  EXPECT_EQ(result.err, "velkor: cannot read problem file " + dir + ": Is a directory\n");
  EXPECT_EQ(result.status, 1);
}

void expect_syntax_error(const std::string& problem, const std::string& message) {
  RunResult result = run_on({"-proof"}, problem);
  EXPECT_EQ(result.out, "FILE: Trying to parse\n");
  EXPECT_EQ(result.err, "parser: parse error (unexpected token `" + message + "\n");
  EXPECT_EQ(result.status, 255);
}

TEST(Parser, SyntaxErrorsStopBeforeTheReport) {
  expect_syntax_error("input_clause(c1,axiom,[++P(x)]).\n", "VARIABLE') at line 1, column 26");
  expect_syntax_error("% empty list\ninput_clause(c1,axiom,\n  []).\n",
                      "CLOSEBRACKET') at line 3, column 4");
  expect_syntax_error("input_clause(c1,axiom,[++p(a)])", "*EOI*') at line 1, column 32");
  expect_syntax_error("input_clause(c1,Axiom,[++p(a)]).\n", "VARIABLE') at line 1, column 17");
  expect_syntax_error("input_clause(c1,axiom,[+p(a)]).\n", "+') at line 1, column 24");
  expect_syntax_error("input_clause(c1,axiom,[++p(a)]).\ninput_clause(c2,axiom,[--p(_X)]).\n",
                      "_') at line 2, column 28");
  // A carriage return is a character of its own that no rule accepts.
  expect_syntax_error("input_clause(c1,axiom,[++p(a)]).\r\n", "\r') at line 1, column 33");
}

std::string repeat(const std::string& text, int times) {
  std::string result;
  result.reserve(text.size() * times);
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST(DeepInput, TermNestedOneHundredThousandDeep) {
  // Reading, copying, the connection graph's unification with occurs check, the
  // extension step and the proof display all walk the whole term.
  const int depth = 100000;
  std::string term = repeat("f(", depth) + "a" + repeat(")", depth);
  std::string problem =
      "input_clause(c1,conjecture,[--p(" + term + ")]).\ninput_clause(c2,axiom,[++p(X)]).\n";
  std::string expected = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 2 0

     ***** PROOF WITH 1 INFERENCES FOUND *****

Total successful/failed inferences: 2/0


USED CLAUSES
------------

clause 1: --p()" + term + R"()
copies: --p()" + term + R"()
        
clause 2: ++p(X)
copies: ++p()" + term + R"()
        

)";
  expect_search(run_on({"-proof"}, problem), expected);
}

TEST(DeepInput, OneHundredThousandParenthesesAroundATerm) {
  const int depth = 100000;
  std::string problem = "input_clause(c1,conjecture,[--p(" + repeat("(", depth) + "a" +
                        repeat(")", depth) + ")]).\ninput_clause(c2,axiom,[++p(a)]).\n";
  expect_search(run_on({}, problem), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 2 0

     ***** PROOF WITH 1 INFERENCES FOUND *****

Total successful/failed inferences: 2/0

)");
  // An unbalanced nest is still a syntax error, reported at the end of the file.
  std::string open = "input_clause(c1,axiom,[++p(" + repeat("(", depth) + "a";
  expect_syntax_error(open, "*EOI*') at line 1, column " + std::to_string(open.size() + 1));
}

}  // namespace
}  // namespace velkor_test
