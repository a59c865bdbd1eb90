// The search reuses its copies, trail entries and stacks: once a depth level
// has been searched, searching it again takes nothing from the arena and
// grows none of the trails and stacks.
#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

// A satisfiable non-Horn set: every level fails with steps cut off by the
// bound, so a level can be searched again and again.
const char* kProblem = R"(
input_clause(a1,conjecture,[--a(X),--b(X)]).
input_clause(a2,axiom,[++a(f(X)),++c(X)]).
input_clause(a3,axiom,[--c(X),++a(X)]).
input_clause(a4,axiom,[++b(X),++c(g(X))]).
)";

class SearchAllocationTest : public ProverTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(SearchAllocationTest, RepeatingALevelAllocatesNothing) {
  std::string options = GetParam();
  p->regularity = p->constraints = options.find("reg") != std::string::npos;
  p->foldup = options.find("foldup") != std::string::npos;
  p->sgindex = options.find("sgindex") != std::string::npos;
  load(kProblem);
  p->make_connection_graph(p->formula_clauses, p->formula_clauses);
  Clause* start = p->formula_clauses[0];
  for (std::int64_t depth = 1; depth <= 4; ++depth) {
    p->extension_solve(nullptr, start, nullptr, depth, 0, 2);
    ASSERT_TRUE(p->bound_fail);
    std::size_t arena_before = p->arena.handed_out();
    auto sizes = [&] {
      return std::vector<std::size_t>{p->trail_items.size(), p->v_trail_items.size(),
                                      p->c_stack_cells.size(), p->eq_trail_literals.size()};
    };
    auto sizes_before = sizes();
    std::int64_t inferences_before = p->successful_inferences + p->failed_inferences;
    p->extension_solve(nullptr, start, nullptr, depth, 0, 2);
    EXPECT_EQ(p->arena.handed_out(), arena_before) << "depth " << depth;
    EXPECT_EQ(sizes(), sizes_before) << "depth " << depth;
    // The same search really ran again.
    EXPECT_GT(p->successful_inferences + p->failed_inferences, inferences_before);
    EXPECT_EQ(p->trail_top, 0u);
    EXPECT_EQ(p->v_trail_top, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, SearchAllocationTest,
                         ::testing::Values("plain", "reg", "foldup", "reg foldup"));

}  // namespace
}  // namespace velkor::testing
