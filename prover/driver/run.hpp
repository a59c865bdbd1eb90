// The state of one velkor run as the driver sees it, in one place: the
// command line, the problem once it is loaded, what the engines derived
// from it, and what the run will report.
//
// The driver is the one place that knows every engine.  Its stages read
// top to bottom in driver.cpp (command line, load, classify, schedule, run
// the slices, report); each concern that takes more than a screen has a
// file of its own:
//   load.cpp        reading the problem, the report on it
//   variants.cpp    the whole problem or a selection of its premises, and
//                   the clause sets the tableau derives from each
//   tableau.cpp     the tableau search (with or without the equality
//                   modification) on a slice
//   models.cpp      model generation (grounding, finite models) on a slice
//   saturation.cpp  the saturation engine on a slice
//   schedule_run.cpp  the slices of --auto, one after another or at once
//   report.cpp      the SZS status line, the output block, the statistics
// Every engine is handed the same read-only Problem and gives back a
// SliceResult; nothing one engine derives reaches another.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prover/driver/features.hpp"
#include "prover/driver/schedule.hpp"
#include "prover/driver/tstp.hpp"
#include "prover/driver/verdict.hpp"
#include "prover/equality/modify.hpp"
#include "prover/problem/problem.hpp"
#include "prover/prover.hpp"
#include "tptp/writer.hpp"

namespace velkor {

double cpu_seconds();

struct Run {
  explicit Run(const std::vector<std::string>& words);
  struct Variant;
  int go();

  // ---- Command line (driver.cpp) ---------------------------------------------
  std::vector<std::string> args;     // the words after the program name
  std::string path;                  // the problem file: the last word
  bool tptp_input = false;           // a TPTP problem, not input_clause entries
  bool szs = false;                  // an SZS status line ends the run
  std::unique_ptr<Prover> settings;  // the options as given (a prover reads them)
  std::int64_t memory_limit_mb = 0;  // of the whole run, 0: none
  double wall_start = 0;             // monotonic clock at the start

  // ---- Problem (load.cpp) ----------------------------------------------------
  std::unique_ptr<const Problem> problem;  // null for an input_clause file
  std::string text;  // an input_clause file's contents, for the searches after the first
  // Prints the first line, reads a TPTP problem; false when the run ends
  // there (an error, or an empty clause that refutes the problem).
  bool load();
  // Gives variant `v` of the problem to a tableau prover, with the report
  // on it if asked.
  void load_tableau(Prover& p, Variant& v, bool report);
  InputCounts input_counts();

  // ---- The problem as a slice sees it (variants.cpp) ----------------------------
  // The whole problem, or a selection of its premises (--select), with
  // what the tableau derived from it on first use: its clauses written as
  // input_clause entries with the axioms of equality, and the equality
  // modification's clause set written with reflexivity.  Kept for the
  // slices after the first; none of it is written back into a problem.
  struct Modified {
    equality::Modification modification;
    tptp::Written written;
  };
  struct Variant {
    const Problem* problem = nullptr;         // null for an input_clause file
    std::unique_ptr<const Problem> selected;  // a selection's own problem
    std::string selection;                    // how it was selected, "" for the whole
    bool partial = false;                     // premises were left out: a failure shows nothing
    std::optional<tptp::Written> written;
    std::optional<Modified> modified;
    bool modification_tried = false;
    bool empty_clause() const { return problem != nullptr && problem->empty_clause.has_value(); }
  };
  std::map<std::string, Variant> variants;  // by selection, "" for the whole problem
  // The variant a prover's options ask for; null when they ask for a
  // selection that cannot be made (said on standard error).
  Variant* variant(const Prover& p);
  void print_selection(const Variant& v) const;  // "% selection: ..." for a selection
  // A variant whose clauses include the empty clause is refuted by it alone
  // (a selection may keep a formula that is plainly false).
  std::optional<SliceResult> empty_clause_result(Prover& p, const Variant& v) const;
  const tptp::Written& plain_written(Variant& v);
  const Modified* modified_written(Variant& v);  // null when the problem has no equality
  ProofSource proof_source(const Variant& v, const tptp::Written* w,
                           const equality::Modification* m) const;

  // ---- The tableau (tableau.cpp) -----------------------------------------------
  // Searches with prover `p` (its options read, `v` loaded) until
  // `deadline` (process CPU seconds, 0: none).
  SliceResult tableau_slice(Prover& p, Variant& v, double deadline);
  // How the prover's run ended, as a result (counted in the tally).
  SliceResult tableau_result(Prover& p, const Variant& v);

  // ---- Model generation (models.cpp) -----------------------------------------
  // Decides by ground instances (a problem without function symbols), then,
  // with `finite_models`, by finite models, until `deadline`.
  SliceResult models_slice(Prover& p, Variant& v, double deadline, bool finite_models);

  // ---- Saturation (saturation.cpp) -------------------------------------------
  // The saturation engine with the prover's --sat- options until `deadline`.
  SliceResult saturation_slice(Prover& p, Variant& v, double deadline);

  // ---- The schedule (schedule_run.cpp) -----------------------------------------
  int run_schedule();
  // Runs slice i of `chosen` on a fresh prover until `deadline`.
  SliceResult run_slice(const Schedule& chosen, std::size_t i, double deadline);
  bool run_parallel(const Schedule& chosen, double limit, int cores, int& status);

  // ---- Report (report.cpp) -----------------------------------------------------
  SliceResult result;
  struct {
    std::int64_t searches = 0, successful = 0, failed = 0, refusals = 0;
    double cpu = 0;
  } tally;
  void count_search(const Prover& p);  // adds a prover's counts to the tally
  // The time-limit line, the statistics, the SZS status line and the output
  // block; flushes and returns the exit status of `result`.
  int report();
  void print(const std::string& line) const;  // to standard output
};

}  // namespace velkor
