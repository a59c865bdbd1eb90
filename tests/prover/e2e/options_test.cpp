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

const char* const kChainSearch = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/1

)";

TEST(NeutralOptions, SameSearchAsWithoutThem) {
  // No equality literal: equality mode is dropped without a message.
  for (auto options : std::vector<std::vector<std::string>>{
           {"-noclreord"}, {"-fvector", "7"}, {"-eqpred", "1"}, {"-equality"}, {"-singledelay"}})
    expect_search(run_on(options, kChain), kChainSearch);
  expect_search(run_on({"-grounding"}, kChain), std::string("grounding entered\n") + kChainSearch);
  // Starting at level 2 skips level 1 and its counts.
  expect_search(run_on({"-noclreord", "-id", "2"}, kChain), R"(
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

TEST(Pruning, RegularityAndEqualPredecessor) {
  // Without pruning, c2 (X := a) repeats --p(a) below itself and is searched.
  expect_search(run_on({}, kLoop), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 4 2

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 5/4

)");
  // -reg rejects c2 at once: a constraint failure, counted as a failure too.
  const std::string regular = R"(
all negated are conjectures
Lev. 1: inferences: succ fail constr: 1 2 0
Lev. 2: inferences: succ fail constr: 3 1 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/3

)";
  expect_search(run_on({"-reg"}, kLoop), regular);
  expect_search(run_on({"-reg", "-sreg"}, kLoop), regular);
  // -eqpred enters c2 but never solves the repeated subgoal.
  expect_search(run_on({"-eqpred", "1"}, kLoop), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 4 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 5/2

)");
  // Reductions refused by a constraint count as failed inferences as well.
  expect_search(run_on({"-reg", "-d", "4"}, R"(input_clause(c1,conjecture,[--p(X),--p(b)]).
input_clause(c2,axiom,[--q(Y)]).
input_clause(c3,axiom,[++q(a),++p(Y),--p(b)]).
)"),
                R"(
some negated are no conjectures
Lev. 1: inferences: succ fail constr: 1 1 0
Lev. 2: inferences: succ fail constr: 3 1 0
Lev. 3: inferences: succ fail constr: 12 11 3
Lev. 4: inferences: succ fail constr: 18 17 13

     ***** BOUND REACHED *****
)");
}

TEST(LemmaIndex, InputLemmaClosesASubgoal) {
  // The input lemma is entered first (the reader already counted one lemma);
  // subgoals that are the only open one are entered as they are solved.
  expect_search(run_on({"-sgindex", "-printindex"}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(l1,lemma,[++q(Y)]).
input_clause(c3,axiom,[++q(b)]).
)"),
                R"(
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
  expect_search(run_on({"-sgindex", "-indexfoldup", "-printindex"}, kChain), R"(
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
  expect_search(run_on({"-sgindex", "-reg"}, R"(input_clause(c1,axiom,[++p,++q]).
input_clause(c2,axiom,[--p,++q]).
input_clause(c3,axiom,[++p,--q]).
input_clause(c4,conjecture,[--p,--q]).
)"),
                R"(
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

TEST(Foldup, SolvedSubgoalBecomesALemma) {
  // Without foldup --a must be proved again below --b, which needs level 3.
  expect_search(run_on({}, kFoldup), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 4 1
Lev. 3: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 11/2

)");
  // With foldup, ++a is folded up to the root and closes the second --a.
  const std::string folded = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 5 0

     ***** PROOF WITH 4 INFERENCES (1 RED.) FOUND *****

Total successful/failed inferences: 6 (RED: 1)/1

)";
  expect_search(run_on({"-foldup"}, kFoldup), folded);
  expect_search(run_on({"-eqpred", "-foldup"}, kFoldup), folded);
  // The used clauses show the clause literals' signs, also for folded subgoals.
  expect_search(run_on({"-foldup", "-proof"}, kFoldup), folded + R"(
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

// Six level lines of any counts, then the final bound and no proof.
void expect_no_proof(const RunResult& result, const std::string& level_pattern) {
  EXPECT_EQ(result.status, 0);
  std::string levels;
  for (int level = 1; level <= 6; ++level)
    levels += "Lev\\. " + std::to_string(level) + level_pattern + "\n";
  EXPECT_TRUE(std::regex_search(
      result.out, std::regex("\nall negated are conjectures\n" + levels +
                             "\n     \\*\\*\\*\\*\\* BOUND REACHED \\*\\*\\*\\*\\*\n$")))
      << result.out;
}

TEST(Foldup, LemmaFromAReductionStaysBelowItsAncestor) {
  // Levels 1 to 3 traced: no lemma reaches the root, so the counts are those
  // of the plain search.
  const std::string first_levels = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 3 3
Lev. 3: inferences: succ fail: 12 5

     ***** BOUND REACHED *****
)";
  expect_search(run_on({"-d", "3"}, kFoldupTrap), first_levels);
  expect_search(run_on({"-foldup", "-d", "3"}, kFoldupTrap), first_levels);
  // Level 3 enters --b, ++c and ++a as only open subgoals; ++a is a true
  // consequence and closes --a by a lemma step.
  expect_search(run_on({"-sgindex", "-indexfoldup", "-printindex", "-d", "3"}, kFoldupTrap), R"(
all negated are conjectures
Lev. 1: inferences: succ match fail: 1 0 2
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

TEST(WeightedDepth, BoundShrinksAsTheProofGrows) {
  const char* problem = R"(input_clause(c1,conjecture,[--r,--s,--u]).
input_clause(c2,axiom,[++r,--t]).
input_clause(c3,axiom,[++t]).
input_clause(c4,axiom,[++s,--t]).
input_clause(c5,axiom,[++u]).
)";
  const std::string plain = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 7/1

)";
  expect_search(run_on({}, problem), plain);
  // Level 2: the start copy's weighted limit is 100 + 120 - 240 = -20; once
  // --r has added one inference, --s gets (-20 + 12000/220 + 50)/100 = 0 and c4
  // is refused. Level 3: --s gets 1 and --u (two inferences on) 1.
  expect_search(run_on({"-wdr"}, problem), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 1
Lev. 3: inferences: succ fail: 6 0

     ***** PROOF WITH 5 INFERENCES FOUND *****

Total successful/failed inferences: 10/2

)");
  // With no decay the weighted bound stays the plain one.
  expect_search(run_on({"-wd3", "0"}, problem), plain);
}

TEST(SubgoalReordering, MoreInstantiatedSubgoalFirst) {
  const char* problem = R"(input_clause(c1,conjecture,[--p(X),--q(b,X)]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++p(b)]).
input_clause(c4,axiom,[++q(b,b)]).
)";
  auto run = [](const char* succ) {
    return std::string("\nall negated are conjectures\nLev. 1: inferences: succ fail: ") + succ +
           " 1\n\n     ***** PROOF WITH 2 INFERENCES FOUND *****\n\n"
           "Total successful/failed inferences: " +
           succ + "/1\n\n";
  };
  // In literal order --p(X) takes X := a first and --q(b,a) fails.
  expect_search(run_on({}, problem), run("4"));
  // Rule 0: --q(b,X) has complexity 1000/2 = 500 against 0 and goes first.
  expect_search(run_on({"-dynsgreord", "0"}, problem), run("3"));
  // Rule 2 only lets a subgoal of the same predicate take over.
  expect_search(run_on({"-dynsgreord", "2"}, problem), run("4"));
}

TEST(SignatureBound, NewSymbolsAreRefused) {
  // The goal symbols p and a are free; c2 brings in q. With budget 0 every
  // level refuses c2, so deepening goes on up to the final bound.
  expect_search(run_on({"-sig", "0", "-d", "3"}, kChain), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 1 1
Lev. 3: inferences: succ fail: 1 1

     ***** BOUND REACHED *****
)");
  // Budget 1 pays for q once; c3 then brings nothing new.
  expect_search(run_on({"-sig", "1"}, kChain), kChainSearch);
  // The symbols of hypotheses are free too.
  expect_search(run_on({"-sig", "0", "-d", "3"}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,hypothesis,[++q(a)]).
)"),
                kChainSearch);
}

TEST(Equality, ClashBecomesADifferenceSubgoal) {
  const char* problem = R"(input_clause(c1,conjecture,[--p(b)]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++equal(X,X)]).
input_clause(c4,axiom,[++equal(b,a)]).
input_clause(c5,axiom,[--equal(X,Y),++equal(Y,X)]).
)";
  // Without equality p(a) and p(b) are not even connected.
  expect_search(run_on({}, problem), R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 0

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 1/0 (0)
)");
  // Level 1: the clash would need a difference at depth 0 (refused). Level 2:
  // c2 records --equal(b,a) (2 inferences); at depth 0 reflexivity would need a
  // new difference (a against b, refused); ++equal(b,a) closes it.
  expect_search(run_on({"-equality"}, problem), R"(Equality handling

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 1

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/2

)");
  // c2 against --p(b,d) records --equal(b,a) and --equal(d,c): 1 + 2 = 3 inferences.
  expect_search(run_on({"-equality"}, R"(input_clause(c1,conjecture,[--p(b,d)]).
input_clause(c2,axiom,[++p(a,c)]).
input_clause(c3,axiom,[++equal(X,X)]).
input_clause(c4,axiom,[++equal(b,a)]).
input_clause(c5,axiom,[++equal(d,c)]).
)"),
                R"(Equality handling

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 4 3

     ***** PROOF WITH 3 INFERENCES FOUND *****

Total successful/failed inferences: 5/4

)");
}

TEST(SubgoalAlternation, NotImplemented) {
  // ++p(a) closes --p(a), --q then fails; the next partner has two literals.
  // (When the last alternative has been tried the loop just ends: see
  // NeutralOptions.)
  const char* problem = R"(input_clause(c1,conjecture,[--p(a),--q]).
input_clause(c2,axiom,[++p(a)]).
input_clause(c3,axiom,[++p(Y),--q]).
)";
  for (const char* option : {"-singledelay", "-multidelay"}) {
    RunResult result = run_on({option}, problem);
    EXPECT_TRUE(result.out.ends_with(
        "\nall negated are conjectures\nSubgoal alternation: not implemented!\n"))
        << result.out;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 1);
  }
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
  for (auto options : std::vector<std::vector<std::string>>{{"-id", min, "-d", min},
                                                            {"-id", min, "-wdr", "-d", min}})
    expect_search(run_on(options, problem),
                  "\nall negated are conjectures\n"
                  "Lev. -9223372036854775808: inferences: succ fail: 1 1\n\n"
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
