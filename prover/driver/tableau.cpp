// The tableau search on a slice (on the problem's clauses with the axioms
// of equality, or on the equality modification's clause set): the search
// itself, and its outcome as a result.
#include "prover/driver/run.hpp"

namespace velkor {

SliceResult Run::tableau_slice(Prover& p, Variant& v, double deadline) {
  p.cpu_deadline = deadline;
  if (szs) {
    p.record_derivations = p.proof_output;
    p.proof_printer = [this, &v](Prover& q) {
      const Modified* m =
          v.problem != nullptr && q.equality_modification ? modified_written(v) : nullptr;
      const ProofSource source = proof_source(v,
                                              m != nullptr           ? &m->written
                                              : v.problem != nullptr ? &plain_written(v)
                                                                     : nullptr,
                                              m != nullptr ? &m->modification : nullptr);
      result.uses_conjecture = proof_uses_conjecture(q);
      if (q.proof_output) result.output = tstp_refutation(q, source);
    };
  }
  try {
    p.prepare_and_search();
  } catch (const ProverExit&) {
  }
  return tableau_result(p, v);
}

SliceResult Run::tableau_result(Prover& p, const Variant& v) {
  count_search(p);
  SliceResult r;
  switch (p.outcome) {
    case Outcome::kProof:
      r.verdict = Verdict::kRefutation;
      r.uses_conjecture = result.uses_conjecture;
      r.output = std::move(result.output);
      break;
    case Outcome::kSatisfiable:
      // A failed search shows the clauses satisfiable only when it was
      // complete (the option table says which options give that up) and
      // searched all of them.
      r.verdict = p.complete_search && !v.partial ? Verdict::kSatisfiable : Verdict::kGaveUp;
      if (!p.complete_search)
        r.note = "incomplete search exhausted";
      else if (v.partial)
        r.note = "the selected premises are satisfiable";
      break;
    case Outcome::kBoundReached:
    case Outcome::kNone:
      r.verdict = Verdict::kGaveUp;
      break;
    case Outcome::kTimeout:
      r.verdict = Verdict::kTimeout;
      break;
    case Outcome::kOptionError:
      r.verdict = Verdict::kOptionError;
      break;
    case Outcome::kFileError:
      r.verdict = Verdict::kInputError;
      break;
    case Outcome::kSyntaxError:
      r.verdict = Verdict::kSyntaxError;
      break;
    case Outcome::kUnsupported:
      r.verdict = Verdict::kInappropriate;
      break;
  }
  return r;
}

}  // namespace velkor
