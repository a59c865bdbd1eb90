// The problem as a slice sees it: the whole problem, or a selection of its
// premises, and the clause sets the tableau derives from either (written
// with the axioms of equality, or the equality modification's).  Each is
// made on first use and kept for the slices after it; the problem itself
// never changes.
#include "prover/driver/run.hpp"

namespace velkor {

Run::Variant* Run::variant(const Prover& p) {
  (void)p;
  return &variants[""];
}

const tptp::Written& Run::plain_written(Variant& v) {
  if (!v.written) {
    tptp::WriteOptions options;
    options.free_numbers = v.problem->theory.free_numbers;
    v.written = tptp::write_problem(v.problem->clauses, options);
  }
  return *v.written;
}

const Run::Modified* Run::modified_written(Variant& v) {
  if (!v.modification_tried) {
    v.modification_tried = true;
    equality::Modification m =
        equality::modify(v.problem->clauses, v.problem->theory.distinct_pairs());
    if (m.uses_equality) {
      // The disequations of distinct objects are among the modified
      // clauses already; reflexivity is the only axiom of equality left.
      tptp::WriteOptions options;
      options.equality_axioms = tptp::EqualityAxioms::kReflexivity;
      options.distinct_objects = false;
      tptp::Written w = tptp::write_problem(m.clauses, options);
      v.modified = Modified{std::move(m), std::move(w)};
    }
  }
  return v.modified ? &*v.modified : nullptr;
}

ProofSource Run::proof_source(const Variant& v, const tptp::Written* w,
                              const equality::Modification* m) const {
  return ProofSource{path, problem_name(path), v.problem, w, m};
}

}  // namespace velkor
