// Model generation on a slice: a problem without function symbols is
// decided by its ground instances when they are few enough; with
// `finite_models`, finite models are searched for after that.
#include "prover/models/models.hpp"

#include "prover/driver/run.hpp"

namespace velkor {

SliceResult Run::models_slice(Prover& p, Variant& v, double deadline, bool finite_models) {
  const Problem& problem = *v.problem;
  models::Settings settings;
  settings.cpu_deadline = deadline;
  settings.problem_name = problem.name;
  // Only a search for models spends its time choosing instances beyond the
  // budget: grounding alone leaves such problems to the other slices.
  settings.instantiate_beyond_budget = finite_models;
  models::Result found;
  if (models::is_epr(problem.clauses)) {
    found = models::decide_by_grounding(problem, settings);
    print("% grounding: " + std::to_string(found.instances) + " ground clauses" +
          (found.verdict == models::Verdict::kTooLarge ? ", more than the budget allows\n" : "\n"));
  }
  if (found.verdict == models::Verdict::kTooLarge && finite_models) {
    found = models::find_finite_model(problem, settings);
    print("% finite models: tried sizes up to " + std::to_string(found.domain_size) + "\n");
  }
  SliceResult r;
  switch (found.verdict) {
    case models::Verdict::kUnsatisfiable: {
      r.verdict = Verdict::kRefutation;
      r.uses_conjecture = false;
      for (const models::GroundInstance& i : found.refutation)
        if (i.clause < problem.clauses.clauses.size() &&
            problem.clauses.clauses[i.clause].role == tptp::Role::Conjecture)
          r.uses_conjecture = true;
      if (p.proof_output)
        r.output = ground_refutation(p, proof_source(v, nullptr, nullptr), found.refutation);
      break;
    }
    case models::Verdict::kSatisfiable:
      // A model of the selected premises need not be one of the others.
      r.verdict = v.partial ? Verdict::kGaveUp : Verdict::kSatisfiable;
      if (v.partial)
        r.note = "the selected premises have a model";
      else
        r.output = std::move(found.model_block);
      break;
    case models::Verdict::kTimeout:
      r.verdict = Verdict::kTimeout;
      break;
    case models::Verdict::kFault:
      std::fputs("velkor: internal error: a model failed its check and is not shown\n", stderr);
      r.verdict = Verdict::kGaveUp;
      break;
    case models::Verdict::kTooLarge:
      r.verdict = Verdict::kGaveUp;
      break;
  }
  p.flush();
  return r;
}

}  // namespace velkor
