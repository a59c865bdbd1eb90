// Writes a read Problem as input_clause entries, one per line.
//
// velkor's reader knows fewer kinds of names than TPTP: a symbol is a
// lower-case letter or a digit followed by letters, digits, _, + or -, and
// the words input_clause and equal are reserved.  Every TPTP name that does
// not fit is given a fresh symbol derived from its spelling, distinct from
// every name the problem already uses, so that different symbols stay
// different and equal ones stay equal.
#pragma once

#include <cstddef>
#include <string>

#include "tools/tptp_to_velkor/problem.hpp"

namespace tptp {

struct Written {
  std::string text;
  std::size_t clauses = 0;  // input_clause entries written
  std::size_t dropped = 0;  // clauses left out because they are always true
};

// Throws ConvertError for a clause that is empty once its false literals are
// removed: velkor has no way to write the empty clause.
Written write_problem(const Problem& problem);

}  // namespace tptp
