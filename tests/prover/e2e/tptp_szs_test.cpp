// velkor on TPTP problems as users run it: direct TPTP input, the SZS status
// line for every way a run ends, the time limit and the --auto schedule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

const std::string kData = std::string(TEST_DATA_DIR) + "/tptp/Problems/";

RunResult velkor(std::vector<std::string> args) {
  return run_program(VELKOR_BIN, args);
}

std::string last_line(const std::string& text) {
  std::size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  std::size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

// The first line of `text` that starts with `prefix`.
std::string last_line_with(const std::string& text, const std::string& prefix) {
  const std::size_t at = text.find("\n" + prefix);
  if (at == std::string::npos) return "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

// velkor with `options` on `problem` written to status.p, 10 s of CPU at most.
RunResult velkor_on(std::vector<std::string> options, const std::string& problem) {
  options.insert(options.begin(), {"--time-limit", "10"});
  options.push_back(write_temp_file("status.p", problem));
  return velkor(options);
}

// Reading TPTP directly prints what reading the converted clauses prints,
// from the report to the proof, and then the status line.
TEST(TptpInput, SameRunAsTheConvertedClausesThenTheStatus) {
  const std::string problem = kData + "SYN069-1.p";
  RunResult converted = run_program(TPTP_TO_VELKOR_BIN, {problem});
  ASSERT_EQ(converted.status, 0);
  std::string v = write_temp_file("SYN069-1.v", converted.out);
  RunResult through_file = velkor({"-reg", v});
  RunResult direct = velkor({"-reg", problem});
  ASSERT_EQ(direct.status, 0) << direct.err;
  auto after_first_line = [](const std::string& s) { return s.substr(s.find('\n')); };
  EXPECT_EQ(after_first_line(direct.out),
            after_first_line(through_file.out) + "% SZS status Unsatisfiable for SYN069-1\n");
  EXPECT_EQ(direct.out.substr(0, direct.out.find('\n')), problem + ": Trying to parse");
}

// Numbers stay numbers in a TSTP proof of an input_clause problem: 10 and
// '10' are different symbols to the tools that read it.
TEST(TptpInput, NumbersKeepTheirSpellingInTstpProofs) {
  std::string v = write_temp_file(
      "numbers.v",
      "input_clause(c1,axiom,[++p(10,f(207))]).\ninput_clause(c2,conjecture,[--p(X,Y)]).\n");
  RunResult run = velkor({"--szs", "-proof", v});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("p(10,f(207))"), std::string::npos) << run.out;
}

struct StatusCase {
  std::string text;  // the problem (TPTP unless it starts with input_clause)
  std::vector<std::string> options;
  std::string status;  // the SZS value
  int exit_status;
  std::string on_stderr;  // a part of the error message, if any
};

TEST(TptpInput, EveryEndingHasItsStatus) {
  const std::string unsat =
      "cnf(a,axiom,p(X) | q).\ncnf(b,axiom,~q).\ncnf(c,negated_conjecture,~p(a)).\n";
  const std::string sat = "cnf(a,axiom,p(X) | q).\ncnf(c,negated_conjecture,~p(a)).\n";
  const std::string endless = "cnf(a,axiom,p(X) | ~p(f(X))).\ncnf(c,negated_conjecture,~p(a)).\n";
  const std::vector<StatusCase> cases = {
      {unsat, {}, "Unsatisfiable", 0, ""},
      {sat, {}, "Satisfiable", 0, ""},
      // Searches that are not complete never claim satisfiability.
      {sat, {"--restricted-backtracking"}, "GaveUp", 0, ""},
      {sat, {"--conjecture-start"}, "GaveUp", 0, ""},
      {sat, {"-mate"}, "GaveUp", 0, ""},
      {endless, {"-d", "3"}, "GaveUp", 0, ""},
      {endless, {"--time-limit", "0.3"}, "Timeout", 2, ""},
      {"cnf(a,axiom,p(X).\n", {}, "SyntaxError", 255, ":1: expected"},
      {"include('Axioms/Missing.ax').\n", {}, "InputError", 1, ":1: included file"},
      {"tff(a,type,p:$o).\n", {}, "Inappropriate", 1, ":1: 'tff'"},
      {unsat, {"-nosuchoption"}, "Error", 1, ""},
      {unsat, {"--time-limit", "soon"}, "Error", 1, ""},
      // Distinct objects of different texts are unequal; a proof that needs
      // no clause of the conjecture shows the axioms contradictory.
      {"fof(c,conjecture,\"a\" != \"b\").\n", {}, "Theorem", 0, ""},
      {"fof(a,axiom,p).\nfof(b,axiom,~p).\nfof(c,conjecture,q).\n",
       {"--auto"},
       "ContradictoryAxioms",
       0,
       ""},
      // The empty clause refutes a problem by itself.
      {"cnf(a,axiom,p).\ncnf(e,negated_conjecture,$false).\n", {}, "Unsatisfiable", 0, ""},
      // Input in velkor's own syntax gets the line when asked for it.
      {"input_clause(a,conjecture,[--p]).\ninput_clause(b,axiom,[++p]).\n",
       {"--szs"},
       "Unsatisfiable",
       0,
       ""},
  };
  for (const StatusCase& c : cases) {
    std::string name = c.text.starts_with("input_clause") ? "own.v" : "status.p";
    std::string path = write_temp_file(name, c.text);
    std::vector<std::string> args = c.options;
    args.push_back(path);
    RunResult run = velkor(args);
    SCOPED_TRACE(c.text + " with " + std::to_string(c.options.size()) + " options\n" + run.out);
    EXPECT_EQ(last_line(run.out),
              "% SZS status " + c.status + " for " + (name == "status.p" ? "status" : name));
    EXPECT_EQ(run.status, c.exit_status);
    if (!c.on_stderr.empty()) {
      EXPECT_NE(run.err.find(path + c.on_stderr), std::string::npos) << run.err;
    }
  }
  // Without --szs an input_clause file shows no status line.
  RunResult own = velkor({write_temp_file("own.v", "input_clause(a,conjecture,[--p]).\n")});
  EXPECT_EQ(own.out.find("SZS"), std::string::npos);
}

// Every engine reads one problem in one theory: distinct objects and
// numbers are unequal on the grounding, model and modification paths as in
// the tableau, and what one engine derives never shows up in another's
// answer.  (Each line was a wrong answer, a crash or a MemoryOut once.)
TEST(TptpInput, EveryEngineHonoursTheTheory) {
  const std::string two_objects =
      "fof(ax,axiom,p(\"a\") & p(\"b\")).\n"
      "fof(c,conjecture,? [X,Y] : (p(X) & p(Y) & X != Y)).\n";
  const std::string crash =
      "cnf(c1,axiom,Y = \"y\" | s(X)).\ncnf(c2,axiom,q(X,a) | q(Y,X)).\n"
      "cnf(c3,axiom,s(\"x\")).\ncnf(c4,axiom,r | s(f(a))).\ncnf(c5,axiom,~ s(X)).\n";
  const std::vector<StatusCase> cases = {
      {"fof(c,conjecture,\"a\" != \"b\").\n", {"--models"}, "Theorem", 0, ""},
      {"fof(c,conjecture,\"a\" != \"b\").\n", {"--auto", "--cores", "2"}, "Theorem", 0, ""},
      {"fof(c,conjecture,\"a\" != \"b\").\n",
       {"--equality-modification", "-reg"},
       "Theorem",
       0,
       ""},
      {two_objects, {"--auto"}, "Theorem", 0, ""},
      {"cnf(a,axiom,\"x\" = \"y\").\n", {"--ground"}, "Unsatisfiable", 0, ""},
      {"cnf(f0,axiom,\"x\" = \"y\" | a != Y).\ncnf(f1,axiom,X = c | p(X)).\ncnf(f2,axiom,~ "
       "p(c)).\n",
       {"--models"},
       "Unsatisfiable",
       0,
       ""},
      {crash, {"--equality-modification", "-reg"}, "Unsatisfiable", 0, ""},
      {"cnf(f1,axiom,\"y\" = \"x\").\n",
       {"--equality-modification", "-reg"},
       "Unsatisfiable",
       0,
       ""},
      {"cnf(a,axiom,f(a) = \"y\").\ncnf(b,axiom,f(a) = \"x\").\n",
       {"--auto"},
       "Unsatisfiable",
       0,
       ""},
      // Numbers are distinct objects, unless they are free.
      {"cnf(a,axiom,1 = 2).\n", {}, "Unsatisfiable", 0, ""},
      {"cnf(a,axiom,1 = 2).\n", {"--models"}, "Unsatisfiable", 0, ""},
      {"cnf(a,axiom,1 = 2).\n", {"--models", "--free-numbers"}, "Satisfiable", 0, ""},
  };
  for (const StatusCase& c : cases) {
    RunResult run = velkor_on(c.options, c.text);
    SCOPED_TRACE(c.text + run.out + run.err);
    EXPECT_EQ(last_line_with(run.out, "% SZS status"), "% SZS status " + c.status + " for status");
    EXPECT_EQ(run.status, c.exit_status);
  }
  // The modification names a third equation by a predicate of its own; the
  // model a later slice prints interprets the problem's symbols only.
  const std::string table = write_temp_file(
      "two.schedule", "row two\nslice 1 --equality-modification -reg\nslice 1 --models\n");
  RunResult run = velkor_on({"--auto", "--time-limit", "1", "--schedule", table},
                            "fof(three,axiom,! [X] : (f(X) = a | f(X) = b | f(X) = c)).\n"
                            "fof(ab,conjecture,a = b).\n");
  EXPECT_NE(run.out.find("% SZS status CounterSatisfiable"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("equation1"), std::string::npos) << run.out;
}

// A search without end stops at the limit, says so, and keeps the levels it
// finished; the CPU limit of the shell would kill it (status 152) if it ran
// a second past its own limit.  So does a search whose terms double in size
// with every step (the problem has a model of one element, which --auto
// finds, so the option set that grows them is named).
TEST(TptpInput, TimeLimitStopsAnEndlessSearch) {
  std::string path = write_temp_file("endless.p",
                                     "cnf(a,axiom,p(X) | ~p(f(X))).\n"
                                     "cnf(c,negated_conjecture,~p(a)).\n");
  std::string growing = write_temp_file("growing.p",
                                        "cnf(c2, hypothesis, X = f(f(c,X),f(b,X))).\n"
                                        "cnf(c3, axiom, ~p(a)).\n");
  for (std::vector<std::string> options :
       {std::vector<std::string>{"-id", "1", path},
        {"-id", "1000000000", path},
        {"-reg", "-sgindex", "-indexfoldup", "--restricted-backtracking", growing}}) {
    options.insert(options.begin(),
                   {"-c", "ulimit -t 2; exec \"$0\" \"$@\"", VELKOR_BIN, "--time-limit", "1"});
    RunResult run = run_program("/bin/bash", options);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.out.find("\n     ***** TIME LIMIT REACHED *****\n% SZS status Timeout"),
              std::string::npos)
        << run.out;
  }
}

// Under a limit of the address space, as clusters set, a search without
// end runs out of memory and says so; it does not crash.
TEST(TptpInput, OutOfMemoryIsAnAnswerNotACrash) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
  std::string path = write_temp_file("endless.p",
                                     "cnf(a,axiom,p(X) | ~p(f(X))).\n"
                                     "cnf(c,negated_conjecture,~p(a)).\n");
  RunResult run = run_program("/bin/bash", {"-c", "ulimit -v 600000; exec \"$0\" \"$@\"",
                                            VELKOR_BIN, "-id", "1000000000", path});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, "velkor: out of memory\n");
  EXPECT_EQ(last_line(run.out), "% SZS status MemoryOut for endless");
  // --memory-limit ends the run the same way, before the cluster's limit would.
  run = velkor({"--memory-limit", "50", "-id", "1000000000", path});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(last_line(run.out), "% SZS status MemoryOut for endless");
}

// --auto names the option set before the proof of the slice that found
// it; a satisfiable set is called so only by the complete last slice (a
// set with a function symbol: without, grounding would decide it first).
TEST(TptpInput, AutoScheduleAnswersFromItsSlices) {
  RunResult proof = velkor({"--auto", "--time-limit", "5", kData + "SYN015-2.p"});
  ASSERT_EQ(proof.status, 0) << proof.err;
  std::size_t named = proof.out.rfind("\n% option set ");
  std::size_t found = proof.out.find("***** PROOF WITH");
  ASSERT_NE(named, std::string::npos);
  ASSERT_NE(found, std::string::npos);
  EXPECT_LT(named, found);
  EXPECT_EQ(last_line(proof.out), "% SZS status Unsatisfiable for SYN015-2");

  std::string sat =
      write_temp_file("sat.p", "cnf(a,axiom,p(X) | q).\ncnf(c,negated_conjecture,~p(f(a))).\n");
  RunResult run = velkor({"--auto", "--time-limit", "5", sat});
  EXPECT_EQ(last_line(run.out), "% SZS status Satisfiable for sat");
  EXPECT_NE(run.out.find("FORMULA IS SATISFIABLE"), std::string::npos);
}

}  // namespace
