// The SATLIB benchmark instances: uf* are satisfiable, uuf* unsatisfiable,
// and the branch counts pin the search itself (a change in backjumping or
// atom order that keeps every verdict still changes them). The models are
// checked against the clauses by corpus_short.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

TEST(Satlib, EveryInstanceGetsTheKnownAnswerInTheKnownNumberOfBranches) {
  const std::pair<const char*, const char*> instances[] = {
    {"uf20-02", "satisfiable: 11 branches"},
    {"uf20-04", "satisfiable: 19 branches"},
    {"uf50-01", "satisfiable: 260 branches"},
    {"uf50-02", "satisfiable: 78 branches"},
    {"uf75-01", "satisfiable: 393 branches"},
    {"uf100-01", "satisfiable: 3930 branches"},
    {"uf125-011", "satisfiable: 106478 branches"},
    {"uuf50-01", "unsatisfiable: 1125 branches"},
    {"uuf50-03", "unsatisfiable: 639 branches"},
    {"uuf75-03", "unsatisfiable: 13303 branches"},
    {"uuf100-01", "unsatisfiable: 35107 branches"},
#if !defined(__SANITIZE_ADDRESS__)  // many times slower there, and adds nothing
    {"uuf125-040", "unsatisfiable: 245831 branches"},
#endif
  };
  for (const auto& [name, result] : instances)
    expect_output(
        run_args({"-verbose", "3", std::string(TEST_DATA_DIR) + "/satlib/" + name + ".cnf"}),
        std::string(result) + "\n");
}

}  // namespace
}  // namespace quorvel_test
