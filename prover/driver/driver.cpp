#include "prover/driver/driver.hpp"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>

#include "common/memory_out.hpp"
#include "prover/driver/features.hpp"
#include "prover/driver/portfolio.hpp"
#include "prover/driver/problem_file.hpp"
#include "prover/driver/schedule.hpp"
#include "prover/driver/selection.hpp"
#include "prover/driver/tstp.hpp"
#include "prover/models/models.hpp"
#include "prover/prover.hpp"
#include "version.hpp"

namespace velkor {
namespace {

// The lemma index of an option set of the schedule holds at most this many
// megabytes unless --index-limit or --memory-limit says otherwise.
constexpr std::int64_t kScheduleIndexLimitMb = 1024;

// Whether a failed search (no step cut off by a bound) shows that the
// clause set is satisfiable.  Restricted backtracking and the conjecture
// start clauses give up completeness; pruning by matings, the equality
// differences and the equality modification (its ordering constraints) are
// not known to keep it; after them a failure only means the search gave up.
// On a selection of the premises no failure shows anything.
bool search_is_complete(const Prover& p) {
  return !p.matings_pruning && !p.equality && !p.restricted_backtracking && !p.conjecture_start &&
         !p.equality_modification && !p.premises_left_out;
}

// Hands the prover what the equality modification adds to its clauses:
// their ordering constraints, and the reflexivity axiom, which closes
// s != t subgoals first.
void attach_equality_modification(Prover& p, const TptpProblem& tptp,
                                  const tptp::Written& written) {
  for (Clause* c : p.formula_clauses) {
    const tptp::WrittenClause& entry = written.entries.at(static_cast<std::size_t>(c->number - 1));
    if (entry.clause == tptp::WrittenClause::kEqualityAxiom) {
      if (c->length == 1) p.reflexivity_clause = c;
      continue;
    }
    const auto& ordering = tptp.problem.clauses[entry.clause].ordering;
    if (ordering.empty()) continue;
    auto* cells = p.arena.array<OrderingConstraint>(ordering.size());
    for (std::size_t i = 0; i < ordering.size(); ++i) {
      const tptp::OrderingConstraint& o = ordering[i];
      cells[i] = OrderingConstraint{static_cast<std::int32_t>(o.greater_literal),
                                    static_cast<std::int32_t>(o.greater_side),
                                    static_cast<std::int32_t>(o.smaller_literal),
                                    static_cast<std::int32_t>(o.smaller_side), o.strict};
    }
    c->ordering = cells;
    c->nr_ordering = static_cast<std::int64_t>(ordering.size());
  }
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
// an answer before its time was used up; a proof of a conjecture that rests
// on none of its clauses shows the axioms contradictory.
const char* szs_value(const Prover& p, bool conjecture, bool gave_up, bool uses_conjecture) {
  if (gave_up) return "GaveUp";
  switch (p.outcome) {
    case Outcome::kProof:
      if (!conjecture) return "Unsatisfiable";
      return uses_conjecture ? "Theorem" : "ContradictoryAxioms";
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
    // Words no problem run takes; a problem file cannot be named so.
    for (const std::string& word : args_) {
      if (word == "--help") return print_and_end(Prover::usage_text());
      if (word == "--version")
        return print_and_end(std::string("velkor ") + common::kRelease + " (commit " +
                             common::kCommit + ")\n");
    }
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
    // Within what a size_t holds; a limit of 0 or below is none.
    const std::int64_t mb = std::min<std::int64_t>(prover_->memory_limit_mb, std::int64_t{1} << 40);
    memory_limit_mb_ = mb;
    common::set_memory_limit(mb > 0 ? static_cast<std::size_t>(mb) << 20 : 0);
    if (prover_->model_search && !tptp_input_) {
      std::fputs("velkor: --models needs a TPTP problem\n", prover_->err);
      prover_->outcome = Outcome::kUnsupported;
      return finish(1);
    }
    if (!prover_->premise_selection.empty() && !tptp_input_) {
      std::fputs("velkor: --select needs a TPTP problem\n", prover_->err);
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
  static int print_and_end(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }

  // Ends the run: the time-limit line, the SZS status line and after it
  // the output block that shows the answer, the flush.
  int finish(int status) {
    Prover& p = *prover_;
    if (p.outcome == Outcome::kTimeout) p.print("\n     ***** TIME LIMIT REACHED *****\n");
    if (p.statistics) print_statistics(p);
    if (szs_) {
      p.print("% SZS status ");
      p.print(decided_ != nullptr ? decided_
                                  : szs_value(p, has_conjecture(), gave_up_, uses_conjecture_));
      p.print(" for " + source_.problem_name + "\n");
      p.print(output_block_);
    }
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
      tptp_ = read_selected_problem(p, path_);
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
      if (p.proof_output) output_block_ = empty_clause_refutation(p, source_);
      uses_conjecture_ = clause.role == tptp::Role::Conjecture;
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
    p.premises_left_out = tptp_input_ && tptp_->premises_left_out;
    const tptp::Written* written = tptp_input_ ? &tptp_->written : nullptr;
    const tptp::Written* modified =
        tptp_input_ && p.equality_modification ? equality_modification(*tptp_) : nullptr;
    if (modified != nullptr) written = modified;
    source_.written = written;
    p.read_problem_text(path_, written != nullptr ? std::string_view(written->text) : text_, false);
    if (modified != nullptr) attach_equality_modification(p, *tptp_, *modified);
    if (report) {
      p.display_statistics();
      p.flush();
    }
  }

  void search(Prover& p, double deadline) {
    p.cpu_deadline = deadline;
    if (szs_) {
      p.record_derivations = p.proof_output;
      p.proof_printer = [this](Prover& q) {
        uses_conjecture_ = proof_uses_conjecture(q);
        if (q.proof_output) output_block_ = tstp_refutation(q, source_);
      };
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
    // A model of the kept premises says nothing of those left out.
    if (result.verdict == models::Verdict::kSatisfiable && p.premises_left_out) {
      p.print("% selection: a model of the kept premises is no answer\n");
      result.verdict = models::Verdict::kTooLarge;
    }
    const bool conjecture = has_conjecture();
    switch (result.verdict) {
      case models::Verdict::kUnsatisfiable:
        decided_ = !conjecture                              ? "Unsatisfiable"
                   : rests_on_conjecture(result.refutation) ? "Theorem"
                                                            : "ContradictoryAxioms";
        if (p.proof_output) output_block_ = ground_refutation(*prover_, source_, result.refutation);
        break;
      case models::Verdict::kSatisfiable:
        decided_ = conjecture ? "CounterSatisfiable" : "Satisfiable";
        output_block_ = std::move(result.model_block);
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

  // Whether a ground refutation needs an instance of the conjecture; the
  // instances it lists are unsatisfiable by themselves.
  bool rests_on_conjecture(const std::vector<models::GroundInstance>& instances) const {
    for (const models::GroundInstance& i : instances)
      if (i.clause != models::GroundInstance::kTheory &&
          tptp_->problem.clauses[i.clause].role == tptp::Role::Conjecture)
        return true;
    return false;
  }

  // Reads the problem once, with the report, for the features that choose
  // the schedule; then runs its option sets, one after another or with
  // --cores several at once.
  int schedule() {
    const double limit = prover_->time_limit > 0 ? prover_->time_limit : kDefaultAutoSeconds;
    const int cores = prover_->cores;
    try {
      load(*prover_, true);
    } catch (const ProverExit& e) {
      return finish(e.status);
    }
    const ProblemFeatures features = problem_features(*prover_, input_counts());
    const Schedule chosen = choose_schedule(features, limit * cores);
    prover_->print(class_line(features, chosen.name));
    prover_->flush();
    // A problem without function symbols is decided by its ground
    // instances when they are few enough.
    if (tptp_ != nullptr && models::is_epr(tptp_->problem)) {
      const models::Verdict verdict =
          decide_by_models(std::min(limit, cpu_seconds() + kGroundingShare * limit), false);
      if (verdict == models::Verdict::kSatisfiable || verdict == models::Verdict::kUnsatisfiable)
        return finish(0);
    }
    if (cores > 1) {
      int status;
      if (run_parallel(chosen, limit, cores, status)) return status;
    }
    for (std::size_t i = 0; i < chosen.slices.size(); ++i) {
      const bool last = i + 1 == chosen.slices.size();
      const double start = cpu_seconds();
      const double deadline =
          last ? limit : std::min(limit, start + chosen.slices[i].share * limit);
      switch (run_slice(chosen, i, deadline, limit)) {
        case SliceEnd::kAnswer:
        case SliceEnd::kTimeUp:
          return finish(status_);
        case SliceEnd::kGaveUp:
        case SliceEnd::kSliceUsedUp:
          break;
      }
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

  // What the TPTP reader saw that the clause records no longer tell.
  InputCounts input_counts() const {
    InputCounts counts;
    if (tptp_ == nullptr) return counts;
    const tptp::Problem& problem = tptp_->problem;
    counts.formulas = static_cast<std::int64_t>(problem.formulas.size());
    counts.statements = counts.formulas;
    for (const tptp::Formula& f : problem.formulas)
      counts.conjectures += f.role_text == "conjecture";
    for (const tptp::Clause& c : problem.clauses)
      if (c.formulas.empty()) {
        ++counts.statements;
        counts.conjectures += c.role_text == "negated_conjecture";
      }
    counts.equality_axioms = static_cast<std::int64_t>(tptp_->written.equality_axioms);
    return counts;
  }

  // How an option set ended: with an answer that ends the run (a proof, a
  // complete search that failed, an error); without one, because its
  // search gave up or its slice was used up; or with the whole time limit
  // used up.
  enum class SliceEnd { kAnswer, kGaveUp, kSliceUsedUp, kTimeUp };

  // Runs option set i of the schedule on a fresh prover until `deadline`
  // (process CPU seconds).
  SliceEnd run_slice(const Schedule& chosen, std::size_t i, double deadline, double limit) {
    const std::string& options = chosen.slices[i].options;
    std::vector<std::string> words(args_.begin(), args_.end() - 1);
    std::istringstream split(options);
    for (std::string w; split >> w;) words.push_back(w);
    words.push_back(path_);
    tally(*prover_);
    prover_.reset();
    prover_ = std::make_unique<Prover>();
    Prover& p = *prover_;
    const std::string number = std::to_string(i + 1);
    status_ = 0;
    try {
      p.update_defaults(words);
      // The schedule's option sets use the lemma index; on a problem whose
      // lemmas are all new it would take memory a gigabyte a second.
      if (p.index_limit_mb == 0)
        p.index_limit_mb = memory_limit_mb_ > 0 ? std::max<std::int64_t>(memory_limit_mb_ / 2, 1)
                                                : kScheduleIndexLimitMb;
      load(p, false);
      char budget[64];
      std::snprintf(budget, sizeof budget, " (up to %.2f s of CPU)\n", deadline - cpu_seconds());
      p.print("% option set " + number + " of " + std::to_string(chosen.slices.size()) + ": " +
              options + budget);
      p.flush();
      // A slice of model generation: its answers are definite, and a
      // search that runs out of time or sizes hands over to the next set.
      if (p.model_search && tptp_ != nullptr) {
        switch (decide_by_models(deadline, true)) {
          case models::Verdict::kSatisfiable:
          case models::Verdict::kUnsatisfiable:
            return SliceEnd::kAnswer;
          case models::Verdict::kTimeout:
            if (cpu_seconds() >= limit) {
              p.outcome = Outcome::kTimeout;
              status_ = kTimeoutStatus;
              return SliceEnd::kTimeUp;
            }
            p.print("% option set " + number + ": time slice used up\n");
            p.flush();
            return SliceEnd::kSliceUsedUp;
          case models::Verdict::kTooLarge:
          case models::Verdict::kFault:
            p.flush();
            return SliceEnd::kGaveUp;
        }
      }
      search(p, deadline);
    } catch (const ProverExit& e) {
      status_ = e.status;
    }
    SliceEnd end = SliceEnd::kGaveUp;
    switch (p.outcome) {
      case Outcome::kProof:
        return SliceEnd::kAnswer;
      case Outcome::kSatisfiable:
        if (search_is_complete(p)) return SliceEnd::kAnswer;
        p.print("% option set " + number + ": incomplete search exhausted\n");
        break;
      case Outcome::kBoundReached:
        break;
      case Outcome::kTimeout:
        if (cpu_seconds() >= limit) return SliceEnd::kTimeUp;
        p.print("% option set " + number + ": time slice used up\n");
        end = SliceEnd::kSliceUsedUp;
        break;
      default:
        return SliceEnd::kAnswer;
    }
    p.flush();
    return end;
  }

  // The option sets on `cores` child processes at once.  Each gets its
  // share of all the CPU time the cores give within the limit (at most the
  // limit itself), the last one whatever wall-clock time is left when it
  // starts; the run ends within `limit` seconds of wall-clock time.  False
  // when no child could be started: then the caller runs them itself.
  bool run_parallel(const Schedule& chosen, double limit, int cores, int& status) {
    const int n = static_cast<int>(chosen.slices.size());
    // The parent needs a moment after the last child to print its status.
    const double wall = limit - std::min(0.05 + 0.01 * limit, 0.3);
    constexpr int kNotStarted = -2;
    std::vector<int> ended(static_cast<std::size_t>(n), kNotStarted);
    PortfolioPlan plan;
    plan.jobs = n;
    plan.cores = cores;
    plan.wall_seconds = wall;
    plan.wall_start = wall_start_;
    plan.budget = [&](int i, double elapsed) {
      const double left = wall - elapsed;
      if (left < 0.01) return 0.0;
      if (i + 1 == n) return left;
      return std::min(
          left, std::min(limit, chosen.slices[static_cast<std::size_t>(i)].share * limit * cores));
    };
    // The memory limit is shared: each child counts its own heap against
    // its part of it.
    const std::int64_t child_mb = child_memory_mb(memory_limit_mb_, std::min(cores, n));
    plan.run_child = [&](int i, double budget) {
      if (child_mb > 0) common::set_memory_limit(static_cast<std::size_t>(child_mb) << 20);
      const double infinite = std::numeric_limits<double>::infinity();
      switch (run_slice(chosen, static_cast<std::size_t>(i), cpu_seconds() + budget, infinite)) {
        case SliceEnd::kAnswer:
          return finish(status_);
        case SliceEnd::kGaveUp:
          return kChildGaveUp;
        default:
          return kChildTimeUp;
      }
    };
    plan.no_answer = [&](int i, int code) { ended[static_cast<std::size_t>(i)] = code; };
    PortfolioEnd end;
    if (!run_portfolio(plan, end)) return false;
    if (end.winner >= 0) {
      status = end.status;
      reap_children(end);
      return true;
    }
    // No answer: say what became of each option set, then Timeout when the
    // time ran out (the last, complete set was cut short), else GaveUp.
    Prover& p = *prover_;
    for (int i = 0; i < n; ++i) {
      const int code = ended[static_cast<std::size_t>(i)];
      const char* what = code == kChildGaveUp       ? "gave up"
                         : code == kChildTimeUp     ? "time slice used up"
                         : code == kMemoryOutStatus ? "out of memory"
                         : code == kNotStarted      ? "not started"
                                                    : "stopped";
      p.print("% option set " + std::to_string(i + 1) + " of " + std::to_string(n) + ": " +
              chosen.slices[static_cast<std::size_t>(i)].options + ": " + what + "\n");
    }
    if (!end.wall_out && ended.back() == kMemoryOutStatus) {
      // The last, complete set ran out of memory: say so, as one core would.
      if (szs_) p.print(memory_out_status);
      p.flush();
      status = kMemoryOutStatus;
    } else if (end.wall_out || ended.back() != kChildGaveUp) {
      p.outcome = Outcome::kTimeout;
      status = finish(kTimeoutStatus);
    } else {
      gave_up_ = true;
      status = finish(0);
    }
    reap_children(end);
    return true;
  }

  double wall_start_ = monotonic_seconds();
  std::int64_t memory_limit_mb_ = 0;  // of the whole run, 0: none
  std::vector<std::string> args_;
  const char* decided_ = nullptr;  // the status that model generation found
  std::string path_;
  bool tptp_input_;
  bool szs_ = false;
  bool gave_up_ = false;
  bool uses_conjecture_ = true;  // by the proof found
  std::string output_block_;     // printed after the SZS status line
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
