// velkor --models (and --auto) on small problems written for it: every
// counter-model it prints is read back and evaluated on every clause of the
// problem by the evaluator below, which shares nothing with velkor's; every
// ground refutation is checked by proof-check.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/run_program.hpp"
#include "tptp/clausify.hpp"
#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;

const std::string kData = std::string(TEST_DATA_DIR) + "/models/";

// The model of a FiniteModel block: elements, function values and atoms.
struct PrintedModel {
  std::vector<std::string> domain;
  std::map<std::string, std::string> functions;
  std::map<std::string, bool> atoms;
};

std::string trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \n"), b = s.find_last_not_of(" \n");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// The conjuncts of the formula of the line of `role`.
std::vector<std::string> conjuncts(const std::string& block, const std::string& role) {
  std::vector<std::string> parts;
  std::size_t at = block.find(role + ", (");
  if (at == std::string::npos) return parts;
  std::size_t begin = at + role.size() + 3, end = block.find(")).", begin);
  std::string body = block.substr(begin, end - begin);
  for (std::size_t from = 0;;) {
    std::size_t amp = body.find('&', from);
    parts.push_back(trim(body.substr(from, amp - from)));
    if (amp == std::string::npos) return parts;
    from = amp + 1;
  }
}

PrintedModel read_model(const std::string& block) {
  PrintedModel m;
  std::string domain = block.substr(block.find("fi_domain"));
  domain = domain.substr(0, domain.find('\n'));
  for (std::size_t at = domain.find("X = "); at != std::string::npos;
       at = domain.find("X = ", at)) {
    at += 4;
    m.domain.push_back(domain.substr(at, domain.find_first_of(" )", at) - at));
  }
  for (const std::string& f : conjuncts(block, "fi_functors")) {
    std::size_t eq = f.rfind(" = ");
    m.functions[f.substr(0, eq)] = f.substr(eq + 3);
  }
  for (const std::string& p : conjuncts(block, "fi_predicates"))
    m.atoms[p[0] == '~' ? trim(p.substr(1)) : p] = p[0] != '~';
  return m;
}

// Counts the clauses of `path` (clausified) that some assignment makes
// false in `m`; a symbol the model does not give throws.
int false_clauses(const std::string& path, const PrintedModel& m) {
  tptp::Problem problem;
  tptp::read_problem(problem, path, {});
  tptp::clausify(problem);
  int false_count = 0;
  for (const tptp::Clause& clause : problem.clauses) {
    if (clause.always_true) continue;
    std::vector<std::size_t> values(clause.variables.size(), 0);
    // An atom or a term applied to the elements of its arguments, as the
    // block writes it; the element of a term.
    std::function<std::string(std::uint32_t)> eval;
    auto applied = [&](std::uint32_t at) {
      const tptp::Term& t = problem.terms[at];
      std::string key = tptp::tptp_text(problem.symbol(t.id));
      for (std::uint32_t k = 0; k < t.arity; ++k)
        key += (k == 0 ? "(" : ",") + eval(problem.args[t.first_arg + k]);
      return t.arity > 0 ? key + ")" : key;
    };
    eval = [&](std::uint32_t at) {
      const tptp::Term& t = problem.terms[at];
      return t.is_variable ? m.domain[values[t.id]] : m.functions.at(applied(at));
    };
    for (bool more = true; more;) {
      bool holds = false;
      for (const tptp::Literal& l : clause.literals) {
        bool atom = l.equality ? eval(l.left) == eval(l.right) : m.atoms.at(applied(l.left));
        if (atom == l.positive) holds = true;
      }
      if (!holds) ++false_count;
      // The next assignment.
      std::size_t k = values.size();
      while (k > 0 && ++values[k - 1] == m.domain.size()) values[--k] = 0;
      more = k > 0;
    }
  }
  return false_count;
}

// What follows the status line, which must be `status`.
std::string after_status(const RunResult& run, const std::string& status, const std::string& name) {
  std::string line = "% SZS status " + status + " for " + name + "\n";
  std::size_t at = run.out.find(line);
  EXPECT_NE(at, std::string::npos) << run.out << run.err;
  return at == std::string::npos ? "" : run.out.substr(at + line.size());
}

// The non-theorems: each has a small counter-model that makes every clause
// true, the negated conjecture's included.
TEST(Models, CounterModelsMakeEveryClauseTrue) {
  for (const std::string name : {"involution", "strict_order", "successor", "group", "two_atoms"}) {
    SCOPED_TRACE(name);
    const std::string path = kData + name + ".p";
    for (const char* mode : {"--models", "--auto"}) {
      if (std::string(mode) == "--auto" && name != "two_atoms") continue;
      RunResult run = run_program(VELKOR_BIN, {mode, "--time-limit", "60", path});
      EXPECT_EQ(run.status, 0);
      std::string block = after_status(run, "CounterSatisfiable", name);
      ASSERT_EQ(block.rfind("% SZS output start FiniteModel for " + name + "\n", 0), 0u) << block;
      ASSERT_NE(block.find("% SZS output end FiniteModel for " + name + "\n"), std::string::npos);
      PrintedModel model = read_model(block);
      ASSERT_FALSE(model.domain.empty());
      EXPECT_EQ(false_clauses(path, model), 0) << block;
    }
  }
  // The smallest group that is not commutative has six elements.
  RunResult run = run_program(VELKOR_BIN, {"--models", kData + "group.p"});
  EXPECT_EQ(read_model(after_status(run, "CounterSatisfiable", "group")).domain.size(), 6u);
}

// Problems without function symbols are refuted by their ground instances,
// with equality through its axioms' instances; proof-check confirms both.
TEST(Models, GroundRefutationsCheck) {
  struct Case {
    std::string name, status;
  };
  for (const Case& c : {Case{"epr_chain", "Unsatisfiable"}, Case{"epr_equality", "Theorem"}}) {
    SCOPED_TRACE(c.name);
    for (const char* mode : {"--models", "--auto"}) {
      RunResult run = run_program(VELKOR_BIN, {mode, "-proof", kData + c.name + ".p"});
      EXPECT_EQ(run.status, 0);
      std::string proof = after_status(run, c.status, c.name);
      EXPECT_EQ(proof.rfind("% SZS output start CNFRefutation", 0), 0u) << proof;
      std::string saved = testing_support::write_temp_file(c.name + ".out", run.out);
      RunResult checked = run_program(PROOF_CHECK_BIN, {saved});
      EXPECT_EQ(checked.status, 0) << checked.out << checked.err << run.out;
    }
  }
}

}  // namespace
