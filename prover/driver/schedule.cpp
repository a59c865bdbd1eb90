#include "prover/driver/schedule.hpp"

namespace velkor {

const std::vector<Slice>& default_schedule() {
  // Chosen by bench/schedule/measure on the TPTP problems of our corpus
  // (clause and first-order form) with a limit of 2 s; see the README.
  static const std::vector<Slice> schedule = {
      {"-reg --conjecture-start", 0.05},
      {"-reg -sgindex -indexfoldup", 0.30},
      {"-reg -sgindex -indexfoldup --restricted-backtracking", 0.50},
      {"-reg -dynsgreord 0 -complexity 1", 0.15},
  };

  return schedule;
}

}  // namespace velkor
