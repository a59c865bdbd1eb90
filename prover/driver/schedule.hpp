// The schedule of --auto: option sets tried one after another, each with a
// share of the CPU time, chosen from measurements on TPTP problems.
#pragma once

#include <vector>

namespace velkor {

// One time slice: the options of its search and its share of the whole
// time limit.  The last slice gets whatever time is left; its search is
// complete, so that it alone may call a clause set satisfiable.
struct Slice {
  const char* options;
  double share;
};

inline constexpr double kDefaultAutoSeconds = 60;

const std::vector<Slice>& default_schedule();

// The schedule for a TPTP problem with equality: a first slice searches the
// equality modification, then the default schedule in the time left.
const std::vector<Slice>& equality_schedule();

}  // namespace velkor
