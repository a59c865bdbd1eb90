// The problem reader: numbering, per-clause records, counters, syntax errors,
// and the six-line report.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

std::vector<std::string> symbol_names(const Clause* c) {
  std::vector<std::string> names;
  for (std::int64_t i = 0; i < c->nr_symbols; ++i) {
    const Symbol* s = c->symbols[i];
    names.push_back(std::string(s->name->text) + "/" + std::to_string(s->arity) +
                    (s->is_predicate ? "p" : "f"));
  }
  return names;
}

std::vector<std::string> clause_name(const Clause* c) {
  std::vector<std::string> names;
  for (std::int64_t i = 0; i < c->name_length; ++i) names.emplace_back(c->name[i]->text);
  return names;
}

// Parses `text` with a prover of its own; returns the exit status (0 when
// parsing ended normally) and what went to the error and standard output.
struct Parsed {
  int status;
  std::string err;
  std::string out;
};

Parsed parse_alone(const std::string& text) {
  Prover q;
  char *err_buffer = nullptr, *out_buffer = nullptr;
  std::size_t err_length = 0, out_length = 0;
  q.err = open_memstream(&err_buffer, &err_length);
  q.out = open_memstream(&out_buffer, &out_length);
  int status = 0;
  try {
    q.parse_problem(text);
  } catch (const ProverExit& e) {
    status = e.status;
  }
  std::fclose(q.err);
  std::fclose(q.out);
  Parsed result{status, std::string(err_buffer, err_length), std::string(out_buffer, out_length)};
  std::free(err_buffer);
  std::free(out_buffer);
  return result;
}

using ReaderTest = ProverTest;

TEST_F(ReaderTest, NumbersSymbolsInPostOrderAcrossClauses) {
  load(
      "input_clause(c1,axiom,[++p(f(X),a),--q(g(b))]).\n"
      "input_clause(c2,axiom,[++r(a),++p(h(a),X)]).");
  ASSERT_EQ(p->functor_list.size(), 5u);
  std::vector<std::string> functors;
  for (const Functor* f : p->functor_list)
    functors.push_back(std::string(f->name->text) + std::to_string(f->number));
  EXPECT_EQ(functors, (std::vector<std::string>{"f1", "a2", "b3", "g4", "h5"}));
  std::vector<std::string> predicates;
  for (const Predicate* q : p->predicate_list)
    predicates.push_back(std::string(q->name->text) + std::to_string(q->number));
  EXPECT_EQ(predicates, (std::vector<std::string>{"p1", "q2", "r3"}));
  // The literals share the records of their predicate.
  EXPECT_EQ(literal(1, 0)->predicate, literal(2, 1)->predicate);
  // Newest first; `a` and `p/2` occur twice but are listed once.
  EXPECT_EQ(symbol_names(clause(1)),
            (std::vector<std::string>{"q/1p", "g/1f", "b/0f", "p/2p", "a/0f", "f/1f"}));
  EXPECT_EQ(symbol_names(clause(2)), (std::vector<std::string>{"p/2p", "h/1f", "r/1p", "a/0f"}));
}

TEST_F(ReaderTest, SymbolListKeepsOneRecordPerNameAndArityOfEitherKind) {
  load(
      "input_clause(c1,axiom,[++p(p(a)),--p,++q(p)]).\n"
      "input_clause(c2,axiom,[++p(b)]).");
  // Functor p/1 is met before predicate p/1, so the predicate is not added;
  // predicate p/0 and functor p/0 are another pair of the kind.
  EXPECT_EQ(symbol_names(clause(1)), (std::vector<std::string>{"q/1p", "p/0p", "p/1f", "a/0f"}));
  EXPECT_EQ(symbol_names(clause(2)), (std::vector<std::string>{"p/1p", "b/0f"}));
  EXPECT_EQ(p->nr_predicates, 3);  // p/1, p/0, q/1
  EXPECT_EQ(p->nr_functors, 4);    // a/0, p/1, p/0, b/0
  EXPECT_EQ(p->nr_propositionals, 1);
  EXPECT_EQ(p->nr_constants, 3);  // a, p, b
  EXPECT_NE(literal(1, 0)->predicate, literal(1, 1)->predicate);
}

TEST_F(ReaderTest, VariablesAreSharedWithinAClauseOnlyAndListedNewestFirst) {
  load(
      "input_clause(c1,axiom,[++p(X,Y,X)]).\n"
      "input_clause(c2,axiom,[++p(X,f(X),Z),--q(Z)]).");
  const Clause* c1 = clause(1);
  ASSERT_EQ(c1->variable_count, 2);
  Term** args = c1->literals[0].args;
  EXPECT_EQ(args[0], args[2]);
  EXPECT_EQ(c1->variables[0], args[1]);  // Y
  EXPECT_EQ(c1->variables[1], args[0]);  // X
  EXPECT_TRUE(is_variable(args[0]));
  EXPECT_EQ(args[0]->binding, nullptr);
  EXPECT_NE(literal(2, 0)->args[0], args[0]);  // X of clause 2 is another cell
  EXPECT_EQ(clause(2)->variable_count, 2);
  EXPECT_EQ(p->nr_variables, 4);
  EXPECT_EQ(p->nr_singleton_variables, 1);  // Y; X and Z of clause 2 occur 3 and 2 times
}

TEST_F(ReaderTest, ClauseRecordsCountLiteralsTermSizeAndNumbers) {
  load(
      "input_clause(c1,axiom,[++p(X,f(X)),--q(a)]).\n"
      "input_clause(c2,axiom,[++r,--s,++t(g(h(b,Y)))]).");
  const Clause* c1 = clause(1);
  EXPECT_EQ(c1->length, 2);
  EXPECT_EQ(c1->number, 1);
  EXPECT_EQ(c1->term_size, 3);  // 1 + 2 + 1 minus one variable
  EXPECT_EQ(literal(1, 1)->number, 2);
  EXPECT_EQ(literal(1, 1)->clause, c1);
  const Clause* c2 = clause(2);
  EXPECT_EQ(c2->number, 2);
  EXPECT_EQ(c2->term_size, 3);  // g(h(b,Y)) is 4, minus one variable
  EXPECT_EQ(literal(2, 2)->number, 3);
  EXPECT_EQ(c2->nr_copies, 1);
  EXPECT_EQ(c2->free_copies, 0);
  EXPECT_EQ(p->max_clause_size, 3);
  EXPECT_EQ(p->nr_non_horn, 1);
  EXPECT_EQ(p->nr_units, 0);
}

TEST_F(ReaderTest, ClauseNamesTypeWordsAndLayout) {
  load(
      "% leading comment\n"
      "input_clause(f(g,h),axiom,[++p]).% trailing comment\n"
      "%comment\n"
      "input_clause((c3),lemma,[--p]).\n"
      "input_clause(C4,hypothesis,[++p(((a)))]).\n"
      "input_clause(c5,conjecture,[--p(12)]).\n"
      "input_clause(c6,theorem,[--p(input_clause2)]).\n"
      "input_clause(c7,equal,[--q]).");
  ASSERT_EQ(p->nr_clauses, 6);
  EXPECT_EQ(clause_name(clause(1)), (std::vector<std::string>{"f", "g", "h"}));
  EXPECT_EQ(clause_name(clause(2)), (std::vector<std::string>{"c3"}));
  EXPECT_EQ(clause_name(clause(3)), (std::vector<std::string>{"C4"}));
  EXPECT_EQ(clause(3)->variable_count, 0);  // a capitalised clause name is no variable
  std::vector<ClauseType> types;
  for (const Clause* c : p->formula_clauses) types.push_back(c->type);
  EXPECT_EQ(types, (std::vector<ClauseType>{ClauseType::kAxiom, ClauseType::kLemma,
                                            ClauseType::kHypothesis, ClauseType::kConjecture,
                                            ClauseType::kNone, ClauseType::kNone}));
  EXPECT_EQ(p->nr_axioms, 1);
  EXPECT_EQ(p->nr_lemmas, 1);
  EXPECT_EQ(p->nr_hypotheses, 1);
  EXPECT_EQ(p->nr_conjectures, 1);
  // Parentheses around a term are transparent; numbers and longer words are symbols.
  EXPECT_EQ(show(literal(3, 0)), "++p(a)");
  EXPECT_EQ(show(literal(4, 0)), "--p(12)");
  EXPECT_EQ(show(literal(5, 0)), "--p(input_clause2)");
  EXPECT_EQ(p->nr_constants, 3);
}

TEST_F(ReaderTest, CountsOnlyEqualAtomsWithArguments) {
  load(
      "input_clause(c1,axiom,[--equal(X,Y),++equal(a,a)]).\n"
      "input_clause(c2,axiom,[++equal,--equals(a,b),++equal(a,b,c)]).");
  EXPECT_EQ(p->nr_eq_literals, 3);
  EXPECT_EQ(literal(1, 0)->predicate->name, p->name_equal);
  EXPECT_EQ(literal(2, 0)->predicate->name, p->name_equal);
  EXPECT_NE(literal(2, 1)->predicate->name, p->name_equal);
  EXPECT_EQ(show(literal(1, 0)), "--equal(X,Y)");
  EXPECT_EQ(p->nr_predicates, 4);  // EQUAL/2, EQUAL/0, equals/2, EQUAL/3
  EXPECT_EQ(p->nr_propositionals, 1);
}

TEST(ReaderSyntax, ReportsTheOffendingTokenAndExits255) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"input_clause(c1,axiom,[++P(x)]).", "VARIABLE"},
      {"input_clause(c1,axiom,[]).", "CLOSEBRACKET"},
      {"input_clause(c1,axiom,[++p]).\r\n", "\r"},
      {"input_clause(c1,Axiom,[++p]).", "VARIABLE"},
      {"input_clause(c1,axiom,[+p]).", "+"},
      {"input_clause(c1,axiom,[p]).", "SYMBOL"},
      {"input_clause(c1,axiom,[++p(_x)]).", "_"},
      {"input_clause(c1,axiom,[++p(a)", "*EOI*"},
      {"input_clause(c1,axiom,[++p]).\nfoo", "SYMBOL"},
      {"input_clause(c1,axiom,[++p]) .x", "SYMBOL"},
      {"input_clause(c1,axiom,[++p]),", "COLON"},
      {"input_clause(c1,axiom,[++p(a,)]).", "CLOSEPAR"},
      {"input_clause(f(),axiom,[++p]).", "CLOSEPAR"},
      {"input_clause(c1,input_clause,[++p]).", "INPUT_CLAUSE"},
      {"input_clause(c1,axiom,[++p(a)],x).", "COLON"},
  };
  for (const auto& [text, token] : cases) {
    SCOPED_TRACE(text);
    Parsed r = parse_alone(text);
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.err.find("parse error (unexpected token `" + token + "')"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(parse_alone("").status, 0);
  EXPECT_EQ(parse_alone("% only a comment").status, 0);
  EXPECT_EQ(parse_alone(" input_clause ( c1 , axiom , [ ++ p ( a ) ] ) . % x").status, 0);
}

using StatisticsTest = ProverTest;

TEST_F(StatisticsTest, PrintsTheSixLinesOfAOneClauseProblem) {
  load("input_clause(c1,axiom,[++p(X,Y),--q(X)]).");
  output();
  p->display_statistics();
  EXPECT_EQ(output(),
            "Syntax:\tNumber of clauses:\t1 ( 0 non-Horn; 0 unit)\n"
            "\tNumber of literals:\t2 ( 0 equality)\n"
            "\tMaximal clause size:\t2\n"
            "\tNumber of predicates:\t2 ( 0 propositional; 1-2 arity)\n"
            "\tNumber of functors:\t0 ( 0 constant; --- arity)\n"
            "\tNumber of variables:\t2 ( 1 singleton)\n");
}

TEST_F(StatisticsTest, EmptyProblemShowsDashesForBothArityRanges) {
  load("% nothing but a comment\n");
  EXPECT_TRUE(p->formula_clauses.empty());
  p->display_statistics();
  EXPECT_EQ(output(),
            "Syntax:\tNumber of clauses:\t0 ( 0 non-Horn; 0 unit)\n"
            "\tNumber of literals:\t0 ( 0 equality)\n"
            "\tMaximal clause size:\t0\n"
            "\tNumber of predicates:\t0 ( 0 propositional; --- arity)\n"
            "\tNumber of functors:\t0 ( 0 constant; --- arity)\n"
            "\tNumber of variables:\t0 ( 0 singleton)\n");
}

TEST_F(StatisticsTest, CountsNonHornUnitsEqualityAndArityRanges) {
  load(
      "input_clause(c1,axiom,[++p,++q]).\n"
      "input_clause(c2,conjecture,[--p]).\n"
      "input_clause(c3,axiom,[++equal(f(a,b),c)]).\n"
      "input_clause(c4,axiom,[--r(g(X),Y,Z),++q,++p]).");
  p->display_statistics();
  EXPECT_EQ(output(),
            "Syntax:\tNumber of clauses:\t4 ( 2 non-Horn; 2 unit)\n"
            "\tNumber of literals:\t7 ( 1 equality)\n"
            "\tMaximal clause size:\t3\n"
            "\tNumber of predicates:\t4 ( 2 propositional; 0-3 arity)\n"
            "\tNumber of functors:\t5 ( 3 constant; 0-2 arity)\n"
            "\tNumber of variables:\t3 ( 3 singleton)\n");
}

}  // namespace
}  // namespace velkor::testing
