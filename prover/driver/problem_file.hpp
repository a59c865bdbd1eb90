// The problem file as velkor receives it: its own input_clause syntax, or a
// TPTP problem that is read, with its includes, by the TPTP library and
// handed to the prover as the input_clause entries the converter writes.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tptp/error.hpp"
#include "tptp/problem.hpp"
#include "tptp/writer.hpp"

namespace velkor {

enum class ProblemFormat {
  kInputClause,  // velkor's own syntax (also anything that is not TPTP)
  kTptp,         // the first entry is cnf(, fof(, include( or another TPTP statement
};

// Looks at the first word of the file that is not blank or a comment.  A
// file that cannot be read counts as kInputClause: the prover's own reader
// reports it.
ProblemFormat detect_format(const std::string& path);

// The name SZS lines give a problem: the file name without its folder and
// without the extension .p.
std::string problem_name(const std::string& path);

struct TptpProblem {
  tptp::Problem problem;
  tptp::Written written;  // the clauses for the prover, with their origins
  // The problem's first clause that is empty once its false literals are
  // gone; then nothing is written and the problem is refuted by it alone.
  std::optional<std::size_t> empty_clause;
  // The equality modification's clause set, written once it is first
  // asked for (see equality_modification below).
  std::optional<tptp::Written> modified;
  bool modification_tried = false;
  // A premise selection left statements of the problem out of `problem`:
  // a refutation still refutes the whole problem, a failure shows nothing.
  bool premises_left_out = false;
};

// Reads a TPTP problem, resolving includes against the TPTP environment
// variable or else the nearest folder above the problem that holds them,
// and turns its first-order formulas into clauses.  Throws
// tptp::ConvertError.
std::unique_ptr<TptpProblem> read_tptp_problem(const std::string& path);

// The two halves of read_tptp_problem: reading the statements as they are,
// and clausifying and writing them, so that a selection can come between.
tptp::Problem read_tptp_statements(const std::string& path);
std::unique_ptr<TptpProblem> prepare_tptp_problem(tptp::Problem problem);

// The clause set of the equality modification (prover/equality), made on
// the first call; null when the problem does not use equality, so that the
// clauses as read are searched.
const tptp::Written* equality_modification(TptpProblem& problem);

}  // namespace velkor
