// The schedules of --auto: slices (an engine with its options and a weight)
// tried one after another (or, with --cores, several at once), chosen per
// problem class and time limit from measurements (bench/schedule).
//
// The schedules are a table, and the table is data: a text file
// (schedule.txt beside this header) that bench/schedule/choose writes from
// the stored measurements and the build embeds; --schedule FILE runs
// another.  A row names the class it is for (traits a problem must have and
// traits it must not have) and the largest limit it is meant for; its
// slices follow it:
//
//   row NAME [require=TRAIT,...] [exclude=TRAIT,...] [up-to=SECONDS]
//   slice WEIGHT [needs=TRAIT,...] OPTIONS...
//
// The first row that fits the problem and the limit is taken, so a row for
// a narrow class or a short limit stands before the general ones, and the
// last row fits every problem.  A slice that needs a trait the class lacks
// is left out.  The time left is shared by the slices left in proportion
// to their weights; the last slice gets all that is left, and its search is
// complete, so that it alone may call a clause set satisfiable.  `#` starts
// a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "prover/driver/features.hpp"

namespace velkor {

struct Slice {
  std::string options;
  double weight;
  unsigned needs = 0;  // traits the class must have for the slice to run
};

struct ScheduleRow {
  std::string name;      // shown in the class line of --auto
  unsigned require = 0;  // traits the class must have
  unsigned exclude = 0;  // traits it must not have
  double up_to = 0;      // the largest time limit in seconds it is for; 0: any
  std::vector<Slice> slices;
};

struct ScheduleTable {
  std::vector<ScheduleRow> rows;
};

inline constexpr double kDefaultAutoSeconds = 60;

// Reads the text form; false with "LINE: what is wrong" in `error` when it
// is not a table (an unknown word or trait, a row without slices, no row).
bool parse_schedule(std::string_view text, ScheduleTable& table, std::string& error);
bool read_schedule_file(const std::string& path, ScheduleTable& table, std::string& error);

// The table the build embeds.
const ScheduleTable& builtin_schedule();

// The schedule for a problem of class `f` and a limit of `seconds` of CPU
// in all: the slices of the first row that fits, without those whose needs
// the class lacks.
struct Schedule {
  std::string name;
  std::vector<Slice> slices;
};
Schedule choose_schedule(const ScheduleTable& table, const ProblemFeatures& f, double seconds);

}  // namespace velkor
