// Proofs in TSTP, the TPTP world's format for derivations.
//
// A closed connection tableau is a refutation of the clause instances it
// uses: the instances alone are propositionally unsatisfiable.  So the
// proof is written as the input clauses used, with their sources, one
// `instantiation` step per instance, and a final `$false` that cites every
// instance.  A subgoal closed by an entry of the lemma index rests on what
// that entry rests on; those instances are listed too, instantiated as the
// lemma was used, so that the listed instances are unsatisfiable on their own.
#pragma once

#include <string>

#include "prover/driver/problem_file.hpp"
#include "prover/prover.hpp"

namespace velkor {

struct ProofSource {
  std::string problem_path;           // as given on the command line
  std::string problem_name;           // for the SZS lines
  const TptpProblem* tptp = nullptr;  // null for an input_clause problem
  // The clause set the prover searched: tptp->written, or the equality
  // modification's.
  const tptp::Written* written = nullptr;
};

// Prints the refutation of the proof the prover has just found, between
// the SZS output lines.
void print_tstp_refutation(Prover& prover, const ProofSource& source);

// The refutation of a TPTP problem that has an empty clause: that clause.
void print_empty_clause_refutation(Prover& prover, const ProofSource& source);

}  // namespace velkor
