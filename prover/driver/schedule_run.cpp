// The slices of --auto: the problem's class chooses a row of the schedule
// table, and its slices run one after another in this process, or with
// --cores several at once in child processes.  Each slice runs an engine
// with its options on the same problem until its deadline; the first
// definite answer ends the run.
#include <algorithm>
#include <sstream>

#include "prover/driver/portfolio.hpp"
#include "prover/driver/run.hpp"

namespace velkor {
namespace {

// The lemma index of a slice holds at most this many megabytes (unless
// --index-limit says otherwise): on a problem with ever-new lemmas it would
// take a gigabyte a second.  With --memory-limit, at most half of it.
constexpr std::int64_t kSliceIndexLimitMb = 1024;

}  // namespace

int Run::run_schedule() {
  const double limit = settings->time_limit > 0 ? settings->time_limit : kDefaultAutoSeconds;
  const int cores = settings->cores;
  // The report and the class are of the whole problem.
  Variant& whole = variants[""];
  try {
    load_tableau(*settings, whole, true);
  } catch (const ProverExit&) {
    result = tableau_result(*settings, whole);
    return report();
  }
  const ScheduleTable* table = &builtin_schedule();
  ScheduleTable given;
  if (!settings->schedule_file.empty()) {
    std::string error;
    if (!read_schedule_file(settings->schedule_file, given, error)) {
      std::fprintf(stderr, "velkor: %s\n", error.c_str());
      result.verdict = Verdict::kInputError;
      return report();
    }
    table = &given;
  }
  const ProblemFeatures features = problem_features(*settings, input_counts());
  const Schedule chosen = choose_schedule(*table, features, limit * cores);
  print(class_line(features, chosen.name.c_str()));
  std::fflush(stdout);
  if (cores > 1) {
    int status;
    if (run_parallel(chosen, limit, cores, status)) return status;
  }
  for (std::size_t i = 0; i < chosen.slices.size(); ++i) {
    // The time left is shared by the slices left in proportion to their
    // weights; the last one takes all of it.
    double weights = 0;
    for (std::size_t j = i; j < chosen.slices.size(); ++j) weights += chosen.slices[j].weight;
    const double start = cpu_seconds();
    const double deadline =
        i + 1 == chosen.slices.size()
            ? limit
            : std::min(limit, start + chosen.slices[i].weight / weights * (limit - start));
    result = run_slice(chosen, i, deadline);
    if (ends_run(result.verdict)) return report();
    const std::string number = "% option set " + std::to_string(i + 1) + ": ";
    if (result.verdict == Verdict::kTimeout) {
      if (cpu_seconds() >= limit) return report();
      print(number + "time slice used up\n");
    } else if (!result.note.empty()) {
      print(number + result.note + "\n");
    }
    std::fflush(stdout);
  }
  result = SliceResult{};  // every slice gave up
  return report();
}

SliceResult Run::run_slice(const Schedule& chosen, std::size_t i, double deadline) {
  const Slice& slice = chosen.slices[i];
  // The slice's options, then the user's, which take precedence.
  std::vector<std::string> words;
  std::istringstream split(slice.options);
  for (std::string w; split >> w;) words.push_back(w);
  words.insert(words.end(), args.begin(), args.end());
  Prover p;
  Variant* v = nullptr;
  try {
    p.update_defaults(words);
    if (settings->index_limit_mb == 0) {
      if (p.index_limit_mb == 0) p.index_limit_mb = kSliceIndexLimitMb;
      if (memory_limit_mb > 0)
        p.index_limit_mb =
            std::min(p.index_limit_mb, std::max<std::int64_t>(memory_limit_mb / 2, 1));
    }
    v = variant(p);
    if (v == nullptr) return SliceResult{Verdict::kGaveUp, true, "", "no selection"};
    // Only the tableau reads the clauses into its prover.
    const bool tableau = !p.model_search && !p.ground_only && !p.saturation.on;
    if (tableau && !v->empty_clause()) load_tableau(p, *v, false);
    char budget[64];
    // Loading a large problem may already have used the slice's time.
    std::snprintf(budget, sizeof budget, " (up to %.2f s of CPU)\n",
                  std::max(0.0, deadline - cpu_seconds()));
    print("% option set " + std::to_string(i + 1) + " of " + std::to_string(chosen.slices.size()) +
          ": " + slice.options + budget);
    print_selection(*v);
    std::fflush(stdout);
    if (auto refuted = empty_clause_result(p, *v)) return std::move(*refuted);
  } catch (const ProverExit&) {
    return tableau_result(p, v != nullptr ? *v : variants[""]);
  }
  if ((p.model_search || p.ground_only) && problem != nullptr)
    return models_slice(p, *v, deadline, p.model_search);
  if (p.saturation.on && problem != nullptr) return saturation_slice(p, *v, deadline);
  return tableau_slice(p, *v, deadline);
}

// The slices on `cores` child processes at once.  Each gets its share of
// all the CPU time the cores give within the limit (at most the limit
// itself), the last one whatever wall-clock time is left when it starts;
// the run ends within `limit` seconds of wall-clock time.  False when no
// child could be started: then the caller runs them itself.
bool Run::run_parallel(const Schedule& chosen, double limit, int cores, int& status) {
  const int n = static_cast<int>(chosen.slices.size());
  double weights = 0;
  for (const Slice& slice : chosen.slices) weights += slice.weight;
  // The parent needs a moment after the last child to print its status.
  const double wall = limit - std::min(0.05 + 0.01 * limit, 0.3);
  constexpr int kNotStarted = -2;
  std::vector<int> ended(static_cast<std::size_t>(n), kNotStarted);
  PortfolioPlan plan;
  plan.jobs = n;
  plan.cores = cores;
  plan.wall_seconds = wall;
  plan.wall_start = wall_start;
  plan.budget = [&](int i, double elapsed) {
    const double left = wall - elapsed;
    if (left < 0.01) return 0.0;
    if (i + 1 == n) return left;
    const double share = chosen.slices[static_cast<std::size_t>(i)].weight / weights;
    return std::min(left, std::min(limit, share * limit * cores));
  };
  // The memory limit is shared: each child counts its own heap against
  // its part of it.
  const std::int64_t child_mb = child_memory_mb(memory_limit_mb, std::min(cores, n));
  plan.run_child = [&](int i, double budget) {
    if (child_mb > 0) common::set_memory_limit(static_cast<std::size_t>(child_mb) << 20);
    result = run_slice(chosen, static_cast<std::size_t>(i), cpu_seconds() + budget);
    if (!ends_run(result.verdict)) return child_exit_status(result.verdict);
    return report();
  };
  plan.no_answer = [&](int i, int code) { ended[static_cast<std::size_t>(i)] = code; };
  PortfolioEnd end;
  if (!run_portfolio(plan, end)) return false;
  if (end.winner >= 0) {
    status = end.status;
    reap_children(end);
    return true;
  }
  // No answer: say what became of each slice, then Timeout when the time
  // ran out (the last, complete slice was cut short), else GaveUp.
  for (int i = 0; i < n; ++i) {
    const int code = ended[static_cast<std::size_t>(i)];
    const char* what = code == kChildGaveUp       ? "gave up"
                       : code == kChildTimeUp     ? "time slice used up"
                       : code == kMemoryOutStatus ? "out of memory"
                       : code == kNotStarted      ? "not started"
                                                  : "stopped";
    print("% option set " + std::to_string(i + 1) + " of " + std::to_string(n) + ": " +
          chosen.slices[static_cast<std::size_t>(i)].options + ": " + what + "\n");
  }
  if (!end.wall_out && ended.back() == kMemoryOutStatus) {
    // The last, complete slice ran out of memory: say so, as one core would.
    result.verdict = Verdict::kMemoryOut;
    status = report();
  } else {
    result = SliceResult{};
    if (end.wall_out || ended.back() != kChildGaveUp) result.verdict = Verdict::kTimeout;
    status = report();
  }
  reap_children(end);
  return true;
}

}  // namespace velkor
