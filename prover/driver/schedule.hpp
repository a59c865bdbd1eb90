// The schedules of --auto: option sets tried one after another (or, with
// --cores, several at once), each with a share of the time, chosen per
// problem class and time limit from measurements on TPTP problems
// (bench/schedule).
//
// The schedules are a table, not code: a row names the class it is for (the
// traits a problem must have and those it must not), the largest time limit
// it is meant for, and its option sets with their shares.  The first row
// that fits the problem and the limit is taken, so a row for a narrow class
// or a short limit stands before the more general ones, and the last row
// fits every problem.
#pragma once

#include <vector>

#include "prover/driver/features.hpp"

namespace velkor {

// One time slice: the options of its search and its share of the whole
// time limit.  The last slice gets whatever time is left; its search is
// complete, so that it alone may call a clause set satisfiable.  A slice
// with `needs` runs only on problems whose class has all those traits (an
// option set that only pays on equality problems, say); its share then goes
// to the others in proportion.
struct Slice {
  const char* options;
  double share;
  unsigned needs = 0;
};

struct ScheduleRow {
  const char* name;  // shown in the class line of --auto
  unsigned require;  // traits the class must have
  unsigned exclude;  // traits it must not have
  double up_to;      // the largest time limit in seconds it is for; 0: any
  std::vector<Slice> slices;
};

inline constexpr double kDefaultAutoSeconds = 60;

// The rows, in the order they are tried.
const std::vector<ScheduleRow>& schedule_table();

// The schedule for a problem of class `f` and a limit of `seconds` of CPU
// in all: the slices of the first row that fits, without those whose needs
// the class lacks, their shares scaled to add up to 1.
struct Schedule {
  const char* name;
  std::vector<Slice> slices;
};
Schedule choose_schedule(const ProblemFeatures& f, double seconds);

}  // namespace velkor
