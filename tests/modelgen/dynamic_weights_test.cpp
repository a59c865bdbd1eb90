// Dynamic weighting keeps one weight shift per clause instead of adjusting
// every member: long clauses cost linear time, and every attempt leaves the
// shifts at zero, so the weight sums read afterwards are the built ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "modelgen/model_generator.hpp"
#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

TEST(DynamicWeights, LongClausesTakeLinearTime) {
  // Two clauses of 65,000 literals, all positive and all negative: every
  // assignment shrinks or satisfies a clause of all the other atoms.
  // Adjusting each member at each change took about ten seconds here; a
  // linear pass takes a fraction of one, even in the sanitizer build.
  std::string positive = "(", negative = "(";
  for (int atom = 1; atom <= 65000; ++atom) {
    positive += std::to_string(atom) + " ";
    negative += "-" + std::to_string(atom) + " ";
  }
  std::string path =
      testing_support::write_temp_file("long-clauses.txt", positive + ")\n" + negative + ")\n");
  RunResult result = testing_support::run_program(QUORVEL_BIN, {"-dynamic", "-verbose", "3", path},
                                                  /*timeout_seconds=*/8);
  expect_output(result, "satisfiable: 1 branches\n");
}

TEST(DynamicWeights, AttemptsLeaveNoShiftBehind) {
  // Random 3-clauses over 30 atoms, enough of them to need backtracking,
  // and a unit clause, whose step comes before any split switches -maxdyn 0 off.
  std::string file = "(7)\n";
  std::uint32_t state = 12345;
  auto next = [&](std::uint32_t bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % bound;
  };
  for (int c = 0; c < 140; ++c) {
    file += "(";
    for (int k = 0; k < 3; ++k)
      file += (next(2) ? "-" : "") + std::to_string(next(30) + 1) + (k < 2 ? " " : ")\n");
  }
  std::string path = testing_support::write_temp_file("random3.txt", file);
  std::FILE* sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{"-dynamic", "-allmodels"},
                                             {"-maxdyn", "3", "-dynatom", "4", "-max"},
                                             {"-maxdyn", "0"}}) {
    std::vector<std::string> words = options;
    words.push_back(path);
    std::vector<std::string_view> views(words.begin(), words.end());
    modelgen::ModelGenerator g;
    g.out = sink;
    g.parse_options(views);
    g.read_clauses(views);
    for (std::int32_t limit : {5, 60, 0}) {
      g.step_limit = limit;
      g.reset_unit_stack();
      g.split_search(0, 0, 0);
      EXPECT_TRUE(g.weights_shifted) << words[0];
      for (const modelgen::Clause& clause : g.clause_records)
        ASSERT_EQ(clause.weight_shift, 0) << words[0] << " limit " << limit;
      for (const modelgen::Atom& atom : g.atom_records)
        ASSERT_EQ(g.current_positive_weight(&atom), atom.positive_weight) << words[0];
    }
  }
  std::fclose(sink);
}

}  // namespace
}  // namespace quorvel_test
