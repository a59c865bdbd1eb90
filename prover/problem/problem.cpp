#include "prover/problem/problem.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tptp/clausify.hpp"
#include "tptp/reader.hpp"

namespace velkor {

bool Theory::is_distinct_object(std::uint32_t symbol) const {
  return std::find(distinct_objects.begin(), distinct_objects.end(), symbol) !=
         distinct_objects.end();
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> Theory::distinct_pairs() const {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
  for (std::size_t i = 0; i < distinct_objects.size(); ++i)
    for (std::size_t j = i + 1; j < distinct_objects.size(); ++j)
      pairs.emplace_back(distinct_objects[i], distinct_objects[j]);
  return pairs;
}

Theory theory_of(const tptp::Problem& problem, bool free_numbers) {
  Theory theory;
  theory.free_numbers = free_numbers;
  std::vector<bool> seen(problem.symbol_count(), false);
  std::vector<std::uint32_t> pending;  // terms still to visit: no recursion on deep terms
  for (const tptp::Clause& clause : problem.clauses) {
    if (clause.always_true) continue;
    for (const tptp::Literal& l : clause.literals) {
      theory.equality = theory.equality || l.equality;
      pending.push_back(l.left);
      if (l.equality) pending.push_back(l.right);
      while (!pending.empty()) {
        const tptp::Term& t = problem.terms[pending.back()];
        pending.pop_back();
        if (t.is_variable) continue;
        for (std::uint32_t k = 0; k < t.arity; ++k)
          pending.push_back(problem.args[t.first_arg + k]);
        if (seen[t.id] || !tptp::denotes_distinct_object(problem.symbol(t.id), free_numbers))
          continue;
        seen[t.id] = true;
        theory.distinct_objects.push_back(t.id);
      }
    }
  }
  return theory;
}

std::unique_ptr<const Problem> load_problem(const std::string& path, const LoadOptions& options) {
  tptp::ReadOptions read;
  read.root = options.root;
  if (!read.root) {
    const char* root = std::getenv("TPTP");
    if (root != nullptr && *root != '\0') read.root = root;
  }
  tptp::Problem statements;
  tptp::read_problem(statements, path, read);
  return make_problem(path, std::move(statements), options.free_numbers);
}

std::unique_ptr<const Problem> make_problem(const std::string& path, tptp::Problem statements,
                                            bool free_numbers) {
  auto problem = std::make_unique<Problem>();
  problem->path = path;
  problem->name = problem_name(path);
  problem->clauses = std::move(statements);
  tptp::clausify(problem->clauses);
  const std::vector<tptp::Clause>& clauses = problem->clauses.clauses;
  for (std::size_t i = 0; i < clauses.size() && !problem->empty_clause; ++i)
    if (clauses[i].literals.empty() && !clauses[i].always_true) problem->empty_clause = i;
  problem->theory = theory_of(problem->clauses, free_numbers);
  return problem;
}

tptp::Problem statements_of(const Problem& problem) {
  tptp::Problem statements = problem.clauses;
  std::erase_if(statements.clauses, [](const tptp::Clause& c) { return !c.formulas.empty(); });
  return statements;
}

ProblemFormat detect_format(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ProblemFormat::kInputClause;
  // Skip blanks, % comments and /* */ comments, then read the first word.
  std::string word;
  char c;
  while (in.get(c)) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') continue;
    if (c == '%') {
      while (in.get(c) && c != '\n') {
      }
      continue;
    }
    if (c == '/' && in.peek() == '*') {
      in.get();
      char previous = 0;
      while (in.get(c) && !(previous == '*' && c == '/')) previous = c;
      continue;
    }
    while ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
      word += c;
      if (!in.get(c)) break;
    }
    break;
  }
  static const char* const kTptpWords[] = {"cnf", "fof", "include", "tff", "thf", "tcf", "tpi"};
  for (const char* w : kTptpWords)
    if (word == w) return ProblemFormat::kTptp;
  return ProblemFormat::kInputClause;
}

std::string problem_name(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  if (name.size() > 2 && name.compare(name.size() - 2, 2, ".p") == 0) name.resize(name.size() - 2);
  return name;
}

}  // namespace velkor
