// The schedule table is data edited by hand after each measurement: every
// row must be usable as it stands, whatever the class and limit.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "prover/driver/schedule.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

// Each row's options are velkor options, its shares add up to the whole,
// and its last slice runs on every class with a complete search, so that
// the schedule can still call a problem satisfiable; the last row fits
// every problem and limit.
TEST(ScheduleTable, EveryRowIsAWholeScheduleAndTheLastFitsAll) {
  const std::vector<ScheduleRow>& table = schedule_table();
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(table.back().require | table.back().exclude, 0u);
  EXPECT_EQ(table.back().up_to, 0);
  for (const ScheduleRow& row : table) {
    double total = 0;
    for (const Slice& slice : row.slices) {
      std::vector<std::string> words;
      std::istringstream split(slice.options);
      for (std::string w; split >> w;) words.push_back(w);
      words.push_back("problem.p");
      Prover p;
      p.out = std::tmpfile();
      EXPECT_NO_THROW(p.update_defaults(words)) << row.name << ": " << slice.options;
      std::fclose(p.out);
      total += slice.share;
    }
    EXPECT_NEAR(total, 1.0, 1e-9) << row.name;
    const Slice& last = row.slices.back();
    EXPECT_EQ(last.needs, 0u) << row.name;
    for (const char* incomplete :
         {"--restricted-backtracking", "--conjecture-start", "-mate", "-equality"})
      EXPECT_EQ(std::string(" ")
                    .append(last.options)
                    .append(" ")
                    .find(std::string(" ") + incomplete + " "),
                std::string::npos)
          << row.name;
  }
}

}  // namespace
}  // namespace velkor
