// The problem as a slice sees it: the whole problem, or a selection of its
// premises, and the clause sets the tableau derives from either (written
// with the axioms of equality, or the equality modification's).  Each is
// made on first use and kept for the slices after it; the problem itself
// never changes.
#include "prover/driver/run.hpp"
#include "prover/select/select.hpp"

namespace velkor {

Run::Variant* Run::variant(const Prover& p) {
  const std::string& wanted = p.premise_selection;
  auto [it, made] = variants.try_emplace(wanted);
  Variant& v = it->second;
  if (!made || wanted.empty()) return &v;
  select::Params params;
  if (problem == nullptr || !select::parse_params(wanted, params)) {
    std::fputs("velkor: --select needs a TPTP problem\n", stderr);
    variants.erase(it);
    return nullptr;
  }
  // The selection works on the statements as read; only what it keeps is
  // clausified.  Selecting everything is the whole problem.
  tptp::Problem statements = statements_of(*problem);
  const select::Selection selection = select::select_premises(statements, params);
  v.selection = selection.description;
  v.partial = selection.partial();
  if (!v.partial) {
    v.problem = problem.get();
    return &v;
  }
  v.selected = make_problem(path, select::restrict_problem(statements, selection),
                            problem->theory.free_numbers);
  v.problem = v.selected.get();
  return &v;
}

void Run::print_selection(const Variant& v) const {
  if (!v.selection.empty()) print("% selection: " + v.selection + "\n");
}

std::optional<SliceResult> Run::empty_clause_result(Prover& p, const Variant& v) const {
  if (v.problem == nullptr || !v.problem->empty_clause) return std::nullopt;
  SliceResult r;
  r.verdict = Verdict::kRefutation;
  r.uses_conjecture =
      v.problem->clauses.clauses[*v.problem->empty_clause].role == tptp::Role::Conjecture;
  if (p.proof_output) r.output = empty_clause_refutation(p, proof_source(v, nullptr, nullptr));
  return r;
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
