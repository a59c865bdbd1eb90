// velkor as users run it: reads the command line, decides what kind of
// problem file it has, and drives the prover: one search, or with --auto a
// schedule of searches; keeps the CPU-time limit; for TPTP problems (and
// with --szs) ends with an SZS status line and prints proofs in TSTP.
//
// A command line of the prover's own options on an input_clause file runs
// exactly the prover's run sequence, with its output unchanged.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// The whole run; `words` include the program name.  Returns the exit status.
int run_velkor(const std::vector<std::string>& words);

}  // namespace velkor
