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

const std::vector<Slice>& equality_schedule() {
  // Chosen on MPTP problems at 10 s (see the README): the modification
  // proves most equational problems in a fraction of a second or not at
  // all, so a quarter of the time goes to it and the default schedule
  // keeps its proportions in the rest.
  static const std::vector<Slice> schedule = [] {
    constexpr double kModificationShare = 0.25;
    std::vector<Slice> slices = {{"--equality-modification -reg", kModificationShare}};
    for (const Slice& slice : default_schedule())
      slices.push_back({slice.options, slice.share * (1 - kModificationShare)});
    return slices;
  }();
  return schedule;
}

}  // namespace velkor
