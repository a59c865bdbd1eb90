// Every attempt gives back the state it started from: values, open counts,
// satisfied marks, weight sums and the dynamic switch.  Restarts rely on it,
// and an attempt cut off at any depth must undo as much as a completed one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modelgen/model_generator.hpp"

namespace {

using modelgen::ModelGenerator;

struct Snapshot {
  std::vector<std::int64_t> weights;
  std::vector<int> values;
  std::vector<std::int32_t> open_counts;
  std::vector<const modelgen::Atom*> satisfied_by;
  bool dynamic;

  explicit Snapshot(const ModelGenerator& g) : dynamic(g.dynamic) {
    for (const modelgen::Atom& atom : g.atom_records) {
      weights.push_back(atom.positive_weight);
      weights.push_back(atom.negative_weight);
      values.push_back(static_cast<int>(atom.value));
    }
    for (const modelgen::Clause& clause : g.clause_records) {
      open_counts.push_back(clause.open_count);
      satisfied_by.push_back(clause.satisfied_by);
    }
  }
  bool operator==(const Snapshot&) const = default;
};

TEST(SearchState, AttemptsUndoEverythingTheyChange) {
  std::string file = std::string(TEST_DATA_DIR) + "/satlib/uuf50-01.cnf";
  const std::vector<std::vector<std::string>> settings = {
      {},
      {"-dynamic"},
      {"-dynamic", "-dynatom", "3", "-max"},
      {"-maxdyn", "4", "-dynatom", "2"},
      {"-maxdyn", "0"},
      {"-maxdyn", "-1"},
      {"-split", "40", "-dynamic", "-neg"},
      {"-allmodels", "-rand", "5", "-freqdiv", "100000000"},
  };
  std::FILE* sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  for (const auto& options : settings) {
    std::vector<std::string> words = options;
    words.push_back(file);
    std::vector<std::string_view> views(words.begin(), words.end());
    ModelGenerator g;
    g.out = sink;
    g.parse_options(views);
    g.read_clauses(views);
    Snapshot built(g);
    for (std::int32_t limit : {1, 7, 40, 300, 0}) {
      g.step_limit = limit;
      g.reset_unit_stack();
      std::int64_t result = g.split_search(0, 0, 0);
      EXPECT_EQ(result == modelgen::kAbortMark, limit != 0) << words[0] << " limit " << limit;
      EXPECT_TRUE(Snapshot(g) == built) << words[0] << " limit " << limit;
    }
  }
  std::fclose(sink);
}

}  // namespace
