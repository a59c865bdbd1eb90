// The tableau search on a slice: the clause set it searches (the
// problem's clauses with the axioms of equality, or the equality
// modification's clause set), the search itself, and its outcome as a
// result.  Both clause sets are derived from the problem on first use and
// kept for the slices after it; the problem itself never changes.
#include "prover/driver/run.hpp"

namespace velkor {

const tptp::Written& Run::plain_written() {
  if (!written) {
    tptp::WriteOptions options;
    options.free_numbers = problem->theory.free_numbers;
    written = tptp::write_problem(problem->clauses, options);
  }
  return *written;
}

const Run::Modified* Run::modified_written() {
  if (!modification_tried) {
    modification_tried = true;
    equality::Modification m = equality::modify(problem->clauses, problem->theory.distinct_pairs());
    if (m.uses_equality) {
      // The disequations of distinct objects are among the modified
      // clauses already; reflexivity is the only axiom of equality left.
      tptp::WriteOptions options;
      options.equality_axioms = tptp::EqualityAxioms::kReflexivity;
      options.distinct_objects = false;
      tptp::Written w = tptp::write_problem(m.clauses, options);
      modified = Modified{std::move(m), std::move(w)};
    }
  }
  return modified ? &*modified : nullptr;
}

ProofSource Run::proof_source(const tptp::Written* w, const equality::Modification* m) const {
  return ProofSource{path, problem_name(path), problem.get(), w, m};
}

SliceResult Run::tableau_slice(Prover& p, double deadline) {
  p.cpu_deadline = deadline;
  if (szs) {
    p.record_derivations = p.proof_output;
    p.proof_printer = [this](Prover& q) {
      const Modified* m =
          problem != nullptr && q.equality_modification ? modified_written() : nullptr;
      const ProofSource source = proof_source(m != nullptr         ? &m->written
                                              : problem != nullptr ? &plain_written()
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
  return tableau_result(p);
}

SliceResult Run::tableau_result(Prover& p) {
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
      // complete (the option table says which options give that up).
      r.verdict = p.complete_search ? Verdict::kSatisfiable : Verdict::kGaveUp;
      if (!p.complete_search) r.note = "incomplete search exhausted";
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
