// The check every model passes before it is shown: distinct objects are
// different elements, and each clause that counts is evaluated under every
// assignment of elements to its variables.
//
// This is independent of how the model was found (flat clauses, function
// tables, ground atoms): it reads the problem's own clauses, compiled into
// steps, and the model's tables.  A clause with more assignments than the
// budget is not evaluated, and then the model is not shown either.
#include <cmath>

#include "prover/models/search.hpp"

namespace velkor::models {

Check ModelSearch::check(const Model& model) const {
  double work = 0;
  for (const CompiledClause& c : compiled)
    if (!c.literals.empty()) work += std::pow(static_cast<double>(model.size), c.nr_variables);
  if (work > kCheckBudget) return Check::kTooCostly;

  for (std::size_t i = 0; i < distinct.size(); ++i)
    for (std::size_t j = i + 1; j < distinct.size(); ++j)
      if (model.tables[distinct[i]][0] == model.tables[distinct[j]][0]) return Check::kFalse;

  std::vector<std::uint32_t> assignment, value, arguments;
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    const CompiledClause& c = compiled[i];
    if (c.literals.empty()) {
      // An empty clause that counts is false in every model.
      if (!problem.clauses[i].always_true) return Check::kFalse;
      continue;
    }
    assignment.assign(c.nr_variables, 0);
    value.resize(c.steps.size());
    for (;;) {
      for (std::size_t s = 0; s < c.steps.size(); ++s) {
        const Step& step = c.steps[s];
        if (step.variable) {
          value[s] = assignment[step.id];
          continue;
        }
        arguments.clear();
        for (std::uint32_t k = 0; k < step.arity; ++k)
          arguments.push_back(value[c.args[step.first + k]]);
        value[s] = model.tables[step.id][tuple_index(arguments.data(), step.arity, model.size)];
      }
      bool true_literal = false;
      for (const CompiledLiteral& l : c.literals) {
        bool holds = l.equality ? value[l.left] == value[l.right] : value[l.left] != 0;
        if (holds == l.positive) {
          true_literal = true;
          break;
        }
      }
      if (!true_literal) return Check::kFalse;
      if (!next_tuple(assignment, static_cast<std::uint32_t>(model.size))) break;
    }
  }
  return Check::kTrue;
}

}  // namespace velkor::models
