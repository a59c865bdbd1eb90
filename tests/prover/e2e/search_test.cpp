// Complete runs of the iterative deepening search: proofs by extension and by
// reduction, the two verdicts without proof, the choice of start clauses, the
// list of used clauses, and a proof tens of thousands of steps deep. (Proofs
// by extension steps alone are in the option tests.)
#include <string>

#include "tests/prover/e2e/velkor_run.hpp"

namespace velkor_test {
namespace {

const char* const kNonHorn = R"(input_clause(c1,axiom,[++p,++q]).
input_clause(c2,axiom,[--p,++q]).
input_clause(c3,axiom,[++p,--q]).
input_clause(c4,conjecture,[--p,--q]).
)";

const char* const kNonHornRun = R"(
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
  expect_search(run_on({}, kNonHorn), std::string(kNonHornRun) + "\n");
}

TEST(Search, UsedClausesShowEveryCopyInUse) {
  // c1 is used twice, so it has two instance lines.
  expect_search(run_on({"-proof"}, kNonHorn), std::string(kNonHornRun) + R"(

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
  expect_search(run_on({"-proof"}, R"(input_clause(c1,conjecture,[--p(f(f(a)))]).
input_clause(c2,axiom,[++p(f(X)),--p(X)]).
input_clause(c3,axiom,[++p(a)]).
)"),
                R"(
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

const char* const kSatisfiable = R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 1

     ***** FORMULA IS SATISFIABLE *****

Total successful/failed inferences(constraints): 3/2 (0)
)";

TEST(Search, SatisfiableWhenALevelFailsWithoutBoundRefusal) {
  // Level 2 only fails on unification (q(b) against q(a)), so deepening stops.
  expect_search(run_on({}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(c3,axiom,[++q(b)]).
)"),
                kSatisfiable);
  // Without the lemma index the lemma ++q(Y) is set aside and closes nothing.
  expect_search(run_on({}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--q(X)]).
input_clause(l1,lemma,[++q(Y)]).
input_clause(c3,axiom,[++q(b)]).
)"),
                kSatisfiable);
}

TEST(Search, FinalBoundStopsAnEndlessChain) {
  expect_search(run_on({"-d", "3"}, R"(input_clause(c1,conjecture,[--p(a)]).
input_clause(c2,axiom,[++p(X),--p(f(X))]).
)"),
                R"(
all negated are conjectures
Lev. 1: inferences: succ fail: 1 1
Lev. 2: inferences: succ fail: 2 1
Lev. 3: inferences: succ fail: 3 1

     ***** BOUND REACHED *****
)");
}

std::string one_step_proof(const char* start_line, int inferences) {
  std::string n = std::to_string(inferences);
  return std::string("\n") + start_line + "\nLev. 1: inferences: succ fail: " + n +
         " 0\n\n     ***** PROOF WITH 1 INFERENCES FOUND *****\n\n"
         "Total successful/failed inferences: " +
         n + "/0\n\n";
}

TEST(StartClauses, WhichClausesStartAndThatEveryOneIsTried) {
  const char* all = "all negated are conjectures";
  const char* some = "some negated are no conjectures";
  struct Case {
    std::vector<std::string> options;
    const char* problem;
    const char* start_line;
    int inferences;
  };
  for (const Case& c : {
           // --p has no partner; the second start clause --q closes against ++q.
           Case{{},
                "input_clause(c1,conjecture,[--p]).\ninput_clause(c2,conjecture,[--q]).\n"
                "input_clause(c3,conjecture,[++q]).\n",
                all,
                3},
           // A negative hypothesis: the conjecture clause ++q starts.
           Case{{},
                "input_clause(c1,hypothesis,[--q]).\ninput_clause(c2,conjecture,[++q]).\n",
                some,
                2},
           // No conjecture at all: the all-negative clause starts instead.
           Case{{}, "input_clause(c1,axiom,[--q]).\ninput_clause(c2,axiom,[++q]).\n", some, 2},
           // -norel takes the all-negative clauses whatever their type.
           Case{{"-norel"},
                "input_clause(c1,axiom,[--q]).\ninput_clause(c2,conjecture,[++q]).\n",
                all,
                2},
           // The conjecture ++p4 has no partner and fails without any refusal,
           // but the hypotheses are inconsistent on their own: the search goes on
           // from the all-negative clause --p3 in the same level instead of
           // calling the set satisfiable.
           Case{{},
                "input_clause(c1,hypothesis,[--p3]).\ninput_clause(c2,conjecture,[++p4]).\n"
                "input_clause(c3,hypothesis,[++p3]).\n",
                some,
                3},
       })
    expect_search(run_on(c.options, c.problem), one_step_proof(c.start_line, c.inferences));
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
  std::string level = std::to_string(n + 1), succ = std::to_string(n + 2),
              fail = std::to_string(n - 1);
  expect_search(run_on({"-id", level}, problem),
                "\nall negated are conjectures\nLev. " + level + ": inferences: succ fail: " +
                    succ + " " + fail + "\n\n     ***** PROOF WITH " + level +
                    " INFERENCES FOUND *****\n\nTotal successful/failed inferences: " + succ + "/" +
                    fail + "\n\n");
}

}  // namespace
}  // namespace velkor_test
