#include "prover/driver/problem_file.hpp"

#include <cstdlib>
#include <fstream>

#include "prover/equality/modify.hpp"
#include "tptp/clausify.hpp"
#include "tptp/reader.hpp"

namespace velkor {

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

tptp::Problem read_tptp_statements(const std::string& path) {
  tptp::Problem problem;
  tptp::ReadOptions options;
  const char* root = std::getenv("TPTP");
  if (root != nullptr && *root != '\0') options.root = root;
  tptp::read_problem(problem, path, options);
  return problem;
}

std::unique_ptr<TptpProblem> prepare_tptp_problem(tptp::Problem problem) {
  auto result = std::make_unique<TptpProblem>();
  result->problem = std::move(problem);
  tptp::clausify(result->problem);
  const std::vector<tptp::Clause>& clauses = result->problem.clauses;
  for (std::size_t i = 0; i < clauses.size(); ++i)
    if (clauses[i].literals.empty() && !clauses[i].always_true) {
      result->empty_clause = i;
      return result;
    }
  result->written = tptp::write_problem(result->problem);
  return result;
}

std::unique_ptr<TptpProblem> read_tptp_problem(const std::string& path) {
  return prepare_tptp_problem(read_tptp_statements(path));
}

}  // namespace velkor

namespace velkor {

const tptp::Written* equality_modification(TptpProblem& problem) {
  if (!problem.modification_tried) {
    problem.modification_tried = true;
    if (equality::modify(problem.problem).uses_equality) {
      tptp::WriteOptions options;
      options.modified = true;
      problem.modified = tptp::write_problem(problem.problem, options);
    }
  }
  return problem.modified ? &*problem.modified : nullptr;
}

}  // namespace velkor
