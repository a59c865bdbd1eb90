// --saturation: one run of the saturation engine (prover/saturation) on a
// TPTP problem, its answer turned into what the driver prints.
#pragma once

#include <string>

#include "prover/driver/problem_file.hpp"
#include "prover/driver/tstp.hpp"
#include "prover/prover.hpp"

namespace velkor {

struct SaturationAnswer {
  const char* szs = nullptr;  // the SZS status, or null when the prover's outcome gives it
  std::string output_block;   // the refutation, with -proof
  int status = 0;             // the exit status
};

// Runs the engine with the prover's time limit, memory limit and --sat-
// options; its statistics and a summary line are printed on the prover's
// output.  Sets the prover's outcome on a timeout or a bad option.
SaturationAnswer run_saturation(Prover& p, const TptpProblem& tptp, const ProofSource& source);

}  // namespace velkor
