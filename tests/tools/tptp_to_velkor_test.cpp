// Conversion of TPTP clause normal form into input_clause entries: what is
// kept, renamed, dropped and refused, through the library and through the
// built program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/run_program.hpp"
#include "tptp/convert.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::run_program;

// A fresh directory holding a small TPTP tree.
class Tree {
 public:
  Tree() : root_(testing_support::temp_dir() + "/tree-" + std::to_string(++count_)) {}
  std::string add(const std::string& relative, const std::string& contents) const {
    fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }
  std::string root() const { return root_.string(); }

 private:
  static inline int count_ = 0;
  fs::path root_;
};

struct Flags {
  bool equality_axioms = true;
  bool keep_tautologies = false;
};

tptp::ConvertResult convert_text(const std::string& text, Flags flags = {}) {
  return tptp::convert(
      {"/tmp/t.p", std::nullopt, text, flags.equality_axioms, flags.keep_tautologies});
}

// Tests of other matters leave the equality axioms out, which have tests of
// their own.
constexpr Flags kNoAxioms{.equality_axioms = false};

std::string converted(const std::string& text, Flags flags = {}) {
  auto result = convert_text(text, flags);
  EXPECT_TRUE(result.ok) << result.error;
  return result.output;
}

TEST(TptpToVelkor, KeepsClausesInOrderWithRolesSignsAndEquality) {
  EXPECT_EQ(
      converted("%-- header\n"
                "cnf(c1,axiom, p(X,f(a)) | X != Y ).\n"
                "/* a block\n comment */ cnf(c2, negated_conjecture, ( ~ q(b) | (f(X) = X) )).\n"
                "cnf(c3,hypothesis,~(r)).  % trailing comment\n"
                "cnf(1,definition,~ a = b, inference(res,[status(thm)],[c1,c2]), [x]).\n"
                "cnf(c5,lemma,equal(a)).\n"
                "cnf(c6,plain,~~s | ~ (a != b)).\n",
                kNoAxioms),
      "input_clause(c1,axiom,[++p(X,f(a)),--equal(X,Y)]).\n"
      "input_clause(c2,conjecture,[--q(b),++equal(f(X),X)]).\n"
      "input_clause(c3,hypothesis,[--r]).\n"
      "input_clause(1,axiom,[--equal(a,b)]).\n"
      "input_clause(c5,axiom,[++user_equal(a)]).\n"
      "input_clause(c6,axiom,[++s,++equal(a,b)]).\n");
}

TEST(TptpToVelkor, DropsFalseLiteralsAndAlwaysTrueClauses) {
  auto result = convert_text(
      "cnf(a,axiom, p | $false | ~$true).\n"
      "cnf(b,axiom, p | $true).\n"
      "cnf(c,axiom, ~$false | q).\n"
      "cnf(d,axiom, p(X,f(Y)) | q | ~p(X,f(Y))).\n"
      "cnf(e,axiom, p(X,f(Y)) | ~p(Y,f(X))).\n"  // not complementary: different variables
      "cnf(f,axiom, X = X).\n"                   // reflexivity is a premise velkor needs
      "cnf(g,axiom, a = b | a != c).\n",
      kNoAxioms);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.output,
            "input_clause(a,axiom,[++p]).\n"
            "input_clause(e,axiom,[++p(X,f(Y)),--p(Y,f(X))]).\n"
            "input_clause(f,axiom,[++equal(X,X)]).\n"
            "input_clause(g,axiom,[++equal(a,b),--equal(a,c)]).\n");
  EXPECT_EQ(result.clauses, 4u);
  EXPECT_EQ(result.dropped, 3u);
}

TEST(TptpToVelkor, KeepsComplementaryClausesOnRequestButNeverTrueLiterals) {
  auto kept = convert_text(
      "cnf(a,axiom, p(X) | q | ~p(X)).\n"
      "cnf(b,axiom, p(a) | $true).\n"
      "cnf(c,axiom, ~$false | ~r | r).\n"
      "cnf(d,axiom, ~equal(a,b) | equal(a,b)).\n",
      {.keep_tautologies = true});
  ASSERT_TRUE(kept.ok) << kept.error;
  EXPECT_EQ(kept.output,
            "input_clause(a,axiom,[++p(X),++q,--p(X)]).\n"
            "input_clause(d,axiom,[--user_equal(a,b),++user_equal(a,b)]).\n");
  EXPECT_EQ(kept.dropped, 2u);
}

TEST(TptpToVelkor, AppendsEqualityAxiomsForTheSymbolsWritten) {
  // f/2, p/1 and =: the axioms come after the problem's clauses.
  EXPECT_EQ(converted("cnf(c1,axiom, p(f(X,a)) | f(a,X) != X).\n"
                      "cnf(c2,negated_conjecture, ~p(b)).\n"),
            "input_clause(c1,axiom,[++p(f(X,a)),--equal(f(a,X),X)]).\n"
            "input_clause(c2,conjecture,[--p(b)]).\n"
            "input_clause(eq_reflexivity,axiom,[++equal(X,X)]).\n"
            "input_clause(eq_symmetry,axiom,[--equal(X,Y),++equal(Y,X)]).\n"
            "input_clause(eq_transitivity,axiom,[--equal(X,Y),--equal(Y,Z),++equal(X,Z)]).\n"
            "input_clause(eq_subst_f_1,axiom,[--equal(X,Y),++equal(f(X,A2),f(Y,A2))]).\n"
            "input_clause(eq_subst_f_2,axiom,[--equal(X,Y),++equal(f(A1,X),f(A1,Y))]).\n"
            "input_clause(eq_subst_p_1,axiom,[--equal(X,Y),--p(X),++p(Y)]).\n");

  // Symbols under their written names, in order of first appearance (outer
  // before inner, left before right), one set of axioms per arity a name is
  // used with; TPTP's predicate equal is an ordinary predicate and gets its
  // axioms like any other.
  auto result = convert_text(
      "cnf(c1,axiom, 'Q'(g(h(a)),b) | g(X) = 'H'(X,Y)).\n"
      "cnf(c2,axiom, equal(g(a,b)) | r).\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.output,
            "input_clause(c1,axiom,[++q_Q(g(h(a)),b),++equal(g(X),q_H(X,Y))]).\n"
            "input_clause(c2,axiom,[++user_equal(g(a,b)),++r]).\n"
            "input_clause(eq_reflexivity,axiom,[++equal(X,X)]).\n"
            "input_clause(eq_symmetry,axiom,[--equal(X,Y),++equal(Y,X)]).\n"
            "input_clause(eq_transitivity,axiom,[--equal(X,Y),--equal(Y,Z),++equal(X,Z)]).\n"
            "input_clause(eq_subst_g_1,axiom,[--equal(X,Y),++equal(g(X),g(Y))]).\n"
            "input_clause(eq_subst_h_1,axiom,[--equal(X,Y),++equal(h(X),h(Y))]).\n"
            "input_clause(eq_subst_q_H_1,axiom,[--equal(X,Y),++equal(q_H(X,A2),q_H(Y,A2))]).\n"
            "input_clause(eq_subst_q_H_2,axiom,[--equal(X,Y),++equal(q_H(A1,X),q_H(A1,Y))]).\n"
            "input_clause(eq_subst_g_1_2,axiom,[--equal(X,Y),++equal(g(X,A2),g(Y,A2))]).\n"
            "input_clause(eq_subst_g_2,axiom,[--equal(X,Y),++equal(g(A1,X),g(A1,Y))]).\n"
            "input_clause(eq_subst_q_Q_1,axiom,[--equal(X,Y),--q_Q(X,A2),++q_Q(Y,A2)]).\n"
            "input_clause(eq_subst_q_Q_2,axiom,[--equal(X,Y),--q_Q(A1,X),++q_Q(A1,Y)]).\n"
            "input_clause(eq_subst_user_equal_1,axiom,"
            "[--equal(X,Y),--user_equal(X),++user_equal(Y)]).\n");
  EXPECT_EQ(result.clauses, 2u);
  EXPECT_EQ(result.equality_axioms, 12u);
}

TEST(TptpToVelkor, AddsNoEqualityAxiomsWithoutEqualityOrWhenAskedNotTo) {
  // TPTP's equal is no equality; nor is an equation in a clause left out.
  const std::string no_equality =
      "cnf(a,axiom, equal(f(X),X)).\n"
      "cnf(b,axiom, g(X) = X | $true).\n"
      "cnf(c,axiom, g(X) = a | g(X) != a).\n";
  auto plain = convert_text(no_equality);
  ASSERT_TRUE(plain.ok) << plain.error;
  EXPECT_EQ(plain.output, "input_clause(a,axiom,[++user_equal(f(X),X)]).\n");
  EXPECT_EQ(plain.equality_axioms, 0u);
  // Kept, the complementary clause brings equality and its axioms along.
  auto kept = convert_text(no_equality, {.keep_tautologies = true});
  EXPECT_EQ(kept.clauses, 2u);
  EXPECT_EQ(kept.equality_axioms, 3u + 1 + 1 + 2);  // f/1, g/1, user_equal/2

  const std::string equality = "cnf(a,axiom, f(X) = g(X,X) | p(X)).\n";
  auto without = convert_text(equality, kNoAxioms);
  ASSERT_TRUE(without.ok) << without.error;
  EXPECT_EQ(without.output, "input_clause(a,axiom,[++equal(f(X),g(X,X)),++p(X)]).\n");
  EXPECT_EQ(without.equality_axioms, 0u);
}

TEST(TptpToVelkor, GivesEqualityAxiomsNamesNoClauseOfTheProblemHas) {
  // Names of clauses left out count too, and so do renamed ones.
  EXPECT_EQ(converted("cnf(eq_reflexivity,axiom, a = b).\n"
                      "cnf(eq_subst_f_1,axiom, p | ~p).\n"
                      "cnf('eq_symmetry',axiom, p(f(a))).\n"
                      "cnf(eq_transitivity_2,axiom, $true).\n"
                      "cnf(eq_reflexivity_2,axiom, q).\n"
                      "cnf('eq transitivity',axiom, q).\n"),
            "input_clause(eq_reflexivity,axiom,[++equal(a,b)]).\n"
            "input_clause(eq_symmetry,axiom,[++p(f(a))]).\n"
            "input_clause(eq_reflexivity_2,axiom,[++q]).\n"
            "input_clause(c_eq_transitivity,axiom,[++q]).\n"
            "input_clause(eq_reflexivity_3,axiom,[++equal(X,X)]).\n"
            "input_clause(eq_symmetry_2,axiom,[--equal(X,Y),++equal(Y,X)]).\n"
            "input_clause(eq_transitivity,axiom,[--equal(X,Y),--equal(Y,Z),++equal(X,Z)]).\n"
            "input_clause(eq_subst_f_1_2,axiom,[--equal(X,Y),++equal(f(X),f(Y))]).\n"
            "input_clause(eq_subst_p_1,axiom,[--equal(X,Y),--p(X),++p(Y)]).\n");
}

TEST(TptpToVelkor, RefusesTheEmptyClauseWithItsLine) {
  for (const char* clause : {"$false", "~$true | $false", "($false)"}) {
    auto result = convert_text(std::string("cnf(a,axiom,p).\n\ncnf(empty,axiom,\n  ") + clause +
                               ").\ncnf(b,axiom,q).\n");
    EXPECT_FALSE(result.ok) << clause;
    EXPECT_TRUE(result.output.empty());
    EXPECT_NE(result.error.find("/tmp/t.p:3: clause empty is empty"), std::string::npos)
        << result.error;
  }
  // An always-true clause is no empty clause.
  EXPECT_EQ(converted("cnf(a,axiom,$false | $true)."), "");
}

TEST(TptpToVelkor, RewritesUnreadableNamesWithoutCollisions) {
  EXPECT_EQ(
      converted("cnf(c1,axiom, 'Foo'(a) | p('a b', 'a-b', 'abc', abc, q_a_b) | q_Foo).\n"
                "cnf('Clause 1',axiom, $sum(1, -1, 1.5, \"hi there\", 'Foo') = sys_sum).\n"
                "cnf(input_clause,axiom, equal(input_clause(equal(a,b)), X, _Y, _Y, V_Y)).\n"
                "cnf('c1',axiom, ~'Foo'('a b')).\n"
                "cnf('Clause 1',axiom, p(_, _)).\n",
                kNoAxioms),
      "input_clause(c1,axiom,[++q_Foo_2(a),++p(q_a_b_2,q_a_b_3,abc,abc,q_a_b),++q_Foo]).\n"
      "input_clause(c_Clause_1,axiom,[++equal(sys_sum_2(1,num__1,num_1_5,str_hi_there,q_Foo_2),"
      "sys_sum)]).\n"
      "input_clause(user_input_clause,axiom,[++user_equal(user_input_clause(equal(a,b)),X,V_Y_2,"
      "V_Y_2,V_Y)]).\n"
      "input_clause(c1,axiom,[--q_Foo_2(q_a_b_2)]).\n"
      "input_clause(c_Clause_1,axiom,[++p(V_,V_)]).\n"
      // Numbers are distinct objects, as "..." objects are.
      "input_clause(distinct_1_num__1,axiom,[--equal(1,num__1)]).\n"
      "input_clause(distinct_1_num_1_5,axiom,[--equal(1,num_1_5)]).\n"
      "input_clause(distinct_1_str_hi_there,axiom,[--equal(1,str_hi_there)]).\n"
      "input_clause(distinct_num__1_num_1_5,axiom,[--equal(num__1,num_1_5)]).\n"
      "input_clause(distinct_num__1_str_hi_there,axiom,[--equal(num__1,str_hi_there)]).\n"
      "input_clause(distinct_num_1_5_str_hi_there,axiom,[--equal(num_1_5,str_hi_there)]).\n");
  // An escaped quote or backslash is one character of the name.
  EXPECT_EQ(converted("cnf(c1,axiom, p('a\\'b', 'a\\\\b', 'ab', 'a b')).\n", kNoAxioms),
            "input_clause(c1,axiom,[++p(q_a_b,q_a_b_2,ab,q_a_b_3)]).\n");
}

TEST(TptpToVelkor, ReportsWhatItCannotConvertWithTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"cnf(a,axiom,p).\n\nthf(b,axiom,![X:$o]: X).\n", "/tmp/t.p:3: 'thf' formula"},
      {"\ntff(t,type,a:$i).\n", "/tmp/t.p:2: 'tff' formula"},
      {"cnf(a,axiom,p(a).\n", ":1: expected ')' or '|' after the clause, found '.'"},
      {"cnf(a,axiom,\n p & q).\n", ":2: expected ')' or '|'"},
      {"cnf(a,axiom,p).\ncnf(b,axiom,\n\n~(p | q)).", ":4: a negated disjunction"},
      {"cnf(a,axiom,X | p).", ":1: a variable cannot stand as a literal"},
      {"cnf(a,axiom,p).\n/* never\nclosed", ":2: comment opened with /*"},
      {"cnf(a,axiom,p('x\n)).", ":1: quoted item"},
      {"cnf(a,axiom,\n\tp # q).", ":2: expected ')' or '|'"},
      {"cnf(a,axiom,\n p\x01).", ":2: unexpected character byte 0x01"},
      {"cnf(a,axiom,p)", ":1: expected '.'"},
      {"cnf(a,axiom,[p]).", ":1: expected a term"},
      {"input_clause(a,axiom,[++p]).", ":1: expected cnf(...), fof(...) or include(...)"},
  };
  for (const Case& c : cases) {
    auto result = convert_text(c.text);
    EXPECT_FALSE(result.ok) << c.text;
    EXPECT_NE(result.error.find(c.expected), std::string::npos) << c.text << "\n" << result.error;
  }
}

TEST(TptpToVelkor, ResolvesIncludesAgainstTheRootOrTheProblemsAncestors) {
  Tree tree;
  tree.add("Axioms/A.ax", "cnf(a1,axiom,p(a)).\ncnf(a2,axiom,p(b)).\ninclude('Axioms/B.ax').\n");
  tree.add("Axioms/B.ax", "cnf(b1,axiom,q('x y')).\n");
  std::string problem =
      tree.add("Problems/SYN/x.p",
               "cnf(c0,axiom,r).\ninclude('Axioms/A.ax').\ncnf(c9,negated_conjecture,~r).\n");
  const std::string whole =
      "input_clause(c0,axiom,[++r]).\ninput_clause(a1,axiom,[++p(a)]).\n"
      "input_clause(a2,axiom,[++p(b)]).\ninput_clause(b1,axiom,[++q(q_x_y)]).\n"
      "input_clause(c9,conjecture,[--r]).\n";
  auto found = tptp::convert({problem, std::nullopt, std::nullopt});
  ASSERT_TRUE(found.ok) << found.error;
  EXPECT_EQ(found.output, whole);
  auto rooted = tptp::convert({problem, tree.root(), std::nullopt});
  EXPECT_EQ(rooted.output, whole);

  // A selection keeps only the named clauses, nested includes included.
  auto selected =
      tptp::convert({problem, tree.root(), "include('Axioms/A.ax',[b1,'a2']).\ncnf(c,axiom,s)."});
  ASSERT_TRUE(selected.ok) << selected.error;
  EXPECT_EQ(selected.output,
            "input_clause(a2,axiom,[++p(b)]).\ninput_clause(b1,axiom,[++q(q_x_y)]).\n"
            "input_clause(c,axiom,[++s]).\n");

  auto error_of = [&](const std::string& text, std::optional<std::string> root) {
    auto result = tptp::convert({problem, root, text});
    EXPECT_FALSE(result.ok) << text;
    return result.error;
  };
  EXPECT_NE(error_of("cnf(c,axiom,s).\ninclude('Axioms/A.ax',[a1,zz]).", tree.root())
                .find("x.p:2: 'Axioms/A.ax' has no clause named zz"),
            std::string::npos);
  EXPECT_NE(error_of("\ninclude('Axioms/None.ax').", std::nullopt).find("x.p:2: included file"),
            std::string::npos);
  EXPECT_NE(error_of("include('Axioms/B.ax').", tree.root() + "/Problems")
                .find("x.p:1: included file 'Axioms/B.ax' is not in the TPTP root"),
            std::string::npos);
  // Errors inside an included file name that file.
  tree.add("Axioms/Bad.ax", "cnf(ok,axiom,p).\ntff(f,axiom,p).\n");
  EXPECT_NE(error_of("include('Axioms/Bad.ax').", std::nullopt).find("Bad.ax:2: 'tff' formula"),
            std::string::npos);
  tree.add("Axioms/Loop.ax", "cnf(l,axiom,p).\ninclude('Axioms/Loop.ax').\n");
  EXPECT_NE(error_of("include('Axioms/Loop.ax').", std::nullopt).find("Loop.ax:2:"),
            std::string::npos);
}

TEST(TptpToVelkorProgram, WritesClausesOnlyOnSuccessAndExplainsFailures) {
  Tree tree;
  tree.add("Axioms/A.ax", "cnf(a1,axiom,p).\n");
  std::string problem = tree.add("Problems/x.p", "include('Axioms/A.ax').\ncnf(c,axiom,~p).\n");
  const std::string expected = "input_clause(a1,axiom,[++p]).\ninput_clause(c,axiom,[--p]).\n";

  auto plain = run_program(TPTP_TO_VELKOR_BIN, {problem});
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, expected);
  EXPECT_EQ(plain.err, "");

  // The TPTP variable names the root when --root does not.
  setenv("TPTP", (tree.root() + "/nowhere").c_str(), 1);
  auto from_env = run_program(TPTP_TO_VELKOR_BIN, {problem});
  auto overridden = run_program(TPTP_TO_VELKOR_BIN, {"--root", tree.root(), problem});
  std::string output = tree.root() + "/out.txt";
  auto to_file = run_program(TPTP_TO_VELKOR_BIN, {"-o", output, "--root=" + tree.root(), problem});
  unsetenv("TPTP");
  EXPECT_EQ(from_env.status, 1);
  EXPECT_NE(from_env.err.find("x.p:1: included file"), std::string::npos) << from_env.err;
  EXPECT_EQ(overridden.out, expected);
  EXPECT_EQ(to_file.status, 0) << to_file.err;
  EXPECT_EQ(read_file(output), expected);

  std::string broken = tree.add("broken.p", "cnf(a,axiom,p).\ncnf(b,axiom,$false).\n");
  auto refused = run_program(TPTP_TO_VELKOR_BIN, {broken});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("broken.p:2:"), std::string::npos) << refused.err;

  std::string with_equality = tree.add("eq.p", "cnf(a,axiom,a = b).\ncnf(t,axiom,p | ~p).\n");
  auto with_axioms = run_program(TPTP_TO_VELKOR_BIN, {with_equality});
  EXPECT_EQ(with_axioms.status, 0);
  EXPECT_EQ(with_axioms.out,
            "input_clause(a,axiom,[++equal(a,b)]).\n"
            "input_clause(eq_reflexivity,axiom,[++equal(X,X)]).\n"
            "input_clause(eq_symmetry,axiom,[--equal(X,Y),++equal(Y,X)]).\n"
            "input_clause(eq_transitivity,axiom,[--equal(X,Y),--equal(Y,Z),++equal(X,Z)]).\n");
  auto bare = run_program(TPTP_TO_VELKOR_BIN,
                          {"--keep-tautologies", "--no-equality-axioms", with_equality});
  EXPECT_EQ(bare.status, 0);
  EXPECT_EQ(bare.out, "input_clause(a,axiom,[++equal(a,b)]).\ninput_clause(t,axiom,[++p,--p]).\n");
  auto help = run_program(TPTP_TO_VELKOR_BIN, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--no-equality-axioms"), std::string::npos);
  EXPECT_NE(help.out.find("--keep-tautologies"), std::string::npos);

  for (auto args : std::vector<std::vector<std::string>>{
           {}, {"--bogus", problem}, {problem, problem}, {"--root"}, {"--no-equality-axioms"}}) {
    auto usage = run_program(TPTP_TO_VELKOR_BIN, args);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("usage:"), std::string::npos);
  }
  auto missing = run_program(TPTP_TO_VELKOR_BIN, {tree.root() + "/none.p"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
  EXPECT_EQ(run_program(TPTP_TO_VELKOR_BIN, {tree.root()}).status, 1);  // a directory
}

TEST(TptpToVelkorProgram, ConvertsVeryDeepNestingWithoutOverflow) {
  const int depth = 100000;
  std::string term, parens, negations;
  for (int i = 0; i < depth; ++i) term += "f(";
  term += "X";
  term.append(depth, ')');
  parens.append(depth, '(');
  parens += "q";
  parens.append(depth, ')');
  negations.append(depth + 1, '~');
  std::string problem = testing_support::write_temp_file(
      "deep.p", "cnf(a,axiom,p(" + term + ")).\ncnf(b,axiom," + parens + ").\ncnf(c,axiom," +
                    negations + "q).\n");
  auto run = run_program(TPTP_TO_VELKOR_BIN, {problem});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "input_clause(a,axiom,[++p(" + term + ")]).\ninput_clause(b,axiom,[++q]).\n" +
                         "input_clause(c,axiom,[--q]).\n");
}

}  // namespace
