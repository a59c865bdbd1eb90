// The given-clause loop (DISCOUNT): pick a passive clause, simplify it by
// the active ones, and unless it is redundant let it simplify them,
// activate it and add the conclusions of its inferences with them
// (simplified in turn) to the passive set.  The loop ends with the empty
// clause, with an empty passive set (saturation), or at a limit.
#include "prover/saturation/state.hpp"

namespace velkor::saturation {

Saturation::Saturation(const tptp::Problem& problem,
                       const std::vector<std::uint32_t>& distinct_objects, const Settings& settings)
    : problem(problem), distinct(distinct_objects), settings(settings) {}

Result Saturation::run() {
  read_problem();
  while (!stop() && !out_of_time() && !memory_out) {
    Clause* given = next_given();
    if (given == nullptr) break;
    if (!forward_simplify(given, true)) {
      free_clause(given);
      continue;
    }
    if (given->empty()) {
      empty_clause = given;
      given->state = ClauseState::kRetired;
      break;
    }
    activate(given);
    ++stats.processed;
    backward_simplify(given);
    if (!stop()) generate(given);
  }
  return answer();
}

Result Saturation::answer() {
  Result result;
  if (empty_clause != nullptr) {
    result.verdict = Verdict::kUnsatisfiable;
    result.uses_conjecture = empty_clause->from_conjecture;
    if (settings.proof) record_proof(empty_clause, result);
  } else if (timed_out) {
    result.verdict = Verdict::kTimeout;
  } else if (memory_out) {
    result.verdict = Verdict::kMemoryOut;
  } else if (complete) {
    result.verdict = Verdict::kSatisfiable;
  } else {
    result.verdict = Verdict::kGaveUp;
    result.reason = incomplete_reason;
  }
  stats.passive = static_cast<std::int64_t>(passive_count_);
  result.statistics = stats;
  return result;
}

Result saturate(const tptp::Problem& problem, const std::vector<std::uint32_t>& distinct_objects,
                const Settings& settings) {
  Saturation saturation(problem, distinct_objects, settings);
  return saturation.run();
}

}  // namespace velkor::saturation
