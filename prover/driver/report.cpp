// The end of a run: the time-limit line, the statistics, the SZS status
// line and, after it, the output block that shows the answer.  Every path
// ends here, so a harness always finds the status line last but for the
// block, and standard output is flushed before the exit.
#include "prover/driver/run.hpp"

namespace velkor {

void Run::count_search(const Prover& p) {
  if (p.search_start_cpu < 0) return;
  ++tally.searches;
  tally.successful += p.total_successful_inferences + p.successful_inferences;
  tally.failed += p.total_failed_inferences + p.failed_inferences;
  tally.refusals += p.bound_refusals;
  tally.cpu += p.search_cpu_seconds();
}

int Run::report() {
  if (result.verdict == Verdict::kTimeout) print("\n     ***** TIME LIMIT REACHED *****\n");
  if (settings->statistics && tally.searches > 0) {
    // All levels of all searches, the last level counted as far as it got.
    char cpu[32];
    std::snprintf(cpu, sizeof cpu, "%.3f", tally.cpu);
    print("% statistics: successful inferences " + std::to_string(tally.successful) +
          "\n% statistics: failed inferences " + std::to_string(tally.failed) +
          "\n% statistics: refusals at the depth bound " + std::to_string(tally.refusals) +
          "\n% statistics: search CPU seconds " + cpu + "\n");
  }
  if (szs) {
    const bool conjecture = problem != nullptr && problem->has_conjecture();
    print(std::string("% SZS status ") + szs_status(result, conjecture) + " for " +
          problem_name(path) + "\n");
    print(result.output);
  }
  std::fflush(stdout);
  return exit_status(result.verdict);
}

}  // namespace velkor
