// Converts one TPTP problem in clause normal form into velkor's
// input_clause syntax.  This is the whole of tptp-to-velkor apart from its
// command line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "tptp/clausify.hpp"

namespace tptp {

struct ConvertOptions {
  std::string problem_path;
  // Directory against which includes are resolved; when absent they are
  // looked up in the problem's directory and its ancestors.
  std::optional<std::string> root;
  // Contents standing in for the problem file (the path still names it in
  // messages and anchors the lookup of includes).
  std::optional<std::string> text;
  // Append the axioms of equality when the written clauses use equality.
  bool equality_axioms = true;
  // Write clauses with complementary literals instead of leaving them out.
  bool keep_tautologies = false;
  // Numbers are ordinary constants, not distinct objects.
  bool free_numbers = false;
};

struct ConvertResult {
  bool ok = false;
  std::string output;               // the input_clause entries; empty unless ok
  std::string error;                // "FILE:LINE: message" (or "FILE: message"); empty if ok
  std::size_t clauses = 0;          // the problem's clauses written
  std::size_t dropped = 0;          // always-true clauses left out
  std::size_t equality_axioms = 0;  // axiom clauses appended after the problem's
};

// Never throws.  Runs on a thread with a large stack, so the nesting depth
// of terms and parentheses is limited only by memory.
// `clausify` says how first-order formulas become clauses.
ConvertResult convert(const ConvertOptions& options, const ClausifyOptions& clausify = {});

}  // namespace tptp
