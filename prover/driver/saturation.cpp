// The saturation engine on a slice: its strategy from the --sat- options,
// the problem's clauses and theory handed over read-only, and its answer
// as a result.
#include "prover/saturation/saturation.hpp"

#include <algorithm>

#include "prover/driver/run.hpp"

namespace velkor {
namespace {

// Without --memory-limit the engine still drops passive clauses near this
// bound rather than grow until the machine refuses.
constexpr std::int64_t kDefaultBoundMb = 2048;

// The strategy the options ask for; false for an unknown name or a value
// out of range.
bool strategy_of(const Prover::SaturationOptions& o, saturation::Strategy& s) {
  if (!o.strategy.empty() && !saturation::strategy_by_name(o.strategy, s)) return false;
  if (o.selection > 3 || o.precedence > 1) return false;
  if (o.selection >= 0) s.selection = static_cast<saturation::Selection>(o.selection);
  if (o.precedence >= 0) s.precedence = static_cast<saturation::Precedence>(o.precedence);
  if (o.weight_picks >= 0) s.weight_picks = o.weight_picks, s.age_picks = o.age_picks;
  if (o.weight_limit >= 0) s.max_weight = static_cast<std::uint64_t>(o.weight_limit);
  return true;
}

}  // namespace

SliceResult Run::saturation_slice(Prover& p, Variant& v, double deadline) {
  SliceResult r;
  saturation::Settings settings;
  if (!strategy_of(p.saturation, settings.strategy)) {
    print("Abort: error in parameter list\n");
    r.verdict = Verdict::kOptionError;
    return r;
  }
  settings.cpu_deadline = deadline;
  // The passive set is the engine's memory: it keeps to a part of the
  // run's limit (of a child's, with --cores).
  const std::int64_t limit = memory_limit_mb;
  settings.memory_mb = limit > 0 ? std::max<std::int64_t>(limit * 3 / 4, 1) : kDefaultBoundMb;
  settings.proof = p.proof_output;
  const Problem& problem = *v.problem;
  const double start = cpu_seconds();
  saturation::Result found =
      saturation::saturate(problem.clauses, problem.theory.distinct_objects, settings);
  found.statistics.cpu_seconds = cpu_seconds() - start;
  const saturation::Statistics& s = found.statistics;
  print("% saturation: " + std::to_string(s.processed) + " clauses processed, " +
        std::to_string(s.generated) + " generated\n");
  if (p.statistics) print(saturation::statistics_table(s));
  switch (found.verdict) {
    case saturation::Verdict::kUnsatisfiable:
      r.verdict = Verdict::kRefutation;
      r.uses_conjecture = found.uses_conjecture;
      if (p.proof_output)
        r.output = saturation_refutation(p, proof_source(v, nullptr, nullptr), found.proof);
      break;
    case saturation::Verdict::kSatisfiable:
      // Saturated: the selected premises, not necessarily all, have a model.
      r.verdict = v.partial ? Verdict::kGaveUp : Verdict::kSatisfiable;
      if (v.partial) r.note = "the selected premises are saturated";
      break;
    case saturation::Verdict::kGaveUp:
      r.verdict = Verdict::kGaveUp;
      r.note = "saturated without a model: " + found.reason;
      break;
    case saturation::Verdict::kTimeout:
      r.verdict = Verdict::kTimeout;
      break;
    case saturation::Verdict::kMemoryOut:
      // The engine's own bound, not the process's: the next slice may go on.
      r.verdict = Verdict::kGaveUp;
      r.note = "the saturation's memory bound was reached";
      break;
  }
  std::fflush(stdout);
  return r;
}

}  // namespace velkor
