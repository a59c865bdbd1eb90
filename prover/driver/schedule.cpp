#include "prover/driver/schedule.hpp"

namespace velkor {

const std::vector<Slice>& default_schedule() {
  static const std::vector<Slice> schedule = {
      {"-reg -sgindex -indexfoldup", 0.25},
      {"-reg -dynsgreord 0 -complexity 1", 0.2},
      {"-reg -foldup", 0.2},
      {"-reg", 1.0},
  };
  return schedule;
}

}  // namespace velkor
