// First-order problems: reading fof, clausifying it soundly (checked by
// truth tables and by velkor on known theorems and non-theorems), deep and
// explosive formulas, provenance and printing formulas back.

#include "tptp/fof.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/large_stack.hpp"
#include "tests/support/run_program.hpp"
#include "tptp/clausify.hpp"
#include "tptp/convert.hpp"
#include "tptp/reader.hpp"

namespace {

using testing_support::run_program;

tptp::ConvertResult convert_text(const std::string& text, std::uint64_t threshold = 16) {
  tptp::ConvertOptions options{"/tmp/t.p", std::nullopt, text, false, false};
  return tptp::convert(options, {threshold, true});
}

std::string converted(const std::string& text, std::uint64_t threshold = 16) {
  auto result = convert_text(text, threshold);
  EXPECT_TRUE(result.ok) << result.error;
  return result.output;
}

// Reads and clausifies on the large stack, as the converter does.
tptp::Problem read_text(const std::string& text, std::uint64_t threshold = 16) {
  tptp::Problem problem;
  common::run_with_large_stack([&] {
    tptp::read_problem(problem, "/tmp/t.p", {}, text);
    tptp::clausify(problem, {threshold, true});
    return 0;
  });
  return problem;
}

TEST(Fof, ClausifiesWithPrecedenceRolesEqualityAndFreshNames) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      // & binds tighter than |, | tighter than =>; ~ and quantifiers take a unit.
      {"fof(a,axiom, p & q | r => s).",
       "input_clause(a_1,axiom,[--p,--q,++s]).\ninput_clause(a_2,axiom,[--r,++s]).\n"},
      {"fof(a,hypothesis, ! [X] : p(X) | ~ ? [Y] : q(Y) ).",
       "input_clause(a,hypothesis,[++p(X),--q(Y)]).\n"},
      // Names derived from a number or a quoted name are lower-case words.
      {"fof(1,axiom, p & q).\nfof('my ax',axiom, r & s).",
       "input_clause(n1_1,axiom,[++p]).\ninput_clause(n1_2,axiom,[++q]).\n"
       "input_clause(my_ax_1,axiom,[++r]).\ninput_clause(my_ax_2,axiom,[++s]).\n"},
      // The conjectures are negated together, where the first one stands;
      // Skolem symbols avoid the problem's own sk1.
      {"fof(c1,conjecture, ! [X] : p(X)).\nfof(a,axiom,p(sk1)).\nfof(c2,conjecture,q).",
       "input_clause(c1,conjecture,[--p(sk2),--q]).\ninput_clause(a,axiom,[++p(sk1)]).\n"},
      {"fof(c,conjecture, ! [X] : ? [Y] : X != f(Y)).",
       "input_clause(c,conjecture,[++equal(sk1,f(Y))]).\n"},
      // Tautologies, t = t and true formulas give nothing; t != t is false.
      {"fof(a,axiom, p | ~ p).\nfof(b,axiom,$true).\nfof(c,axiom,! [X] : (q(X) | X != X | "
       "f(X) = f(X))).\nfof(d,axiom, a != a | r).",
       "input_clause(d,axiom,[++r]).\n"},
      // A plainly false formula: the empty clause, written as two units.
      {"fof(t,conjecture,$true).\nfof(a,axiom,empty_clause).",
       "input_clause(t,conjecture,[--empty_clause_2]).\ninput_clause(a,axiom,[++empty_clause]).\n"
       "input_clause(t_complement,axiom,[++empty_clause_2]).\n"},
      // Mixed with clauses; the names of several clauses stay distinct.
      {"cnf(a_1,axiom,p).\nfof(a,negated_conjecture, (p <=> q)).",
       "input_clause(a_1,axiom,[++p]).\ninput_clause(a_1_2,conjecture,[--p,++q]).\n"
       "input_clause(a_2,conjecture,[++p,--q]).\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(converted(c.text), c.expected) << c.text;
}

TEST(Fof, IncludesSelectFormulasAndClausesAlike) {
  std::string axioms = testing_support::write_temp_file(
      "M.ax",
      "cnf(c1,axiom,p).\nfof(f1,axiom, q => r, inference(x,[status(thm)],[c1]), [a]).\n"
      "fof(f2,axiom,s).\n");
  auto result = convert_text("include('" + axioms + "',[f1,c1]).\nfof(c,conjecture,r).\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.output,
            "input_clause(c1,axiom,[++p]).\ninput_clause(f1,axiom,[--q,++r]).\n"
            "input_clause(c,conjecture,[--r]).\n");
}

TEST(Fof, ReportsMalformedFormulasWithTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"fof(a,axiom,\n p => q => r).", "/tmp/t.p:2: '=>' is not associative"},
      {"fof(a,axiom,\n ! [X] : p(X) & q(X)).", ":2: variable X is not bound"},
      {"fof(a,axiom, (p & q).", ":1: expected ')' or a binary connective after the formula"},
      {"fof(a,axiom, ! X : p(X)).", ":1: expected '['"},
      {"fof(a,axiom, p & ).", ":1: expected a formula or a term, found ')'"},
      {"fof(a,axiom, ! [X] : X).", ":1: a variable cannot stand as a formula"},
  };
  for (const Case& c : cases) {
    auto result = convert_text(c.text);
    EXPECT_FALSE(result.ok) << c.text;
    EXPECT_NE(result.error.find(c.expected), std::string::npos) << c.text << "\n" << result.error;
  }
}

TEST(Fof, KeepsProvenanceOfFormulasAndClauses) {
  tptp::Problem problem = read_text(
      "cnf(n,negated_conjecture,r).\nfof(a,axiom, ? [X] : p(X)).\nfof(b,lemma, ! [X] : p(X)).\n"
      "fof(c1,conjecture,q).\nfof('c 2',conjecture,! [Y] : s(Y)).\n");
  EXPECT_TRUE(problem.has_conjecture);
  ASSERT_EQ(problem.formulas.size(), 4u);
  EXPECT_EQ(problem.formulas[1].role_text, "lemma");
  EXPECT_EQ(problem.formulas[3].line, 5);
  EXPECT_EQ(tptp::formula_text(problem, 3), "! [Y] : s(Y)");
  ASSERT_EQ(problem.clauses.size(), 4u);
  struct Expected {
    const char* role_text;
    tptp::Role role;
    std::vector<std::uint32_t> formulas;
    bool esa;
  };
  const Expected expected[] = {{"negated_conjecture", tptp::Role::Conjecture, {}, false},
                               {"axiom", tptp::Role::Axiom, {0}, true},
                               {"lemma", tptp::Role::Axiom, {1}, false},
                               {"conjecture", tptp::Role::Conjecture, {2, 3}, true}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(problem.clauses[i].role_text, expected[i].role_text) << i;
    EXPECT_EQ(problem.clauses[i].role, expected[i].role) << i;
    EXPECT_EQ(problem.clauses[i].formulas, expected[i].formulas) << i;
    EXPECT_EQ(problem.clauses[i].esa, expected[i].esa) << i;
  }
  EXPECT_FALSE(
      read_text("cnf(n,negated_conjecture,r).\nfof(a,negated_conjecture,p).\n").has_conjecture);
  tptp::Problem empty = read_text("fof(a,axiom,$false | ~ $true).\n");
  ASSERT_EQ(empty.clauses.size(), 1u);
  EXPECT_TRUE(empty.clauses[0].literals.empty());
}

TEST(Fof, PrintsFormulasBackAsTheyReadAgain) {
  const std::string text =
      "fof(f,axiom, ~ (! [X,Y] : (p(X,'A b') <=> ? [X] : ~ X = \"s\") <~> (q ~| r) ~& ($true <= "
      "$false)) | a != 1 & b => ~ ~ c).";
  tptp::Problem once = read_text(text);
  std::string printed = tptp::formula_text(once, 0);
  EXPECT_EQ(printed,
            "((~ (! [X,Y] : (p(X,'A b') <=> ? [X] : ~ X = \"s\") <~> ((q ~| r) ~& ($true <= "
            "$false))) | (a != 1 & b)) => ~ ~ c)");
  tptp::Problem twice = read_text("fof(f,axiom," + printed + ").");
  EXPECT_EQ(tptp::formula_text(twice, 0), printed);
}

TEST(Fof, ProgramTakesTheClausificationOptions) {
  std::string path =
      testing_support::write_temp_file("opts.p",
                                       "fof(f,axiom, ! [X] : (p(X) | (q(X) & r))).\n"
                                       "fof(g,axiom, ! [Y] : ? [X] : (s(X) & t(Y))).\n");
  auto named = run_program(TPTP_TO_VELKOR_BIN, {"--definitions", "1", path});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(named.out,
            "input_clause(f_1,axiom,[++p(X),++def1(X)]).\n"
            "input_clause(f_2,axiom,[--def1(X),++q(X)]).\n"
            "input_clause(f_3,axiom,[--def1(X),++r]).\n"
            "input_clause(g_1,axiom,[++s(sk1)]).\ninput_clause(g_2,axiom,[++t(Y)]).\n");
  auto plain = run_program(TPTP_TO_VELKOR_BIN, {"--no-miniscoping", path});
  EXPECT_EQ(plain.out,
            "input_clause(f_1,axiom,[++p(X),++q(X)]).\n"
            "input_clause(f_2,axiom,[++p(X),++r]).\n"
            "input_clause(g_1,axiom,[++s(sk1(Y))]).\ninput_clause(g_2,axiom,[++t(Y)]).\n");
  for (const char* bad : {"-1", "x", "2k"}) {
    auto refused = run_program(TPTP_TO_VELKOR_BIN, {"--definitions", bad, path});
    EXPECT_EQ(refused.status, 2) << bad;
    EXPECT_NE(refused.err.find("--definitions needs a number"), std::string::npos);
  }
}

// ---- truth tables ----

// A random propositional formula over p, q, r, s using every connective.
std::string random_formula(std::mt19937& random, int depth) {
  static const char* const kAtoms[] = {"p", "q", "r", "s", "$true", "$false"};
  static const char* const kBinary[] = {"&", "|", "=>", "<=", "<=>", "<~>", "~|", "~&"};
  int pick = static_cast<int>(random() % 12);
  if (depth == 0 || pick < 2) return kAtoms[random() % (pick == 0 ? 6 : 4)];
  if (pick < 4) return "~ " + random_formula(random, depth - 1);
  return "(" + random_formula(random, depth - 1) + " " + kBinary[random() % 8] + " " +
         random_formula(random, depth - 1) + ")";
}

// The truth value of a formula node under `value` (of symbol ids).
bool evaluate(const tptp::Problem& problem, std::uint32_t node,
              const std::function<bool(std::uint32_t)>& value) {
  const tptp::FormulaNode& n = problem.formula_nodes[node];
  auto left = [&] { return evaluate(problem, n.left, value); };
  auto right = [&] { return evaluate(problem, n.right, value); };
  using C = tptp::Connective;
  switch (n.connective) {
    case C::Atom:
      return value(problem.terms[n.left].id);
    case C::True:
      return true;
    case C::False:
      return false;
    case C::Not:
      return !left();
    case C::And:
      return left() && right();
    case C::Or:
      return left() || right();
    case C::Implies:
      return !left() || right();
    case C::Implied:
      return left() || !right();
    case C::Iff:
      return left() == right();
    case C::Xor:
      return left() != right();
    case C::Nor:
      return !(left() || right());
    case C::Nand:
      return !(left() && right());
    default:
      ADD_FAILURE() << "not propositional";
      return false;
  }
}

// Whether the clauses (literals: +-(symbol id + 1)) have a model, by splitting.
bool satisfiable(std::vector<std::vector<int>> clauses) {
  if (clauses.empty()) return true;
  int pick = 0;
  for (const auto& clause : clauses) {
    if (clause.empty()) return false;
    if (clause.size() == 1 || pick == 0) pick = clause[0];
  }
  for (int literal : {pick, -pick}) {
    std::vector<std::vector<int>> rest;
    for (const auto& clause : clauses) {
      if (std::find(clause.begin(), clause.end(), literal) != clause.end()) continue;
      rest.emplace_back();
      for (int l : clause)
        if (l != -literal) rest.back().push_back(l);
    }
    if (satisfiable(std::move(rest))) return true;
  }
  return false;
}

TEST(Fof, ClausesAreSatisfiableExactlyWhenTheFormulasAre) {
  std::mt19937 random(20240607);
  for (int round = 0; round < 1000; ++round) {
    std::string first = random_formula(random, 5), second = random_formula(random, 3);
    // Premises must be satisfiable, the conjectures' negation likewise.
    const char* role = round % 3 == 0 ? "axiom" : "conjecture";
    std::string text =
        std::string("fof(f,") + role + "," + first + ").\nfof(g," + role + "," + second + ").\n";
    std::uint64_t threshold = round % 4 == 0 ? 1000 : round % 4;  // names a lot or nothing
    tptp::Problem problem = read_text(text, threshold);
    // The formulas' symbols (p, q, r, s, $true, $false) come first.
    bool formula = false;
    for (std::uint32_t bits = 0; bits < 64 && !formula; ++bits) {
      auto value = [&](std::uint32_t id) { return (bits >> id & 1) != 0; };
      bool f = evaluate(problem, problem.formulas[0].root, value);
      bool g = evaluate(problem, problem.formulas[1].root, value);
      formula = role[0] == 'a' ? f && g : !(f && g);
    }
    std::vector<std::vector<int>> clauses;
    for (const tptp::Clause& clause : problem.clauses) {
      clauses.emplace_back();
      for (const tptp::Literal& literal : clause.literals) {
        int atom = static_cast<int>(problem.terms[literal.left].id) + 1;
        clauses.back().push_back(literal.positive ? atom : -atom);
      }
    }
    EXPECT_EQ(formula, satisfiable(clauses)) << text << " threshold " << threshold;
  }
}

// ---- size and depth ----

TEST(Fof, DeepAndExplosiveFormulasGiveLinearOutput) {
  const int depth = 10000;
  std::string negations(depth, '~');
  std::string nested, alternating, quantified;
  for (int i = 0; i < depth; ++i) {
    nested += "(p & ";
    alternating += i % 2 ? "(q & " : "(p | ";
    quantified += i % 2 ? "? [Y] : (q(X,Y) & " : "! [X] : (p(X) | ";
  }
  nested += "p" + std::string(depth, ')');
  alternating += "r" + std::string(depth, ')');
  quantified += "r" + std::string(depth, ')');
  std::string wide;
  for (int i = 0; i < 30; ++i)
    wide += (i ? " | (a" : "(a") + std::to_string(i) + " & b" + std::to_string(i) + ")";
  struct Case {
    std::string formula;
    std::size_t max_lines;
  };
  const Case cases[] = {{negations + " p", 1},
                        {nested, depth + 1},
                        {alternating, depth + 2},
                        {quantified, 2 * depth},
                        {wide, 200}};
  for (const Case& c : cases) {
    std::string output = converted("fof(f,axiom," + c.formula + ").\n");
    auto lines = static_cast<std::size_t>(std::count(output.begin(), output.end(), '\n'));
    EXPECT_GE(lines, 1u);
    EXPECT_LE(lines, c.max_lines) << c.formula.substr(0, 40);
  }
  tptp::Problem problem = read_text("fof(f,axiom," + nested + ").\n");
  EXPECT_EQ(tptp::formula_text(problem, 0).size(), nested.size());
}

// ---- first-order soundness with velkor ----

// Converts `path` and runs velkor with `options`; true when it prints a proof.
bool velkor_proves(const std::string& path, const std::vector<std::string>& options) {
  auto converted_problem = tptp::convert({path, std::nullopt, std::nullopt});
  EXPECT_TRUE(converted_problem.ok) << converted_problem.error;
  std::string clauses = testing_support::write_temp_file("fof.v", converted_problem.output);
  std::vector<std::string> args = options;
  args.push_back(clauses);
  auto result = run_program(VELKOR_BIN, args, 60);
  EXPECT_EQ(result.status, 0) << path << result.err;
  return result.out.find("PROOF") != std::string::npos;
}

TEST(Fof, VelkorProvesPelletierTheoremsAfterConversion) {
  // Pelletier 27, 44 and 62 (with definitions), 56 (equality, definitions)
  // and the Dreadbury Mansion puzzle (equality).
  for (const char* name : {"SYN057+1", "SYN068+1", "SYN084+1", "SYN078+1", "PUZ001+1"}) {
    std::string path = std::string(TESTS_DIR) + "/data/tptp-fof/Problems/" + name + ".p";
    EXPECT_TRUE(velkor_proves(path, {"-reg"})) << name;
  }
}

TEST(Fof, VelkorNeverProvesNonTheorems) {
  const char* const problems[] = {
      "fof(a,axiom, ? [X] : p(X)).\nfof(c,conjecture, ! [X] : p(X)).",
      "fof(c,conjecture, (! [X] : ? [Y] : r(X,Y)) => ? [Y] : ! [X] : r(X,Y)).",
      "fof(c,conjecture, ((? [X] : p(X)) & (? [X] : q(X))) => ? [X] : (p(X) & q(X))).",
      "fof(c,conjecture, (! [X] : (p(X) | q(X))) => ((! [X] : p(X)) | (! [X] : q(X)))).",
      "fof(c,conjecture, ! [X,Y] : (f(X) = f(Y) => X = Y)).",
      "fof(a,axiom, ! [X] : (p(X) <=> ~ p(f(X)))).\nfof(c,conjecture, ? [X] : (p(X) & p(f(X)))).",
  };
  for (const char* text : problems) {
    std::string path = testing_support::write_temp_file("nonthm.p", text);
    EXPECT_FALSE(velkor_proves(path, {"-d", "5"})) << text;
    EXPECT_FALSE(velkor_proves(path, {"-reg", "-foldup", "-d", "6"})) << text;
  }
}

}  // namespace
