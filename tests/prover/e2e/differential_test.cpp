// Every engine answers for the same problem.  Small problems are generated
// (equality, distinct objects, numbers, with and without function symbols,
// satisfiable or not) and each is run by every engine alone, by --auto and
// by --auto --cores 2.  No run may crash, hang or run out of memory, no two
// definite answers may disagree, and every printed model must make every
// clause true and keep the distinct objects apart: the model is evaluated
// here, by brute force, independently of velkor's own check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;
using testing_support::write_temp_file;

struct Term {
  std::string symbol;  // a variable's name, or a symbol
  std::vector<Term> args;
  bool variable = false;
};

struct Literal {
  bool positive;
  bool equation;  // left = right, else left is the atom
  Term left, right;
};

using Clause = std::vector<Literal>;

std::string text(const Term& t) {
  std::string out = t.symbol;
  for (std::size_t i = 0; i < t.args.size(); ++i) out += (i == 0 ? "(" : ",") + text(t.args[i]);
  return t.args.empty() ? out : out + ")";
}

std::string text(const Clause& clause) {
  std::string out;
  for (const Literal& l : clause) {
    if (!out.empty()) out += " | ";
    if (l.equation)
      out += text(l.left) + (l.positive ? " = " : " != ") + text(l.right);
    else
      out += (l.positive ? "" : "~ ") + text(l.left);
  }
  return out;
}

// A problem of a few short clauses over a small signature; which kinds of
// symbols it may use is drawn first, so that EPR problems, problems with
// functions, with and without distinct objects and numbers all come up.
struct Generator {
  std::mt19937 random;
  std::vector<std::string> constants;
  bool functions = false;

  int draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

  Term term(int depth) {
    if (depth > 0 && functions && draw(0, 2) == 0) {
      Term t{draw(0, 3) == 0 ? "g" : "f", {}, false};
      t.args.push_back(term(depth - 1));
      if (t.symbol == "g") t.args.push_back(term(depth - 1));
      return t;
    }
    if (draw(0, 2) == 0) return Term{draw(0, 1) ? "X" : "Y", {}, true};
    return Term{
        constants[static_cast<std::size_t>(draw(0, static_cast<int>(constants.size()) - 1))],
        {},
        false};
  }

  std::vector<Clause> problem() {
    constants = {"a", "b"};
    if (draw(0, 2) > 0) constants.insert(constants.end(), {"\"x\"", "\"y\""});
    if (draw(0, 3) == 0) constants.insert(constants.end(), {"1", "2"});
    functions = draw(0, 1) == 1;
    std::vector<Clause> clauses(static_cast<std::size_t>(draw(1, 5)));
    for (Clause& c : clauses)
      for (int k = draw(1, 3); k > 0; --k) {
        Literal l{draw(0, 1) == 1, draw(0, 4) < 2, {}, {}};
        if (l.equation) {
          l.left = term(1);
          l.right = term(1);
        } else {
          static const char* const kPredicates[] = {"p", "q", "r"};
          l.left = Term{kPredicates[draw(0, 2)], {}, false};
          if (l.left.symbol == "p") l.left.args = {term(1)};
          if (l.left.symbol == "q") l.left.args = {term(1), term(1)};
        }
        c.push_back(std::move(l));
      }
    return clauses;
  }
};

// A FiniteModel block read back: the elements, the value of every ground
// function term and the truth of every ground atom, as printed.
struct Model {
  int size = 0;
  std::map<std::string, int> element;  // element name -> index
  std::map<std::string, int> value;    // "f(e0)" -> element index
  std::map<std::string, bool> truth;   // "p(e0)" -> truth
};

// Reads the block; false when it is not one velkor prints.
bool read_model(const std::string& out, Model& m) {
  const std::size_t start = out.find("fi_domain");
  if (start == std::string::npos) return false;
  const std::size_t end = out.find("% SZS output end FiniteModel");
  // The domain: X = e0 | X = e1 | ...
  std::size_t at = start;
  const std::size_t domain_end = out.find('\n', start);
  while ((at = out.find("X = ", at)) < domain_end) {
    at += 4;
    const std::size_t stop = out.find_first_of(" )", at);
    m.element[out.substr(at, stop - at)] = m.size++;
  }
  // Facts, one per line: "TERM = ELEMENT", "ATOM" or "~ ATOM".
  for (std::size_t line = domain_end + 1; line < end;) {
    const std::size_t next = out.find('\n', line);
    std::string fact = out.substr(line, next - line);
    line = next + 1;
    for (const char* noise : {"fof(functions, fi_functors, (", "fof(predicates, fi_predicates, ("})
      if (fact.rfind(noise, 0) == 0) fact.erase(0, std::string(noise).size());
    while (!fact.empty() && (fact.front() == ' ')) fact.erase(0, 1);
    while (!fact.empty() && (fact.back() == '&' || fact.back() == ' ' || fact.back() == '.'))
      fact.pop_back();
    // The block's last fact closes its formula too.
    while (!fact.empty() && fact.back() == ')' &&
           std::count(fact.begin(), fact.end(), '(') < std::count(fact.begin(), fact.end(), ')'))
      fact.pop_back();
    if (fact.empty()) continue;
    const std::size_t eq = fact.find(" = ");
    if (eq != std::string::npos) {
      auto e = m.element.find(fact.substr(eq + 3));
      if (e == m.element.end()) return false;
      m.value[fact.substr(0, eq)] = e->second;
    } else if (fact.rfind("~ ", 0) == 0) {
      m.truth[fact.substr(2)] = false;
    } else {
      m.truth[fact] = true;
    }
  }
  return m.size > 0;
}

// The element of a term under an assignment of the variables X and Y; -1
// when the model does not interpret a symbol.
int evaluate(const Model& m, const Term& t, const int xy[2]) {
  if (t.variable) return xy[t.symbol == "Y"];
  std::string key = t.symbol;
  for (std::size_t i = 0; i < t.args.size(); ++i) {
    const int a = evaluate(m, t.args[i], xy);
    if (a < 0) return -1;
    key += (i == 0 ? "(e" : ",e") + std::to_string(a);
  }
  if (!t.args.empty()) key += ")";
  auto found = m.value.find(key);
  return found == m.value.end() ? -1 : found->second;
}

// Why the model fails the problem, or "" when every clause holds under
// every assignment and the distinct objects are different elements.
std::string check_model(const Model& m, const std::vector<Clause>& clauses, bool free_numbers) {
  std::vector<int> objects;
  for (const auto& [name, element] : m.value)
    if (name[0] == '"' || (!free_numbers && std::isdigit(static_cast<unsigned char>(name[0]))))
      objects.push_back(element);
  for (std::size_t i = 0; i < objects.size(); ++i)
    for (std::size_t j = i + 1; j < objects.size(); ++j)
      if (objects[i] == objects[j]) return "two distinct objects are one element";
  for (const Clause& clause : clauses)
    for (int x = 0; x < m.size; ++x)
      for (int y = 0; y < m.size; ++y) {
        const int xy[2] = {x, y};
        bool holds = false;
        for (const Literal& l : clause) {
          bool value;
          if (l.equation) {
            const int a = evaluate(m, l.left, xy), b = evaluate(m, l.right, xy);
            if (a < 0 || b < 0) return "a term is not interpreted: " + text(clause);
            value = a == b;
          } else {
            Term atom = l.left;
            std::string key = atom.symbol;
            for (std::size_t k = 0; k < atom.args.size(); ++k) {
              const int a = evaluate(m, atom.args[k], xy);
              if (a < 0) return "a term is not interpreted: " + text(clause);
              key += (k == 0 ? "(e" : ",e") + std::to_string(a);
            }
            if (!atom.args.empty()) key += ")";
            auto found = m.truth.find(key);
            if (found == m.truth.end()) return "an atom is not interpreted: " + key;
            value = found->second;
          }
          holds = holds || value == l.positive;
        }
        if (!holds) return "false: " + text(clause);
      }
  return "";
}

bool refuted(const std::string& status) {
  return status == "Unsatisfiable";
}
bool satisfied(const std::string& status) {
  return status == "Satisfiable";
}

TEST(Differential, EveryEngineAgreesOnGeneratedProblems) {
  const std::vector<std::vector<std::string>> engines = {
      {"-reg", "-d", "6"}, {"--equality-modification", "-reg", "-d", "6"},
      {"--ground"},        {"--models"},
      {"--auto"},          {"--auto", "--cores", "2"},
  };
  constexpr int kProblems = 150;
  Generator generator{std::mt19937(20261207), {}};
  std::vector<std::vector<Clause>> problems;
  std::vector<bool> free_numbers;
  for (int i = 0; i < kProblems; ++i) {
    problems.push_back(generator.problem());
    free_numbers.push_back(generator.draw(0, 3) == 0);
  }
  std::mutex lock;
  std::vector<std::string> faults;
  int refutations = 0, models = 0;
  auto work = [&](int first) {
    for (int i = first; i < kProblems; i += 2) {
      std::string file;
      for (std::size_t c = 0; c < problems[i].size(); ++c)
        file += "cnf(c" + std::to_string(c) + ",axiom," + text(problems[i][c]) + ").\n";
      const std::string path = write_temp_file("generated" + std::to_string(i) + ".p", file);
      std::string definite;
      for (const auto& engine : engines) {
        std::vector<std::string> args = engine;
        args.insert(args.end(), {"--time-limit", "0.2"});
        if (free_numbers[i]) args.push_back("--free-numbers");
        args.push_back(path);
        const RunResult run = run_program(VELKOR_BIN, args, 20);
        std::string status;
        const std::size_t at = run.out.find("% SZS status ");
        if (at != std::string::npos)
          status = run.out.substr(at + 13, run.out.find(' ', at + 13) - at - 13);
        std::string fault;
        if (run.status != 0 && run.status != 2) fault = "exit status " + std::to_string(run.status);
        if (status.empty() || status == "MemoryOut" || status == "Error")
          fault += " status " + status;
        if (satisfied(status) && run.out.find("FiniteModel") != std::string::npos) {
          Model m;
          fault += read_model(run.out, m) ? check_model(m, problems[i], free_numbers[i])
                                          : "an unreadable model";
        }
        if (refuted(status) || satisfied(status)) {
          if (!definite.empty() && definite != status) fault += " disagrees with " + definite;
          definite = status;
        }
        std::lock_guard<std::mutex> guard(lock);
        refutations += refuted(status);
        models += satisfied(status);
        if (!fault.empty())
          faults.push_back(file + "velkor " + args[0] + "...: " + fault + "\n" + run.out + run.err);
      }
    }
  };
  std::thread other(work, 1);
  work(0);
  other.join();
  for (const std::string& f : faults) ADD_FAILURE() << f;
  // The problems are a mix: enough of each answer for the test to mean something.
  EXPECT_GT(refutations, kProblems / 2);
  EXPECT_GT(models, kProblems / 2);
}

}  // namespace
