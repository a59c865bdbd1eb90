// Premise selection for problems with large theories: which of a problem's
// premises a search needs to see, chosen by the symbols they share with the
// conjecture, before anything is clausified.
//
// A problem stated with a whole library has thousands of premises, of which
// a proof uses a handful; a connection tableau search gives every one of
// them a place in its connection graph and tries them at every extension.
// The selection works on the formulas and cnf clauses as read, so that only
// what it keeps is clausified and searched.  Everything the selection keeps
// is a part of the problem, so a refutation of the kept premises with the
// conjecture refutes the whole problem; a failure on them shows nothing.
//
// The selector relates symbols and premises by generality: a symbol occurring
// in few premises says more about each of them than one occurring everywhere.
// A premise is triggered by its rarest symbols (those within `tolerance`
// times the rarest one's count, and any symbol no more common than
// `generality_threshold`).  Starting from the symbols of the conjecture, every
// premise a selected symbol triggers is kept and its symbols are selected in
// turn, for `depth` rounds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tptp/problem.hpp"

namespace velkor::select {

struct Params {
  double tolerance = 1.0;                  // a symbol triggers a premise within this factor of
                                           // the premise's rarest symbol (at least 1)
  std::uint32_t depth = 0;                 // rounds of triggering; 0: until nothing new
  std::uint32_t generality_threshold = 0;  // a symbol in at most this many premises
                                           // triggers every premise it occurs in
  std::uint32_t limit = 0;                 // most premises kept, rarest triggers first; 0: any
};

// The spelling of Params on the command line and in schedules:
// sine:TOLERANCE[:DEPTH[:THRESHOLD[:LIMIT]]], e.g. sine:1.5:3.  False when
// `selection` is not of that form; `params` is then unchanged.
bool parse_params(std::string_view selection, Params& params);

// What to keep of a problem: one flag per formula and per cnf clause as
// read, in the order of Problem::formulas and Problem::clauses.  Conjectures
// (fof conjecture and negated_conjecture, cnf negated_conjecture) and
// hypotheses, which state the problem at hand, are always kept, as are
// premises without any symbol (statements about equality and the domain
// alone).  A problem without a conjecture keeps everything.
struct Selection {
  std::vector<bool> keep_formula;
  std::vector<bool> keep_clause;
  std::size_t kept = 0;     // statements kept
  std::size_t total = 0;    // statements of the problem
  std::string description;  // parameters and counts, one line without its newline

  bool partial() const { return kept < total; }
};

// Chooses the premises of `problem`, which must not be clausified yet.
Selection select_premises(const tptp::Problem& problem, const Params& params);

// A problem of the kept statements of `problem` alone, ready to be
// clausified, with their terms and formula nodes copied.  The symbol table
// is copied whole, so that symbols the clausifier invents are new to the
// whole problem, not only to the kept part: a refutation of the copy is then
// a refutation of the whole problem.
tptp::Problem restrict_problem(const tptp::Problem& problem, const Selection& selection);

}  // namespace velkor::select
