// A run on a selection of the premises (--select): the problem is read
// whole, the selection (prover/select) chooses what to keep, and only that
// is clausified and handed to the searches.
//
// A proof found on the selection is a proof of the whole problem: the kept
// statements are the problem's own, printed under their own names.  A
// failure is not: the driver turns every answer that a failed search or a
// model would give (Satisfiable, CounterSatisfiable) into GaveUp, and a
// schedule goes on with its next option set.
#pragma once

#include <memory>
#include <string>

#include "prover/driver/problem_file.hpp"
#include "prover/prover.hpp"

namespace velkor {

// Reads the TPTP problem at `path` for prover `p`.  With --select, prints
// the line `% selection: ... kept K of N formulas` and clausifies only the
// kept statements; `premises_left_out` then tells whether any were left
// out.  Throws tptp::ConvertError as read_tptp_problem does.
std::unique_ptr<TptpProblem> read_selected_problem(Prover& p, const std::string& path);

}  // namespace velkor
