// Runs under the options that change the search: regularity, the lemma index,
// foldup, weighted depth, subgoal reordering, the signature bound, equality,
// subgoal alternation, and the options that leave the search as it is.
#include <regex>
#include <string>

#include "tests/prover/e2e/velkor_run.hpp"

namespace velkor_test {
namespace {

const char* const kChain = R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,axiom,[++q(a)]).
)";

const char* const kChainReport = R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 2 unit)
	Number of literals:	4 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-1 arity)
	Number of functors:	1 ( 1 constant; 0-0 arity)
	Number of variables:	1 ( 0 singleton)
)";

const char* const kChainSearch = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/1

)";

TEST(NeutralOptions, SameSearchAsWithoutThem) {
  const std::string plain = std::string(kChainReport) + kChainSearch;
  expect_output(run_on({"-noclreord"}, kChain), plain);
  expect_output(run_on({"-fvector", "7"}, kChain), plain);
  expect_output(run_on({"-eqpred", "1"}, kChain), plain);
  // No equality literal: equality mode is dropped without a message.
  expect_output(run_on({"-equality"}, kChain), plain);
  expect_output(run_on({"-grounding"}, kChain),
                std::string(kChainReport) + "grounding entered\n" + kChainSearch);
  // Starting at level 2 skips level 1 and its counts.
  expect_output(run_on({"-noclreord", "-id", "2"}, kChain), std::string(kChainReport) + R"(
all negated are conjectures
Lev. 2: inferences: succ fail: 3 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 3/0

)");
}

const char* const kLoop = R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--p(X)]).
input_clause(c3,axiom,[++p(Y),--q(Y)]).
input_clause(c4,axiom,[++q(a)]).
)";

const char* const kLoopReport = R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 0 non-Horn; 2 unit)
	Number of literals:	6 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-1 arity)
	Number of functors:	1 ( 1 constant; 0-0 arity)
	Number of variables:	2 ( 0 singleton)

all negated are conjectures
)";

TEST(Pruning, RegularityAndEqualPredecessor) {
  // Without pruning, c2 (X := a) repeats --p(a) below itself and is searched.
  expect_output(run_on({}, kLoop), std::string(kLoopReport) + R"(Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 4 2

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 5/4

)");
  // -reg rejects c2 at once: a constraint failure, counted as a failure too.
  const std::string regular =
      std::string(kLoopReport) + R"(Lev. 1: inferences: succ fail constr: 1 2 0
Lev. 2: inferences: succ fail constr: 3 1 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/3

)";
  expect_output(run_on({"-reg"}, kLoop), regular);
  expect_output(run_on({"-reg", "-sreg"}, kLoop), regular);
  // -eqpred enters c2 but never solves the repeated subgoal.
  expect_output(run_on({"-eqpred", "1"}, kLoop), std::string(kLoopReport) +
                                                     R"(Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 4 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 5/2

)");
}

TEST(LemmaIndex, InputLemmaClosesASubgoal) {
  // The input lemma is entered first (the reader already counted one lemma);
  // subgoals that are the only open one are entered as they are solved.
  expect_output(run_on({"-sgindex", "-printindex"}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(l1,lemma,[++q(Y)]).
input_clause(c3,axiom,[++q(b)]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 0 non-Horn; 3 unit)
	Number of literals:	5 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-1 arity)
	Number of functors:	2 ( 2 constant; 0-0 arity)
	Number of variables:	2 ( 1 singleton)

input_clause(c2,conjecture,[++q(Y)]).

all negated are conjectures

input_clause(c3,conjecture,[--p(a)]).
Lev. 1: inferences: succ match fail: 1 0 1

input_clause(c4,conjecture,[--q(a)]).
Lev. 2: inferences: succ match fail: 3 1 0

     ***** PROOF WITH 2 INFERENCES (1 LEM.) FOUND *****

Total successful/failed inferences: 4 (LEM: 1)/1

)");
}

TEST(LemmaIndex, SolvedSubgoalEnteredAsLemma) {
  // --p(a) is solved without any reduction, so its complement ++p(a) is entered
  // as a lemma of type axiom when c2's copy is closed.
  expect_output(run_on({"-sgindex", "-indexfoldup", "-printindex"}, kChain),
                std::string(kChainReport) + R"(
all negated are conjectures

input_clause(c1,conjecture,[--p(a)]).
Lev. 1: inferences: succ match fail: 1 0 1

input_clause(c2,conjecture,[--q(a)]).

input_clause(c3,axiom,[++p(a)]).
Lev. 2: inferences: succ match fail: 3 0 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/1

)");
}

TEST(LemmaIndex, SubgoalLemmaAndReductionInOneProof) {
  // Level 3: --q is entered when it is the only open subgoal; the later ++q below
  // it is closed by that entry.
  std::string problem = R"(input_clause(c1,axiom,[++p,++q]).
input_clause(c2,axiom,[--p,++q]).
input_clause(c3,axiom,[++p,--q]).
input_clause(c4,conjecture,[--p,--q]).
)";
  expect_output(run_on({"-sgindex", "-reg"}, problem), R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 1 non-Horn; 0 unit)
	Number of literals:	8 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 2 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ match fail constr: 1 0 2 0
Lev. 2: inferences: succ match fail constr: 3 0 4 0
Lev. 3: inferences: succ match fail constr: 7 1 0 0

     ***** PROOF WITH 6 INFERENCES (1 RED.) (1 LEM.) FOUND *****

Total successful/failed inferences: 11 (RED: 1) (LEM: 1)/6

)");
}

const char* const kFoldup = R"(input_clause(c1,conjecture,[--a,--b]).
input_clause(c2,axiom,[++a,--c]).
input_clause(c3,axiom,[++c]).
input_clause(c4,axiom,[++b,--a]).
)";

const char* const kFoldupReport = R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 0 non-Horn; 1 unit)
	Number of literals:	7 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	3 ( 3 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
)";

TEST(Foldup, SolvedSubgoalBecomesALemma) {
  // Without foldup --a must be proved again below --b, which needs level 3.
  expect_output(run_on({}, kFoldup),
                std::string(kFoldupReport) + R"(Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 4 1
Lev. 3: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 11/2

)");
  // With foldup, ++a is folded up to the root and closes the second --a.
  const std::string folded = std::string(kFoldupReport) + R"(Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 5 0

     ***** PROOF WITH 4 INFERENCES (1 RED.) FOUND *****

Total successful/failed inferences: 6 (RED: 1)/1

)";
  expect_output(run_on({"-foldup"}, kFoldup), folded);
  expect_output(run_on({"-eqpred", "-foldup"}, kFoldup), folded);
  // The used clauses show the clause literals' signs, also for folded subgoals.
  expect_output(run_on({"-foldup", "-proof"}, kFoldup), folded + R"(
USED CLAUSES
------------

clause 1: --a--b
copies: --a--b
        
clause 2: ++a--c
copies: ++a--c
        
clause 3: ++c
copies: ++c
        
clause 4: ++b--a
copies: ++b--a
        

)");
}

// Satisfiable (a and c true, b false). ++a is a consequence, but ++c and --c
// are not: a lemma derived by reduction with --a must not outlive --a.
const char* const kFoldupTrap = R"(input_clause(c1,conjecture,[--a,--b]).
input_clause(c2,axiom,[++a,++c]).
input_clause(c3,axiom,[--c,++a]).
input_clause(c4,axiom,[++b,++c]).
)";

const char* const kFoldupTrapReport = R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 2 non-Horn; 0 unit)
	Number of literals:	8 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	3 ( 3 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
)";

// Six level lines of any counts, then the final bound and no proof.
void expect_no_proof(const RunResult& result, const std::string& level_pattern) {
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
  const std::string head = kFoldupTrapReport;
  const std::string tail = "\n     ***** BOUND REACHED *****\n";
  ASSERT_TRUE(result.out.starts_with(head) && result.out.ends_with(tail)) << result.out;
  std::string levels =
      result.out.substr(head.size(), result.out.size() - head.size() - tail.size());
  for (int level = 1; level <= 6; ++level) {
    size_t end = levels.find('\n');
    ASSERT_NE(end, std::string::npos) << result.out;
    EXPECT_TRUE(std::regex_match(levels.substr(0, end),
                                 std::regex("Lev\\. " + std::to_string(level) + level_pattern)))
        << levels.substr(0, end);
    levels.erase(0, end + 1);
  }
  EXPECT_EQ(levels, "");
}

TEST(Foldup, LemmaFromAReductionStaysBelowItsAncestor) {
  // Levels 1 to 3 traced: no lemma reaches the root, so the counts are those
  // of the plain search.
  const std::string first_levels =
      std::string(kFoldupTrapReport) + R"(Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 3 3
Lev. 3: inferences: succ fail: 12 5

     ***** BOUND REACHED *****
)";
  expect_output(run_on({"-d", "3"}, kFoldupTrap), first_levels);
  expect_output(run_on({"-foldup", "-d", "3"}, kFoldupTrap), first_levels);
  // Level 3 enters --b, ++c and ++a as only open subgoals; ++a is a true
  // consequence and closes --a by a lemma step.
  expect_output(run_on({"-sgindex", "-indexfoldup", "-printindex", "-d", "3"}, kFoldupTrap),
                std::string(kFoldupTrapReport) + R"(Lev. 1: inferences: succ match fail: 1 0 2
Lev. 2: inferences: succ match fail: 3 0 3

input_clause(c1,conjecture,[--b]).

input_clause(c2,conjecture,[++c]).

input_clause(c3,conjecture,[++a]).
Lev. 3: inferences: succ match fail: 9 1 3

     ***** BOUND REACHED *****
)");
  expect_no_proof(run_on({"-foldup", "-d", "6"}, kFoldupTrap),
                  R"(: inferences: succ fail: \d+ \d+)");
  expect_no_proof(run_on({"-sgindex", "-indexfoldup", "-d", "6"}, kFoldupTrap),
                  R"(: inferences: succ match fail: \d+ \d+ \d+)");
}

const char* const kThreeGoals = R"(input_clause(c1,conjecture,[--r,--s,--u]).
input_clause(c2,axiom,[++r,--t]).
input_clause(c3,axiom,[++t]).
input_clause(c4,axiom,[++s,--t]).
input_clause(c5,axiom,[++u]).
)";

const char* const kThreeGoalsReport = R"(FILE: Trying to parse
Syntax:	Number of clauses:	5 ( 0 non-Horn; 2 unit)
	Number of literals:	9 ( 0 equality)
	Maximal clause size:	3
	Number of predicates:	4 ( 4 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
)";

TEST(WeightedDepth, BoundShrinksAsTheProofGrows) {
  const std::string plain = std::string(kThreeGoalsReport) + R"(Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 7/1

)";
  expect_output(run_on({}, kThreeGoals), plain);
  // Level 2: the start copy's weighted limit is 100 + 120 - 240 = -20; once
  // --r has added one inference, --s gets (-20 + 12000/220 + 50)/100 = 0 and c4
  // is refused. Level 3: --s gets 1 and --u (two inferences on) 1.
  expect_output(run_on({"-wdr"}, kThreeGoals), std::string(kThreeGoalsReport) +
                                                   R"(Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 1
Lev. 3: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 10/2

)");
  // With no decay the weighted bound stays the plain one.
  expect_output(run_on({"-wd3", "0"}, kThreeGoals), plain);
}

TEST(SubgoalReordering, MoreInstantiatedSubgoalFirst) {
  std::string problem = R"(input_clause(c1,conjecture,[--p(X),--q(b,X)]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++p(b)]).
input_clause(c4,axiom,[++q(b,b)]).
)";
  std::string report = R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 0 non-Horn; 3 unit)
	Number of literals:	5 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-2 arity)
	Number of functors:	2 ( 2 constant; 0-0 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
)";
  // In literal order --p(X) takes X := a first and --q(b,a) fails.
  const std::string in_order = report + R"(Lev. 1: inferences: succ fail: 4 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/1

)";
  expect_output(run_on({}, problem), in_order);
  // Rule 0: --q(b,X) has complexity 1000/2 = 500 against 0 and goes first.
  expect_output(run_on({"-dynsgreord", "0"}, problem),
                report + R"(Lev. 1: inferences: succ fail: 3 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 3/1

)");
  // Rule 2 only lets a subgoal of the same predicate take over.
  expect_output(run_on({"-dynsgreord", "2"}, problem), in_order);
}

TEST(SignatureBound, NewSymbolsAreRefused) {
  // The goal symbols p and a are free; c2 brings in q. With budget 0 every
  // level refuses c2, so deepening goes on up to the final bound.
  expect_output(run_on({"-sig", "0", "-d", "3"}, kChain), std::string(kChainReport) + R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 1 1
Lev. 3: inferences: succ fail: 1 1

     ***** BOUND REACHED *****
)");
  // Budget 1 pays for q once; c3 then brings nothing new.
  expect_output(run_on({"-sig", "1"}, kChain), std::string(kChainReport) + kChainSearch);
}

const char* const kEqualityReport = R"(Syntax:	Number of clauses:	5 ( 0 non-Horn; 4 unit)
	Number of literals:	6 ( 4 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-2 arity)
	Number of functors:	2 ( 2 constant; 0-0 arity)
	Number of variables:	3 ( 0 singleton)
)";

TEST(Equality, ClashBecomesADifferenceSubgoal) {
  std::string problem = R"(input_clause(c1,conjecture,[--p(b)]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++equal(X,X)]).
input_clause(c4,axiom,[++equal(b,a)]).
input_clause(c5,axiom,[--equal(X,Y),++equal(Y,X)]).
)";
  // Without equality p(a) and p(b) are not even connected.
  expect_output(run_on({}, problem), std::string("FILE: Trying to parse\n") + kEqualityReport + R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 0

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 1/0 (0)
)");
  // Level 1: the clash would need a difference at depth 0 (refused). Level 2:
  // c2 records --equal(b,a) (2 inferences); at depth 0 reflexivity would need a
  // new difference (a against b, refused); ++equal(b,a) closes it.
  expect_output(run_on({"-equality"}, problem),
                std::string("FILE: Trying to parse\n") + kEqualityReport + R"(Equality handling

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/2

)");
}

TEST(Equality, TwoDifferencesOfOneStep) {
  // c2 against --p(b,d) records --equal(b,a) and --equal(d,c): 1 + 2 = 3 inferences.
  expect_output(run_on({"-equality"}, R"(input_clause(c1,conjecture,[--p(b,d)]).
input_clause(c2,axiom,[++p(a,c)]).
input_clause(c3,axiom,[++equal(X,X)]).
input_clause(c4,axiom,[++equal(b,a)]).
input_clause(c5,axiom,[++equal(d,c)]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	5 ( 0 non-Horn; 5 unit)
	Number of literals:	5 ( 3 equality)
	Maximal clause size:	1
	Number of predicates:	2 ( 0 propositional; 2-2 arity)
	Number of functors:	4 ( 4 constant; 0-0 arity)
	Number of variables:	1 ( 0 singleton)
Equality handling

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 4 3

     ***** PROOF WITH 3 INFERENCES FOUND *****

Total successful/failed inferences: 5/4

)");
}

TEST(SubgoalAlternation, NotImplemented) {
  // ++p(a) closes --p(a), --q then fails; the next partner has two literals.
  std::string problem = R"(input_clause(c1,conjecture,[--p(a),--q]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++p(Y),--q]).
)";
  const std::string out = R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 1 unit)
	Number of literals:	5 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 1 propositional; 0-1 arity)
	Number of functors:	1 ( 1 constant; 0-0 arity)
	Number of variables:	1 ( 1 singleton)

all negated are conjectures
Subgoal alternation: not implemented!
)";
  for (const char* option : {"-singledelay", "-multidelay"}) {
    RunResult result = run_on({option}, problem);
    EXPECT_EQ(result.out, out) << option;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 1);
  }
  // When the last alternative has been tried the loop just ends.
  expect_output(run_on({"-singledelay"}, kChain), std::string(kChainReport) + kChainSearch);
}

TEST(ExtremeValues, OptionValuesAtTheEndsOfTheRangeStayDefined) {
  // Bounds, budgets and weights at the ends of the 64-bit range go into the
  // depth and weight arithmetic of every step; the runs must end normally
  // (the sanitizer build turns any overflow into a failure).
  const char* problem =
      "input_clause(c1,conjecture,[--p(X)]).\n"
      "input_clause(c2,axiom,[++p(a),--q]).\n"
      "input_clause(c3,axiom,[++q]).\n";
  const std::string min = "-9223372036854775808", max = "9223372036854775807";
  auto tail = [](const std::string& out) { return out.substr(out.find("\nLev.")); };
  EXPECT_EQ(tail(run_on({"-id", min, "-d", min}, problem).out),
            "\nLev. -9223372036854775808: inferences: succ fail: 1 1\n\n"
            "     ***** BOUND REACHED *****\n");
  EXPECT_EQ(tail(run_on({"-id", min, "-wdr", "-d", min}, problem).out),
            "\nLev. -9223372036854775808: inferences: succ fail: 1 1\n\n"
            "     ***** BOUND REACHED *****\n");
  // Weights that push every weighted bound below zero end at the final bound.
  for (const auto& options :
       std::vector<std::vector<std::string>>{{"-id", max, "-wd1", max, "-wd2", min, "-wd3", max},
                                             {"-wd1", min, "-wd2", max, "-wd3", min},
                                             {"-wd3", "-1"},
                                             {"-sig", max},
                                             {"-sig", min},
                                             {"-dynsgreord", max, "-complexity", min}}) {
    std::vector<std::string> args = options;
    args.insert(args.end(), {"-d", "4"});
    auto run = run_on(args, problem);
    EXPECT_EQ(run.status, 0) << ::testing::PrintToString(args) << run.err;
    EXPECT_TRUE(run.out.find("PROOF WITH") != std::string::npos ||
                run.out.find("BOUND REACHED") != std::string::npos)
        << ::testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace velkor_test
