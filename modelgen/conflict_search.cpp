// quorvel --cdcl: the clause records handed to the conflict-driven engine
// instead of the splitting search.
//
// An atom's variable is its position among the atom records (plus one), so
// the engine sees only the atoms that occur, however sparse their numbers
// (the general syntax numbers atoms by hashing).  The model is written into the atom records and
// recorded like one of the splitting search, so every output (model blocks,
// result line, competition format) is produced by the same code; the branch
// count shown is the engine's number of decisions.  For -allmodels each
// model found is excluded by a clause over all atoms and the engine is asked
// again, incrementally, until no model is left.
#include <vector>

#include "modelgen/cdcl/solver.hpp"
#include "modelgen/model_generator.hpp"

namespace modelgen {

void ModelGenerator::conflict_driven_search() {
  cdcl::Solver solver;
  auto variable = [&](const Atom* atom) {
    return static_cast<int>(atom - atom_records.data()) + 1;
  };
  std::vector<int> literals;
  for (const Clause& clause : clause_records) {
    literals.clear();
    for (const Atom* atom : clause.positive_atoms) literals.push_back(variable(atom));
    for (const Atom* atom : clause.negative_atoms) literals.push_back(-variable(atom));
    solver.add_clause(literals);
  }
  for (;;) {
    if (solver.solve() != cdcl::Answer::kSatisfiable) break;
    literals.clear();
    for (Atom* atom : atom_order) {
      bool value = solver.value(variable(atom));
      atom->value = value ? Value::kTrue : Value::kFalse;
      literals.push_back(value ? -variable(atom) : variable(atom));
    }
    if (record_model(solver.decisions()) == kAbortMark) break;
    // The blocking clause of a file without atoms is empty: its one model was the last.
    solver.add_clause(literals);
  }
  search_result = solver.decisions();
}

}  // namespace modelgen
