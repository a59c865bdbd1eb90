// The signature bound: a proof may bring in new symbols (those not in the
// goal clauses) of limited total weight.  Each extension charges the symbols
// of the entered clause that the branch does not use yet; a step that would
// overspend is refused like a step beyond the depth bound.
#include "common/saturating.hpp"
#include "prover/prover.hpp"

namespace velkor {

// Marks are made only when every new symbol fits, the last one first.
bool Prover::charge_signature(Symbol** symbols, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i) {
    Symbol* e = symbols[i];
    if (sig_vector[static_cast<std::size_t>(e->number)] != 0) continue;
    free_sig = common::sat_sub(free_sig, e->signature_weight);
    if (free_sig < 0) return false;
  }
  for (std::int64_t i = n - 1; i >= 0; --i) {
    Symbol* e = symbols[i];
    auto& mark = sig_vector[static_cast<std::size_t>(e->number)];
    if (mark != 0) continue;
    mark = e->signature_weight;
    sig_trail[static_cast<std::size_t>(sig_trail_position++)] = e->number;
  }
  return true;
}

void Prover::undo_signature(std::int64_t position, std::int64_t budget) {
  while (sig_trail_position > position)
    sig_vector[static_cast<std::size_t>(
        sig_trail[static_cast<std::size_t>(--sig_trail_position)])] = 0;
  free_sig = budget;
}

}  // namespace velkor
