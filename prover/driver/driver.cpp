#include "prover/driver/driver.hpp"

#include <time.h>

#include <algorithm>
#include <cstdio>

#include "common/memory_out.hpp"
#include "prover/driver/portfolio.hpp"
#include "prover/driver/run.hpp"
#include "version.hpp"

namespace velkor {
namespace {

// The last words of a run that runs out of memory, written without
// allocating anything.
char memory_out_status[256];

void report_memory_out() {
  std::fputs("velkor: out of memory\n", stderr);
  std::fputs(memory_out_status, stdout);
}

int print_and_end(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace

double cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Run::Run(const std::vector<std::string>& words)
    : args(words.begin() + (words.empty() ? 0 : 1), words.end()),
      path(args.empty() ? std::string() : args.back()),
      tptp_input(!path.empty() && detect_format(path) == ProblemFormat::kTptp),
      wall_start(monotonic_seconds()) {}

// The stages of a run: the command line, the problem, then one search, or
// with --auto the schedule of searches, and the report.
int Run::go() {
  // Words no problem run takes; a problem file cannot be named so.
  for (const std::string& word : args) {
    if (word == "--help") return print_and_end(Prover::usage_text());
    if (word == "--version")
      return print_and_end(std::string("velkor ") + common::kRelease + " (commit " +
                           common::kCommit + ")\n");
  }
  settings = std::make_unique<Prover>();
  try {
    if (settings->update_defaults(args) >= args.size()) {
      settings->print("Abort: error in parameter list\n");
      settings->end_run(Outcome::kOptionError, 1);
    }
  } catch (const ProverExit& e) {
    // Without a problem name there is nothing to give a status for.
    if (path.empty()) return e.status;
    szs = tptp_input || settings->szs_output;
    result.verdict = Verdict::kOptionError;
    return report();
  }
  szs = tptp_input || settings->szs_output;
  if (szs)
    std::snprintf(memory_out_status, sizeof memory_out_status, "%% SZS status MemoryOut for %s\n",
                  problem_name(path).c_str());
  common::on_memory_out(report_memory_out, kMemoryOutStatus);
  // Within what a size_t holds; a limit of 0 or below is none.
  memory_limit_mb = std::min<std::int64_t>(settings->memory_limit_mb, std::int64_t{1} << 40);
  common::set_memory_limit(memory_limit_mb > 0 ? static_cast<std::size_t>(memory_limit_mb) << 20
                                               : 0);
  if ((settings->model_search || settings->ground_only || settings->saturation.on) && !tptp_input) {
    std::fprintf(stderr, "velkor: %s needs a TPTP problem\n",
                 settings->model_search  ? "--models"
                 : settings->ground_only ? "--ground"
                                         : "--saturation");
    result.verdict = Verdict::kInappropriate;
    return report();
  }

  if (!load()) return report();
  if (settings->auto_mode) return run_schedule();
  Prover& p = *settings;
  Variant* v = variant(p);
  if (v == nullptr) {
    result.verdict = Verdict::kInappropriate;
    return report();
  }
  print_selection(*v);
  if (auto refuted = empty_clause_result(p, *v)) {
    result = std::move(*refuted);
    return report();
  }
  try {
    load_tableau(p, *v, true);
    if (p.model_search || p.ground_only) {
      result = models_slice(p, *v, p.time_limit, p.model_search);
    } else if (p.saturation.on) {
      result = saturation_slice(p, *v, p.time_limit);
    } else {
      // A search stopped by the clock may be very deep (a large first
      // depth bound): end the process from where it stands.
      p.on_timeout = [this](Prover& q) {
        count_search(q);
        result.verdict = Verdict::kTimeout;
        const int status = report();
        std::fflush(stdout);
        std::_Exit(status);
      };
      result = tableau_slice(p, *v, p.time_limit);
    }
  } catch (const ProverExit&) {
    result = tableau_result(p, *v);  // a run that ended while loading
  }
  return report();
}

int run_velkor(const std::vector<std::string>& words) {
  return Run(words).go();
}

}  // namespace velkor
