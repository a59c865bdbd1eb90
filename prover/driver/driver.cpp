#include "prover/driver/driver.hpp"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "common/memory_out.hpp"
#include "prover/driver/problem_file.hpp"
#include "prover/driver/schedule.hpp"
#include "prover/driver/tstp.hpp"
#include "prover/models/models.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

// Whether a failed search (no step cut off by a bound) shows that the
// clause set is satisfiable.  Restricted backtracking and the conjecture
// start clauses give up completeness; pruning by matings and the equality
// differences are not known to keep it; after them a failure only means
// the search gave up.
bool search_is_complete(const Prover& p) {
  return !p.matings_pruning && !p.equality && !p.restricted_backtracking && !p.conjecture_start;
}

// The last words of a run that runs out of memory, written without
// allocating anything.
char memory_out_status[256];

void report_memory_out() {
  std::fputs("velkor: out of memory\n", stderr);
  std::fputs(memory_out_status, stdout);
}

double cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// What the harness is told.  `gave_up` marks a schedule that ended without
// an answer before its time was used up.
const char* szs_value(const Prover& p, bool conjecture, bool gave_up) {
  if (gave_up) return "GaveUp";
  switch (p.outcome) {
    case Outcome::kProof:
      return conjecture ? "Theorem" : "Unsatisfiable";
    case Outcome::kSatisfiable:
      if (!search_is_complete(p)) return "GaveUp";
      return conjecture ? "CounterSatisfiable" : "Satisfiable";
    case Outcome::kBoundReached:
      return "GaveUp";
    case Outcome::kTimeout:
      return "Timeout";
    case Outcome::kOptionError:
      return "Error";
    case Outcome::kUnsupported:
      return "Inappropriate";
    case Outcome::kFileError:
      return "InputError";
    case Outcome::kSyntaxError:
      return "SyntaxError";
    case Outcome::kNone:
      break;
  }
  return "Error";
}

class Run {
 public:
  Run(const std::vector<std::string>& words)
      : args_(words.begin() + (words.empty() ? 0 : 1), words.end()),
        path_(args_.empty() ? std::string() : args_.back()),
        tptp_input_(!path_.empty() && detect_format(path_) == ProblemFormat::kTptp),
        source_{path_, problem_name(path_), nullptr} {}

  int go() {
    prover_ = std::make_unique<Prover>();
    try {
      if (prover_->update_defaults(args_) >= args_.size()) {
        prover_->print("Abort: error in parameter list\n");
        prover_->end_run(Outcome::kOptionError, 1);
      }
    } catch (const ProverExit& e) {
      // Without a problem name there is nothing to give a status for.
      if (path_.empty()) return e.status;
      szs_ = tptp_input_ || prover_->szs_output;
      return finish(e.status);
    }
    szs_ = tptp_input_ || prover_->szs_output;
    if (szs_)
      std::snprintf(memory_out_status, sizeof memory_out_status, "%% SZS status MemoryOut for %s\n",
                    source_.problem_name.c_str());
    common::on_memory_out(report_memory_out, kMemoryOutStatus);
    if (prover_->model_search && !tptp_input_) {
      std::fputs("velkor: --models needs a TPTP problem\n", prover_->err);
      prover_->outcome = Outcome::kUnsupported;
      return finish(1);
    }
    if (tptp_input_ && !read_tptp()) return finish(status_);
    if (prover_->model_search) return model_search();
    if (prover_->auto_mode) return schedule();
    try {
      load(*prover_, true);
      // A search stopped by the clock may be very deep (a large first depth
      // bound): end the process from where it stands.
      prover_->on_timeout = [this](Prover&) {
        int status = finish(kTimeoutStatus);
        std::fflush(stdout);
        std::_Exit(status);
      };
      search(*prover_, prover_->time_limit);
    } catch (const ProverExit& e) {
      status_ = e.status;
    }
    return finish(status_);
  }

 private:
  // Ends the run: the time-limit line, the SZS status line, the flush.
  int finish(int status) {
    Prover& p = *prover_;
    if (p.outcome == Outcome::kTimeout) p.print("\n     ***** TIME LIMIT REACHED *****\n");
    if (p.statistics) print_statistics(p);
    if (szs_) {
      p.print("% SZS status ");
      p.print(decided_ != nullptr ? decided_ : szs_value(p, has_conjecture(), gave_up_));
      p.print(" for " + source_.problem_name + "\n");
    }
    if (output_block_) output_block_();
    p.flush();
    return status;
  }

  // A first-order conjecture is proved (Theorem) or shown not to follow
  // (CounterSatisfiable); clause problems are refuted or satisfied.
  bool has_conjecture() const { return tptp_ != nullptr && tptp_->problem.has_conjecture; }

  // Adds the counts of a prover whose search is over to those of the run
  // (a schedule runs several).
  void tally(const Prover& p) {
    if (p.search_start_cpu < 0) return;
    ++tally_.searches;
    tally_.successful += p.total_successful_inferences + p.successful_inferences;
    tally_.failed += p.total_failed_inferences + p.failed_inferences;
    tally_.refusals += p.bound_refusals;
    tally_.cpu += p.search_cpu_seconds();
  }

  // All levels of all searches, the last level counted as far as it got.
  void print_statistics(Prover& p) {
    tally(p);
    if (tally_.searches == 0) return;
    char cpu[32];
    std::snprintf(cpu, sizeof cpu, "%.3f", tally_.cpu);
    p.print("% statistics: successful inferences ");
    p.print(tally_.successful);
    p.print("\n% statistics: failed inferences ");
    p.print(tally_.failed);
    p.print("\n% statistics: refusals at the depth bound ");
    p.print(tally_.refusals);
    p.print("\n% statistics: search CPU seconds ");
    p.print(cpu);
    p.print("\n");
  }

  // Converts the TPTP problem once for every search.  False when the
  // problem cannot be used, or when an empty clause answers it at once.
  bool read_tptp() {
    Prover& p = *prover_;
    p.print(path_ + ": Trying to parse\n");
    p.flush();
    try {
      tptp_ = read_tptp_problem(path_);
    } catch (const tptp::ConvertError& error) {
      std::fprintf(p.err, "velkor: %s\n", error.where_and_what().c_str());
      std::fflush(p.err);
      switch (error.kind()) {
        case tptp::ConvertError::Kind::kSyntax:
          p.outcome = Outcome::kSyntaxError;
          status_ = 255;
          break;
        case tptp::ConvertError::Kind::kInput:
          p.outcome = Outcome::kFileError;
          status_ = 1;
          break;
        case tptp::ConvertError::Kind::kInappropriate:
          p.outcome = Outcome::kUnsupported;
          status_ = 1;
          break;
      }
      return false;
    }
    source_.tptp = tptp_.get();
    if (tptp_->empty_clause) {
      const tptp::Clause& clause = tptp_->problem.clauses[*tptp_->empty_clause];
      p.print("Input clause " + tptp::tptp_text(clause.name) +
              " is empty: the problem is refuted without inferences.\n");
      p.print("\n     ***** PROOF WITH 0 INFERENCES FOUND *****\n\n");
      if (p.proof_output) print_empty_clause_refutation(p, source_);
      p.outcome = Outcome::kProof;
      status_ = 0;
      return false;
    }
    text_ = tptp_->written.text;
    return true;
  }

  // Gives the problem to a prover, with the report the first time.
  void load(Prover& p, bool report) {
    if (!tptp_input_ && report) {
      p.read_tptp(path_);
      if (p.auto_mode) {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        text_ = contents.str();
      }
      return;
    }
    p.read_problem_text(path_, text_, false);
    if (report) {
      p.display_statistics();
      p.flush();
    }
  }

  void search(Prover& p, double deadline) {
    p.cpu_deadline = deadline;
    if (szs_ && p.proof_output) {
      p.record_derivations = true;
      p.proof_printer = [this](Prover& q) { print_tstp_refutation(q, source_); };
    }
    p.prepare_and_search();
  }

  // --models: the problem is decided by its ground instances when it has
  // no function symbols and they are few enough, else finite models are
  // searched for until the time limit.
  int model_search() {
    Prover& p = *prover_;
    load(p, true);
    switch (decide_by_models(p.time_limit, true)) {
      case models::Verdict::kUnsatisfiable:
      case models::Verdict::kSatisfiable:
        return finish(0);
      case models::Verdict::kTimeout:
        p.outcome = Outcome::kTimeout;
        return finish(kTimeoutStatus);
      case models::Verdict::kTooLarge:
      case models::Verdict::kFault:
        break;
    }
    gave_up_ = true;
    return finish(0);
  }

  // Model generation up to `deadline` (process CPU seconds, 0: none): the
  // ground instances of a problem without function symbols, then, if
  // `finite_models`, finite models.  An answer is kept for `finish`.
  models::Verdict decide_by_models(double deadline, bool finite_models) {
    Prover& p = *prover_;
    const tptp::Problem& problem = tptp_->problem;
    models::Settings settings;
    settings.cpu_deadline = deadline;
    settings.problem_name = source_.problem_name;
    // The schedule's option sets prove many problems whose instances are
    // beyond the budget; only --models spends its time choosing instances.
    settings.instantiate_beyond_budget = finite_models && prover_->model_search;
    models::Result result;
    if (models::is_epr(problem)) {
      result = models::decide_by_grounding(problem, settings);
      p.print("% grounding: " + std::to_string(result.instances) + " ground clauses" +
              (result.verdict == models::Verdict::kTooLarge ? ", more than the budget allows\n"
                                                            : "\n"));
    }
    if (result.verdict == models::Verdict::kTooLarge && finite_models) {
      result = models::find_finite_model(problem, settings);
      p.print("% finite models: tried sizes up to " + std::to_string(result.domain_size) + "\n");
    }
    const bool conjecture = has_conjecture();
    switch (result.verdict) {
      case models::Verdict::kUnsatisfiable:
        decided_ = conjecture ? "Theorem" : "Unsatisfiable";
        if (p.proof_output)
          output_block_ = [this, instances = std::move(result.refutation)] {
            print_ground_refutation(*prover_, source_, instances);
          };
        break;
      case models::Verdict::kSatisfiable:
        decided_ = conjecture ? "CounterSatisfiable" : "Satisfiable";
        output_block_ = [this, block = std::move(result.model_block)] { prover_->print(block); };
        break;
      case models::Verdict::kFault:
        std::fputs("velkor: internal error: a model failed its check and is not shown\n", p.err);
        break;
      case models::Verdict::kTimeout:
      case models::Verdict::kTooLarge:
        break;
    }
    p.flush();
    return result.verdict;
  }

  // Runs the option sets of the schedule one after another, each on a
  // fresh prover, until one answers.
  int schedule() {
    const double limit = prover_->time_limit > 0 ? prover_->time_limit : kDefaultAutoSeconds;
    const std::vector<Slice>& slices = default_schedule();
    std::vector<std::string> user(args_.begin(), args_.end() - 1);
    for (std::size_t i = 0; i < slices.size(); ++i) {
      const bool last = i + 1 == slices.size();
      std::vector<std::string> words = user;
      std::istringstream options(slices[i].options);
      for (std::string w; options >> w;) words.push_back(w);
      words.push_back(path_);
      double start = cpu_seconds();
      double deadline = last ? limit : std::min(limit, start + slices[i].share * limit);
      if (i > 0) {
        tally(*prover_);
        prover_ = std::make_unique<Prover>();
      }
      Prover& p = *prover_;
      status_ = 0;
      try {
        p.update_defaults(words);
        load(p, i == 0);
        // A problem without function symbols is decided by its ground
        // instances when they are few enough.
        if (i == 0 && tptp_ != nullptr && models::is_epr(tptp_->problem)) {
          models::Verdict verdict = decide_by_models(start + kGroundingShare * limit, false);
          if (verdict == models::Verdict::kSatisfiable ||
              verdict == models::Verdict::kUnsatisfiable)
            return finish(0);
          start = cpu_seconds();
          deadline = last ? limit : std::min(limit, start + slices[i].share * limit);
        }
        char budget[64];
        std::snprintf(budget, sizeof budget, " (up to %.2f s of CPU)\n", deadline - start);
        p.print("% option set " + std::to_string(i + 1) + " of " + std::to_string(slices.size()) +
                ": " + slices[i].options + budget);
        p.flush();
        search(p, deadline);
      } catch (const ProverExit& e) {
        status_ = e.status;
      }
      switch (p.outcome) {
        case Outcome::kProof:
          return finish(status_);
        case Outcome::kSatisfiable:
          if (search_is_complete(p)) return finish(status_);
          p.print("% option set " + std::to_string(i + 1) + ": incomplete search exhausted\n");
          break;
        case Outcome::kBoundReached:
          break;
        case Outcome::kTimeout:
          if (cpu_seconds() >= limit) return finish(status_);
          p.print("% option set " + std::to_string(i + 1) + ": time slice used up\n");
          break;
        default:
          return finish(status_);
      }
      p.flush();
    }
    // What time is left goes to the search for a finite model.
    if (tptp_ != nullptr && !models::is_epr(tptp_->problem) && cpu_seconds() < limit) {
      models::Verdict verdict = decide_by_models(limit, true);
      if (verdict == models::Verdict::kSatisfiable) return finish(0);
    }
    gave_up_ = true;
    return finish(0);
  }

  // The share of the time limit that grounding may take before the
  // schedule's option sets.
  static constexpr double kGroundingShare = 0.5;

  std::vector<std::string> args_;
  const char* decided_ = nullptr;       // the status that model generation found
  std::function<void()> output_block_;  // printed after the status line
  std::string path_;
  bool tptp_input_;
  bool szs_ = false;
  bool gave_up_ = false;
  int status_ = 0;
  struct {
    std::int64_t searches = 0, successful = 0, failed = 0, refusals = 0;
    double cpu = 0;
  } tally_;
  ProofSource source_;
  std::unique_ptr<Prover> prover_;
  std::unique_ptr<TptpProblem> tptp_;
  std::string text_;  // the problem for provers after the first
};

}  // namespace

int run_velkor(const std::vector<std::string>& words) {
  return Run(words).go();
}

}  // namespace velkor
