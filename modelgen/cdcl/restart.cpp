// Restarts: after a number of conflicts that follows the Luby sequence
// (1 1 2 1 1 2 4 1 1 2 ...) times a unit, the search returns to level 0.
// Learned clauses, activities and saved phases survive, so a restart keeps
// what was learned and mostly rebuilds the same trail, except where recent
// conflicts changed the order; the occasional long run between restarts
// lets hard satisfiable problems be finished.
#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {
namespace {

constexpr std::int64_t kRestartUnit = 100;  // conflicts per Luby step

// The i-th element (from 1) of the Luby sequence: 2^(k-1) when i = 2^k - 1,
// else the element at i - (2^(k-1) - 1) for the largest 2^(k-1) - 1 < i.
std::int64_t luby(std::int64_t i) {
  for (;;) {
    std::int64_t k = 1;
    while ((std::int64_t{1} << k) - 1 < i) ++k;
    if ((std::int64_t{1} << k) - 1 == i) return std::int64_t{1} << (k - 1);
    i -= (std::int64_t{1} << (k - 1)) - 1;
  }
}

}  // namespace

bool Internal::restarting() const {
  return conflicts >= restart_limit && decision_level() > 0;
}

void Internal::restart() {
  ++restarts;
  backtrack(0);
  update_restart_limit();
}

void Internal::update_restart_limit() {
  restart_limit = conflicts + kRestartUnit * luby(++luby_index);
}

}  // namespace modelgen::cdcl
