// The conflict-driven engine driven by a byte string: each byte below 0x80
// is a literal over 32 variables (bit 5 the sign), a byte from 0xc0 adds the
// literals gathered as a clause, one from 0x80 to 0xbf solves under them as
// assumptions with a small conflict budget.  Every answer is checked: a
// model satisfies every clause and assumption, failed assumptions are
// assumptions, and clauses found unsatisfiable stay so.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "modelgen/cdcl/solver.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using modelgen::cdcl::Answer;
  modelgen::cdcl::Solver solver;
  std::vector<std::vector<int>> clauses;
  std::vector<int> literals;
  bool unsatisfiable = false;
  for (std::size_t i = 0; i < size; ++i) {
    std::uint8_t byte = data[i];
    if (byte < 0x80) {
      int variable = (byte & 0x1f) + 1;
      literals.push_back(byte & 0x20 ? -variable : variable);
      continue;
    }
    if (byte >= 0xc0) {
      solver.add_clause(literals);
      clauses.push_back(literals);
      literals.clear();
      continue;
    }
    Answer answer = solver.solve(literals, 200);
    if (answer == Answer::kSatisfiable) {
      if (unsatisfiable) std::abort();
      for (const std::vector<int>& clause : clauses) {
        if (std::none_of(clause.begin(), clause.end(), [&](int literal) {
              return solver.value(std::abs(literal)) == (literal > 0);
            }))
          std::abort();
      }
      for (int literal : literals)
        if (solver.value(std::abs(literal)) != (literal > 0)) std::abort();
    } else if (answer == Answer::kUnsatisfiable) {
      for (int failed : solver.failed_assumptions())
        if (std::find(literals.begin(), literals.end(), -failed) == literals.end()) std::abort();
      unsatisfiable = unsatisfiable || solver.failed_assumptions().empty();
    }
    literals.clear();
  }
  return 0;
}
