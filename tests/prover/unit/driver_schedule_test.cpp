// The schedule table is data written by bench/schedule/choose: every row
// must be usable as it stands, whatever the class and limit, and the text
// form must be read strictly.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "prover/driver/schedule.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

// Each slice's options are velkor options, and each row's last slice runs
// on every class with a complete search (as the option table says), so
// that the schedule can still call a problem satisfiable; the last row fits
// every problem and limit.
TEST(ScheduleTable, EveryRowIsAWholeScheduleAndTheLastFitsAll) {
  const ScheduleTable& table = builtin_schedule();
  ASSERT_FALSE(table.rows.empty());
  EXPECT_EQ(table.rows.back().require | table.rows.back().exclude, 0u);
  EXPECT_EQ(table.rows.back().up_to, 0);
  for (const ScheduleRow& row : table.rows) {
    bool complete = false;
    for (const Slice& slice : row.slices) {
      std::vector<std::string> words;
      std::istringstream split(slice.options);
      for (std::string w; split >> w;) words.push_back(w);
      words.push_back("problem.p");
      Prover p;
      p.out = std::tmpfile();
      EXPECT_NO_THROW(p.update_defaults(words)) << row.name << ": " << slice.options;
      std::fclose(p.out);
      complete = p.complete_search && !p.ground_only;
    }
    EXPECT_EQ(row.slices.back().needs, 0u) << row.name;
    EXPECT_TRUE(complete) << row.name;
  }
}

TEST(ScheduleTable, TextFormIsReadStrictly) {
  ScheduleTable t;
  std::string error;
  ASSERT_TRUE(
      parse_schedule("# c\nrow a require=epr up-to=2\nslice 0.5 needs=equality -reg\n"
                     "slice 1 --models # why\nrow b\nslice 2 -reg -sgindex\n",
                     t, error))
      << error;
  ASSERT_EQ(t.rows.size(), 2u);
  EXPECT_EQ(t.rows[0].require, unsigned{kEpr});
  EXPECT_EQ(t.rows[0].up_to, 2);
  EXPECT_EQ(t.rows[0].slices[0].needs, unsigned{kEquality});
  EXPECT_EQ(t.rows[0].slices[1].options, "--models");
  EXPECT_EQ(t.rows[1].slices[0].options, "-reg -sgindex");
  for (const char* bad : {"", "row a\n", "slice 1 -reg\n", "row a\nslice 0 -reg\n",
                          "row a needs=epr\nslice 1 -reg\n", "row a\nslice 1 needs=odd -reg\n",
                          "row a\nrow b\nslice 1 -reg\n", "row a\nslice 1\n", "rows a\n"})
    EXPECT_FALSE(parse_schedule(bad, t, error)) << bad;
  // A slice whose needs the class lacks is left out.
  ASSERT_TRUE(parse_schedule("row a\nslice 1 needs=equality -x\nslice 1 -y\n", t, error));
  ProblemFeatures f;
  EXPECT_EQ(choose_schedule(t, f, 10).slices.size(), 1u);
  f.traits = kEquality;
  EXPECT_EQ(choose_schedule(t, f, 10).slices.size(), 2u);
}

}  // namespace
}  // namespace velkor
