#include "prover/driver/saturation_run.hpp"

#include <time.h>

#include <algorithm>

#include "prover/saturation/saturation.hpp"

namespace velkor {
namespace {

// Without --memory-limit the engine still drops passive clauses near this
// bound rather than grow until the machine refuses.
constexpr std::int64_t kDefaultBoundMb = 2048;

double cpu_now() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Integers written in the canonical way: different spellings are then
// different numbers.  ("01" or "-0" would name a number some other
// spelling names too, so they stay ordinary constants.)
bool canonical_integer(const std::string& s) {
  const std::size_t start = !s.empty() && s[0] == '-' ? 1 : 0;
  if (start == s.size() || s.find_first_not_of("0123456789", start) != std::string::npos)
    return false;
  if (s[start] == '0') return s.size() == start + 1 && start == 0;
  return true;
}

// The symbols that name pairwise distinct elements: "..." objects and
// integers.
std::vector<std::uint32_t> distinct_objects(const tptp::Problem& problem) {
  std::vector<std::uint32_t> ids;
  for (std::uint32_t id = 0; id < problem.symbol_count(); ++id) {
    const tptp::Symbol& s = problem.symbol(id);
    if (s.kind == tptp::SymbolKind::Distinct ||
        (s.kind == tptp::SymbolKind::Number && canonical_integer(s.spelling)))
      ids.push_back(id);
  }
  return ids;
}

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

SaturationAnswer run_saturation(Prover& p, const TptpProblem& tptp, const ProofSource& source) {
  SaturationAnswer answer;
  saturation::Settings settings;
  if (!strategy_of(p.saturation, settings.strategy)) {
    p.print("Abort: error in parameter list\n");
    p.outcome = Outcome::kOptionError;
    answer.status = 1;
    return answer;
  }
  settings.cpu_deadline = p.time_limit;
  settings.memory_mb = p.memory_limit_mb > 0 ? std::max<std::int64_t>(p.memory_limit_mb * 3 / 4, 1)
                                             : kDefaultBoundMb;
  settings.proof = p.proof_output;
  const double start = cpu_now();
  saturation::Result result =
      saturation::saturate(tptp.problem, distinct_objects(tptp.problem), settings);
  result.statistics.cpu_seconds = cpu_now() - start;
  const saturation::Statistics& s = result.statistics;
  p.print("% saturation: " + std::to_string(s.processed) + " clauses processed, " +
          std::to_string(s.generated) + " generated\n");
  if (result.verdict == saturation::Verdict::kGaveUp)
    p.print("% saturation: saturated without a model: " + result.reason + "\n");
  if (p.statistics) p.print(saturation::statistics_table(s));
  const bool conjecture = tptp.problem.has_conjecture;
  switch (result.verdict) {
    case saturation::Verdict::kUnsatisfiable:
      answer.szs = !conjecture              ? "Unsatisfiable"
                   : result.uses_conjecture ? "Theorem"
                                            : "ContradictoryAxioms";
      if (p.proof_output) answer.output_block = saturation_refutation(p, source, result.proof);
      p.outcome = Outcome::kProof;
      break;
    case saturation::Verdict::kSatisfiable:
      answer.szs = conjecture ? "CounterSatisfiable" : "Satisfiable";
      p.outcome = Outcome::kSatisfiable;
      break;
    case saturation::Verdict::kGaveUp:
      answer.szs = "GaveUp";
      break;
    case saturation::Verdict::kTimeout:
      p.outcome = Outcome::kTimeout;
      answer.status = kTimeoutStatus;
      break;
    case saturation::Verdict::kMemoryOut:
      answer.szs = "MemoryOut";
      answer.status = kMemoryOutStatus;
      break;
  }
  return answer;
}

}  // namespace velkor
