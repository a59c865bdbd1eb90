// Loading: a TPTP problem is read and clausified once, with its theory;
// an input_clause file is read by the prover itself.  The first tableau
// prover prints the six-line report on the clauses it reads.
#include <fstream>
#include <sstream>

#include "prover/driver/run.hpp"
#include "tptp/error.hpp"

namespace velkor {

bool Run::load() {
  variants[""];  // the whole problem, null for an input_clause file
  if (!tptp_input) return true;
  print(path + ": Trying to parse\n");
  std::fflush(stdout);
  try {
    LoadOptions options;
    options.free_numbers = settings->free_numbers;
    problem = load_problem(path, options);
  } catch (const tptp::ConvertError& error) {
    std::fprintf(stderr, "velkor: %s\n", error.where_and_what().c_str());
    std::fflush(stderr);
    switch (error.kind()) {
      case tptp::ConvertError::Kind::kSyntax:
        result.verdict = Verdict::kSyntaxError;
        break;
      case tptp::ConvertError::Kind::kInput:
        result.verdict = Verdict::kInputError;
        break;
      case tptp::ConvertError::Kind::kInappropriate:
        result.verdict = Verdict::kInappropriate;
        break;
    }
    return false;
  }
  variants[""].problem = problem.get();
  if (!problem->empty_clause) return true;
  const tptp::Clause& clause = problem->clauses.clauses[*problem->empty_clause];
  print("Input clause " + tptp::tptp_text(clause.name) +
        " is empty: the problem is refuted without inferences.\n");
  print("\n     ***** PROOF WITH 0 INFERENCES FOUND *****\n\n");
  result.verdict = Verdict::kRefutation;
  result.uses_conjecture = clause.role == tptp::Role::Conjecture;
  if (settings->proof_output)
    result.output =
        empty_clause_refutation(*settings, ProofSource{path, problem->name, problem.get()});
  return false;
}

void Run::load_tableau(Prover& p, Variant& v, bool report) {
  if (!tptp_input) {
    if (report) {
      p.read_tptp(path);
      if (p.auto_mode) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        text = contents.str();
      }
      return;
    }
    p.read_problem_text(path, text, false);
    return;
  }
  const Modified* m = p.equality_modification ? modified_written(v) : nullptr;
  const tptp::Written& w = m != nullptr ? m->written : plain_written(v);
  p.read_problem_text(path, w.text, false);
  if (m != nullptr) {
    // The modification's ordering constraints, and reflexivity, which
    // closes s != t subgoals first.
    for (Clause* c : p.formula_clauses) {
      const tptp::WrittenClause& entry = w.entries.at(static_cast<std::size_t>(c->number - 1));
      if (entry.clause == tptp::WrittenClause::kEqualityAxiom) {
        if (c->length == 1) p.reflexivity_clause = c;
        continue;
      }
      const std::vector<OrderingConstraint>& constraints =
          m->modification.constraints.at(entry.clause);
      if (constraints.empty()) continue;
      auto* cells = p.arena.array<OrderingConstraint>(constraints.size());
      std::copy(constraints.begin(), constraints.end(), cells);
      c->ordering = cells;
      c->nr_ordering = static_cast<std::int64_t>(constraints.size());
    }
  }
  if (report) {
    p.display_statistics();
    p.flush();
  }
}

// What the TPTP reader saw that the clause records no longer tell.
InputCounts Run::input_counts() {
  InputCounts counts;
  if (problem == nullptr) return counts;
  const tptp::Problem& clauses = problem->clauses;
  counts.formulas = static_cast<std::int64_t>(clauses.formulas.size());
  counts.statements = counts.formulas;
  for (const tptp::Formula& f : clauses.formulas) counts.conjectures += f.role_text == "conjecture";
  for (const tptp::Clause& c : clauses.clauses)
    if (c.formulas.empty()) {
      ++counts.statements;
      counts.conjectures += c.role_text == "negated_conjecture";
    }
  counts.equality_axioms = static_cast<std::int64_t>(plain_written(variants[""]).equality_axioms);
  return counts;
}

void Run::print(const std::string& line) const {
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace velkor
