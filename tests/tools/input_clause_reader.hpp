// An independent, strict reader of the input_clause syntax that velkor
// accepts, used to check what tptp-to-velkor writes.  It follows velkor's
// token table (longest match; identifier characters a-z A-Z 0-9 _ + -;
// "++" and "--" signs; "%" comments) and its grammar, and gathers the
// same kind of counts as a TPTP "% Syntax" header so they can be compared.
#pragma once

#include <cstddef>
#include <string>

namespace tools_testing {

struct ClauseSetStats {
  std::size_t clauses = 0, units = 0, non_horn = 0;
  std::size_t literals = 0, equality_literals = 0, negative_literals = 0;
  std::size_t max_clause_size = 0;
  std::size_t predicates = 0, propositional = 0;  // distinct name/arity; arity-0 names
  std::size_t functors = 0, constants = 0;
  std::string predicate_arities = "---", functor_arities = "---";  // "min-max"
  std::size_t variables = 0, singletons = 0;                       // distinct per clause, summed
  // Arities summed over the distinct name/arity pairs: the argument
  // positions there are, each of which needs a substitution axiom of
  // equality.  equal/2 as a predicate is left out.
  std::size_t functor_positions = 0, predicate_positions = 0;
};

struct ReadResult {
  bool ok = false;
  std::string error;  // first token that does not fit, with its line
  ClauseSetStats stats;
};

ReadResult read_input_clauses(const std::string& text);

}  // namespace tools_testing
