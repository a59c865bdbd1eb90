// Reads a TPTP problem of clauses and first-order formulas, following its
// includes, into a Problem; formulas are kept as read (clausify turns them
// into clauses).  Typed or higher-order formulas, and anything that does not
// follow the language, are reported as a ConvertError with the file and line
// where they were found.
#pragma once

#include <optional>
#include <string>

#include "tptp/problem.hpp"

namespace tptp {

struct ReadOptions {
  // Directory against which include paths are resolved.  When absent, each
  // include is looked up in the problem's directory and then in every
  // ancestor of it, nearest first.
  std::optional<std::string> root;
};

// Reads the problem in `path`; `text`, when given, stands for the contents
// of that file (the path is then only used for messages and includes).
void read_problem(Problem& problem, const std::string& path, const ReadOptions& options,
                  const std::optional<std::string>& text = std::nullopt);

}  // namespace tptp
