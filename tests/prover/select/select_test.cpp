// Premise selection on small theories: which premises the trigger relation
// keeps and which it must leave out, and the restricted problem a search is
// given.
#include "prover/select/select.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tptp/clausify.hpp"
#include "tptp/fof.hpp"
#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace {

using velkor::select::Params;
using velkor::select::Selection;

tptp::Problem read(const std::string& text) {
  tptp::Problem problem;
  tptp::read_problem(problem, "/tmp/select.p", {}, text);
  return problem;
}

// Names of the kept statements, formulas first, in the problem's order.
std::string kept(const std::string& text, const char* selection) {
  Params params;
  EXPECT_TRUE(velkor::select::parse_params(selection, params)) << selection;
  const tptp::Problem problem = read(text);
  const Selection s = velkor::select::select_premises(problem, params);
  std::string names;
  for (std::size_t i = 0; i < problem.formulas.size(); ++i)
    if (s.keep_formula[i]) names += problem.formulas[i].name.spelling + " ";
  for (std::size_t i = 0; i < problem.clauses.size(); ++i)
    if (s.keep_clause[i]) names += problem.clauses[i].name.spelling + " ";
  return names;
}

// Generalities: p 3 (pq, pt, ps), q 2, r 2, s 2, a 1, t 1, v 1.  Each
// premise is triggered by its rarest symbols: pq by q, qr by q and r, ra by
// a, pt by t, ps by s, sv by v; p, the conjecture's predicate, triggers
// nothing until the tolerance reaches its generality.
const std::string kTheory =
    "fof(goal, conjecture, p(a)).\n"
    "fof(pq, axiom, ! [X] : (q(X) => p(X))).\n"
    "fof(qr, axiom, ! [X] : (r(X) => q(X))).\n"
    "fof(ra, axiom, r(a)).\n"
    "fof(pt, axiom, ! [X] : (p(X) => t(X))).\n"
    "fof(ps, axiom, ! [X] : (s(X) => p(X))).\n"
    "fof(sv, axiom, ! [X] : (v(X) => s(X))).\n";

TEST(Select, RarestSymbolsTriggerRoundByRound) {
  // a, then r, then q: the premise that proves p(a) comes third.
  EXPECT_EQ(kept(kTheory, "sine:1:1"), "goal ra ");
  EXPECT_EQ(kept(kTheory, "sine:1:2"), "goal qr ra ");
  EXPECT_EQ(kept(kTheory, "sine:1"), "goal pq qr ra ");
  // Within 1.5 times the rarest symbol, p triggers pq and ps (3 <= 1.5 * 2),
  // within 3 times pt too; sv never, its v is never selected.
  EXPECT_EQ(kept(kTheory, "sine:1.5:1"), "goal pq ra ps ");
  EXPECT_EQ(kept(kTheory, "sine:1.5:2"), "goal pq qr ra ps ");
  EXPECT_EQ(kept(kTheory, "sine:3:1"), "goal pq ra pt ps ");
  // A symbol within the generality threshold triggers all it occurs in.
  EXPECT_EQ(kept(kTheory, "sine:1:1:3"), "goal pq ra pt ps ");
  // A limit keeps what the rarest symbols bring first: a (1) before p (3).
  EXPECT_EQ(kept(kTheory, "sine:1.5:0:0:1"), "goal ra ");
}

TEST(Select, GoalsAndSymbolFreePremisesStayProblemsWithoutConjectureKeepAll) {
  const std::string clauses =
      "cnf(c, negated_conjecture, ~p(a)).\n"
      "cnf(h, hypothesis, q(b)).\n"
      "cnf(x, axiom, p(X) | ~q(X)).\n"
      "cnf(y, axiom, z(X)).\n"
      "fof(two, axiom, ? [X,Y] : X != Y).\n";
  EXPECT_EQ(kept(clauses, "sine:1:1"), "two c h x ");
  const std::string no_conjecture = "fof(a, axiom, p).\nfof(b, axiom, q).\n";
  EXPECT_EQ(kept(no_conjecture, "sine:1:1"), "a b ");
  Params params;
  const Selection s = velkor::select::select_premises(read(no_conjecture), params);
  EXPECT_FALSE(s.partial());
  EXPECT_EQ(s.description, "no conjecture: kept all 2 formulas");
}

TEST(Select, SpellingsOfTheParameters) {
  Params p;
  ASSERT_TRUE(velkor::select::parse_params("sine:1.5:3:20:400", p));
  EXPECT_EQ(p.tolerance, 1.5);
  EXPECT_EQ(p.depth, 3u);
  EXPECT_EQ(p.generality_threshold, 20u);
  EXPECT_EQ(p.limit, 400u);
  for (const char* bad : {"", "sine", "sine:", "sine:0.5", "sine:1:-1", "sine:1:2:3:4:5", "sine:x",
                          "sine:1e3", "sine:1:99999999999", "mepo:1", "sine:1::2"})
    EXPECT_FALSE(velkor::select::parse_params(bad, p)) << bad;
}

// The restricted problem holds the kept statements as they were read, and
// the clausifier's new symbols avoid every symbol of the whole problem.
TEST(Select, RestrictedProblemIsTheKeptPartWithFreshSkolemsForTheWhole) {
  const std::string text =
      "fof(goal, conjecture, ! [X] : (p(X) => ~ ? [Y] : r(X,Y))).\n"
      "fof(ex, axiom, ! [X] : (p(X) => ? [Y] : r(X,Y))).\n"
      "fof(far, axiom, q(sk1, sk2, def1) & ~ ( q(a,b,c) <=> q(c,b,a) )).\n"
      "cnf(cl, axiom, ~r(X,Y) | p(X)).\n";
  const tptp::Problem whole = read(text);
  Params params;
  params.depth = 1;
  const Selection s = velkor::select::select_premises(whole, params);
  ASSERT_EQ(s.keep_formula, (std::vector<bool>{true, true, false}));
  ASSERT_EQ(s.keep_clause, (std::vector<bool>{true}));
  tptp::Problem part = velkor::select::restrict_problem(whole, s);
  ASSERT_EQ(part.formulas.size(), 2u);
  EXPECT_TRUE(part.has_conjecture);
  EXPECT_EQ(tptp::formula_text(part, 0), tptp::formula_text(whole, 0));
  EXPECT_EQ(tptp::formula_text(part, 1), tptp::formula_text(whole, 1));
  EXPECT_EQ(tptp::clause_text(part, part.clauses[0]), tptp::clause_text(whole, whole.clauses[0]));
  EXPECT_LT(part.terms.size(), whole.terms.size());
  tptp::clausify(part);
  std::string clauses;
  for (const tptp::Clause& c : part.clauses) clauses += tptp::clause_text(part, c) + "\n";
  EXPECT_EQ(clauses.find("sk1"), std::string::npos) << clauses;
  EXPECT_NE(clauses.find("sk3"), std::string::npos) << clauses;
}

}  // namespace
