// Complete runs of the iterative deepening search: proofs by extension and by
// reduction, the two verdicts without proof, the choice of start clauses, the
// list of used clauses, and a proof tens of thousands of steps deep.
#include <string>

#include "tests/prover/e2e/velkor_run.hpp"

namespace velkor_test {
namespace {

TEST(Search, ExtensionStepsOnly) {
  // Level 1: c2 cannot be entered at depth 0. Level 2: c1, c2 (X := a), c3.
  expect_output(run_on({}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,axiom,[++q(a)]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 2 unit)
	Number of literals:	4 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-1 arity)
	Number of functors:	1 ( 1 constant; 0-0 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 3 0

     ***** PROOF WITH 2 INFERENCES FOUND *****

Total successful/failed inferences: 4/1

)");
}

const char* const kNonHorn = R"(input_clause(c1,axiom,[++p,++q]).
input_clause(c2,axiom,[--p,++q]).
input_clause(c3,axiom,[++p,--q]).
input_clause(c4,conjecture,[--p,--q]).
)";

const char* const kNonHornRun = R"(FILE: Trying to parse
Syntax:	Number of clauses:	4 ( 1 non-Horn; 0 unit)
	Number of literals:	8 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 2 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 1 2
Lev. 2: inferences: succ fail: 3 4
Lev. 3: inferences: succ fail: 7 0

     ***** PROOF WITH 6 INFERENCES (2 RED.) FOUND *****

Total successful/failed inferences: 11 (RED: 2)/6
)";

TEST(Search, NonHornProofClosesBranchesByReduction) {
  // Level 3: c4; --p by c1; ++q by c3 (copy 1); ++p reduces with --p; --q by c1
  // (copy 2); ++p by c2; ++q reduces with --q.
  expect_output(run_on({}, kNonHorn), std::string(kNonHornRun) + "\n");
}

TEST(Search, UsedClausesShowEveryCopyInUse) {
  // c1 is used twice, so it has two instance lines.
  expect_output(run_on({"-proof"}, kNonHorn), std::string(kNonHornRun) + R"(

USED CLAUSES
------------

clause 1: ++p++q
copies: ++p++q
        ++p++q
        
clause 2: --p++q
copies: --p++q
        
clause 3: ++p--q
copies: ++p--q
        
clause 4: --p--q
copies: --p--q
        

)");
  // The instances show the bindings of the proof: c2 with X := f(a), then X := a.
  expect_output(run_on({"-proof"}, R"(input_clause(c1,conjecture,[--p(f(f(a)))]).
input_clause(c2,axiom,[++p(f(X)),--p(X)]).
input_clause(c3,axiom,[++p(a)]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 2 unit)
	Number of literals:	4 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	1 ( 0 propositional; 1-1 arity)
	Number of functors:	2 ( 1 constant; 0-1 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 2
Lev. 3: inferences: succ fail: 4 1

     ***** PROOF WITH 3 INFERENCES FOUND *****

Total successful/failed inferences: 7/4


USED CLAUSES
------------

clause 1: --p(f(f(a)))
copies: --p(f(f(a)))
        
clause 2: ++p(f(X))--p(X)
copies: ++p(f(f(a)))--p(f(a))
        ++p(f(a))--p(a)
        
clause 3: ++p(a)
copies: ++p(a)
        

)");
}

TEST(Search, SatisfiableWhenALevelFailsWithoutBoundRefusal) {
  // Level 2 only fails on unification (q(b) against q(a)), so deepening stops.
  expect_output(run_on({}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,axiom,[++q(b)]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 2 unit)
	Number of literals:	4 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	2 ( 0 propositional; 1-1 arity)
	Number of functors:	2 ( 2 constant; 0-0 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 1

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 3/2 (0)
)");
}

TEST(Search, FinalBoundStopsAnEndlessChain) {
  expect_output(run_on({"-d", "3"}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--p(f(X))]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	2 ( 0 non-Horn; 1 unit)
	Number of literals:	3 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	1 ( 0 propositional; 1-1 arity)
	Number of functors:	2 ( 1 constant; 0-1 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 1
Lev. 3: inferences: succ fail: 3 1

     ***** BOUND REACHED *****
)");
}

TEST(StartClauses, EveryStartClauseIsTriedInALevel) {
  // --p has no partner; the second start clause --q closes against ++q.
  expect_output(run_on({}, R"(input_clause(c1,conjecture,[--p]).
input_clause(c2,conjecture,[--q]).
input_clause(c3,conjecture,[++q]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 3 unit)
	Number of literals:	3 ( 0 equality)
	Maximal clause size:	1
	Number of predicates:	2 ( 2 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

all negated are conjectures
Lev. 1: inferences: succ fail: 3 0

     ***** PROOF WITH 1 INFERENCES FOUND *****

Total successful/failed inferences: 3/0

)");
}

TEST(StartClauses, ConjecturesOrAllNegativeClauses) {
  const char* tail = R"(Lev. 1: inferences: succ fail: 2 0

     ***** PROOF WITH 1 INFERENCES FOUND *****

Total successful/failed inferences: 2/0

)";
  const char* report = R"(FILE: Trying to parse
Syntax:	Number of clauses:	2 ( 0 non-Horn; 2 unit)
	Number of literals:	2 ( 0 equality)
	Maximal clause size:	1
	Number of predicates:	1 ( 1 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

)";
  // A negative hypothesis: the conjecture clause ++q starts.
  expect_output(run_on({},
                       "input_clause(c1,hypothesis,[--q]).\n"
                       "input_clause(c2,conjecture,[++q]).\n"),
                std::string(report) + "some negated are no conjectures\n" + tail);
  // No conjecture at all: the all-negative clause starts instead.
  expect_output(run_on({}, "input_clause(c1,axiom,[--q]).\ninput_clause(c2,axiom,[++q]).\n"),
                std::string(report) + "some negated are no conjectures\n" + tail);
  // -norel takes the all-negative clauses whatever their type.
  expect_output(run_on({"-norel"},
                       "input_clause(c1,axiom,[--q]).\n"
                       "input_clause(c2,conjecture,[++q]).\n"),
                std::string(report) + "all negated are conjectures\n" + tail);
}

TEST(StartClauses, AllNegativeClausesOnceTheConjecturesAreExhausted) {
  // The conjecture ++p4 has no partner and fails without any refusal, but the
  // hypotheses are inconsistent on their own: the search goes on from the
  // all-negative clause --p3 in the same level instead of calling the set
  // satisfiable.
  expect_output(run_on({}, R"(input_clause(c1,hypothesis,[--p3]).
input_clause(c2,conjecture,[++p4]).
input_clause(c3,hypothesis,[++p3]).
)"),
                R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 3 unit)
	Number of literals:	3 ( 0 equality)
	Maximal clause size:	1
	Number of predicates:	2 ( 2 propositional; 0-0 arity)
	Number of functors:	0 ( 0 constant; --- arity)
	Number of variables:	0 ( 0 singleton)

some negated are no conjectures
Lev. 1: inferences: succ fail: 3 0

     ***** PROOF WITH 1 INFERENCES FOUND *****

Total successful/failed inferences: 3/0

)");
}

TEST(Search, LemmaClausesAreNotSearched) {
  // Without the lemma index the lemma ++q(Y) is set aside and closes nothing.
  expect_output(run_on({}, R"(input_clause(c1,conjecture,[--p(a)]).
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

all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 1

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 3/2 (0)
)");
}

std::string repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST(DeepSearch, UnaryCounterThirtyThousandStepsDeep) {
  // --p(s^n(0)) needs n nested extensions with c3; below the top each subgoal
  // first tries ++p(0) and fails once. Starting at the exact depth keeps it one level.
  const int n = 30000;
  std::string problem =
      "input_clause(c1,conjecture,[--p(" + repeat("s(", n) + "0" + repeat(")", n) + R"()]).
input_clause(c2,axiom,[++p(0)]).
input_clause(c3,axiom,[++p(s(X)),--p(X)]).
)";
  std::string level = std::to_string(n + 1);
  expect_output(run_on({"-id", level}, problem), R"(FILE: Trying to parse
Syntax:	Number of clauses:	3 ( 0 non-Horn; 2 unit)
	Number of literals:	4 ( 0 equality)
	Maximal clause size:	2
	Number of predicates:	1 ( 0 propositional; 1-1 arity)
	Number of functors:	2 ( 1 constant; 0-1 arity)
	Number of variables:	1 ( 0 singleton)

all negated are conjectures
Lev. )" + level + ": inferences: succ fail: " + std::to_string(n + 2) +
                                                     " " + std::to_string(n - 1) + R"(

     ***** PROOF WITH )" + level + R"( INFERENCES FOUND *****

Total successful/failed inferences: )" + std::to_string(n + 2) +
                                                     "/" + std::to_string(n - 1) + "\n\n");
}

}  // namespace
}  // namespace velkor_test
