// Deciding a problem without function symbols (other than constants) by
// its ground instances.
//
// Over such a problem's constants (one invented element when it has none)
// the ground instances of its clauses are a propositional problem that has
// a model exactly when the clauses do (Herbrand's theorem).  Equality is an
// ordinary atom to the engine, so when the clauses use it the ground
// instances of its axioms over the constants come too: reflexivity,
// symmetry, transitivity and substitution into every predicate argument.
//
// Unsatisfiable: each ground clause carries a selector that the search
// assumes, and the selectors the engine names in its answer are the
// instances the refutation lists.  Satisfiable: the constants that the
// model makes equal are one element, and the ground atoms give the
// predicates.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "prover/models/search.hpp"
#include "tptp/writer.hpp"

namespace velkor::models {
namespace {

constexpr std::uint32_t kEqualityEntry = 0xffffffffu;

}  // namespace

void ModelSearch::start_grounding() {
  invented = constants.empty();
  nr_elements = static_cast<std::uint32_t>(invented ? 1 : constants.size());
  element_of.assign(entries.size(), 0);
  for (std::uint32_t k = 0; k < constants.size(); ++k) element_of[constants[k]] = k;
}

int ModelSearch::equal(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t pair[2] = {a, b};
  return atom(kEqualityEntry, pair, 2);
}

void ModelSearch::add_ground(GroundClause g, const std::uint32_t* elements, std::uint32_t n) {
  g.first = static_cast<std::uint32_t>(ground_elements.size());
  ground_elements.insert(ground_elements.end(), elements, elements + n);
  ground_clauses.push_back(g);
  selectors.push_back(solver.new_variable());
  clause.push_back(-selectors.back());
  give_clause();
}

void ModelSearch::add_instance(std::size_t i, const std::uint32_t* assignment) {
  const CompiledClause& c = compiled[i];
  std::vector<std::uint32_t>& value = step_values;
  std::vector<std::uint32_t>& tuple = step_tuple;
  value.resize(c.steps.size());
  clause.clear();
  for (std::size_t s = 0; s < c.steps.size(); ++s) {
    const Step& step = c.steps[s];
    if (step.variable) {
      value[s] = assignment[step.id];
    } else if (!entries[step.id].predicate) {
      value[s] = element_of[step.id];
    } else {
      tuple.clear();
      for (std::uint32_t k = 0; k < step.arity; ++k) tuple.push_back(value[c.args[step.first + k]]);
      value[s] = static_cast<std::uint32_t>(atom(step.id, tuple.data(), step.arity));
    }
  }
  for (const CompiledLiteral& l : c.literals) {
    const int v =
        l.equality ? equal(value[l.left], value[l.right]) : static_cast<int>(value[l.left]);
    clause.push_back(l.positive ? v : -v);
  }
  add_ground(GroundClause{i, Axiom::kNone, 0, 0, 0}, assignment, c.nr_variables);
}

void ModelSearch::add_equality_axioms() {
  const std::uint32_t n = nr_elements;
  const GroundClause theory{GroundInstance::kTheory, Axiom::kNone, 0, 0, 0};
  auto axiom = [&](Axiom kind, std::initializer_list<std::uint32_t> xs) {
    GroundClause g = theory;
    g.axiom = kind;
    add_ground(g, std::data(xs), static_cast<std::uint32_t>(xs.size()));
  };
  for (std::uint32_t a = 0; a < n; ++a) {
    clause.assign(1, equal(a, a));
    axiom(Axiom::kReflexivity, {a});
    for (std::uint32_t b = 0; b < n; ++b) {
      if (b == a) continue;
      clause.assign({-equal(a, b), equal(b, a)});
      axiom(Axiom::kSymmetry, {a, b});
      for (std::uint32_t c = 0; c < n; ++c) {
        if (c == a || c == b) continue;
        clause.assign({-equal(a, b), -equal(b, c), equal(a, c)});
        axiom(Axiom::kTransitivity, {a, b, c});
      }
    }
  }
  for (std::size_t i = 0; i < distinct.size(); ++i)
    for (std::size_t j = i + 1; j < distinct.size(); ++j) {
      const std::uint32_t a = element_of[distinct[i]], b = element_of[distinct[j]];
      clause.assign(1, -equal(a, b));
      GroundClause g = theory;
      g.clause = GroundInstance::kDistinctObjects;
      g.axiom = Axiom::kDistinct;
      const std::uint32_t pair[2] = {a, b};
      add_ground(g, pair, 2);
    }
  std::vector<std::uint32_t> tuple;
  for (std::uint32_t p = 0; p < entries.size(); ++p) {
    const SymbolEntry& e = entries[p];
    if (!e.predicate || !e.in_clauses || e.arity == 0) continue;
    // The arguments, then the element that replaces one of them.
    tuple.assign(e.arity + 1, 0);
    do {
      for (std::uint32_t position = 0; position < e.arity; ++position) {
        const std::uint32_t b = tuple.back(), a = tuple[position];
        if (a == b) continue;
        const int before = atom(p, tuple.data(), e.arity);
        tuple[position] = b;
        const int after = atom(p, tuple.data(), e.arity);
        tuple[position] = a;
        clause.assign({-before, -equal(a, b), after});
        add_ground(GroundClause{GroundInstance::kTheory, Axiom::kSubstitution, p, position, 0},
                   tuple.data(), e.arity + 1);
      }
    } while (next_tuple(tuple, n));
  }
}

Result ModelSearch::ground() {
  Result result;
  start_grounding();
  const std::uint32_t n = nr_elements;
  double cost = 0;
  for (const CompiledClause& c : compiled)
    cost += std::pow(n, c.nr_variables) * static_cast<double>(c.literals.size());
  if (has_equality) {
    cost += n + 2.0 * n * n + 3.0 * n * n * n +
            0.5 * static_cast<double>(distinct.size() * distinct.size());
    for (const SymbolEntry& e : entries)
      if (e.predicate && e.in_clauses) cost += 3.0 * e.arity * std::pow(n, e.arity + 1);
  }
  // Atoms keep elements in 16 bits.
  if (n > 0xffff) return result;
  if (cost > static_cast<double>(settings.literal_budget))
    return settings.instantiate_beyond_budget ? instantiate() : result;

  std::vector<std::uint32_t> assignment;
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    if (problem.clauses[i].always_true) continue;
    assignment.assign(compiled[i].nr_variables, 0);
    do {
      if ((++ticks & 1023) == 0 && out_of_time()) {
        result.verdict = Verdict::kTimeout;
        return result;
      }
      add_instance(i, assignment.data());
    } while (next_tuple(assignment, n));
  }
  if (has_equality) add_equality_axioms();
  return ground_answer(solver.solve(selectors));
}

Result ModelSearch::ground_answer(modelgen::cdcl::Answer answer) {
  Result result;
  result.instances = instances;
  const std::uint32_t n = nr_elements;
  if (answer == modelgen::cdcl::Answer::kUnknown) {
    result.verdict = Verdict::kTimeout;
    return result;
  }

  if (answer == modelgen::cdcl::Answer::kUnsatisfiable) {
    // Names of the elements in printed instances: the constants themselves.
    std::vector<std::string> names(n);
    for (std::uint32_t k = 0; k < n; ++k)
      names[k] = invented ? element_name(0) : constant_text(constants[k]);
    // Failed assumptions come negated.  Asked again under those alone, the
    // engine often needs fewer: a few rounds make the refutation smaller.
    std::vector<int> core;
    for (int literal : solver.failed_assumptions()) core.push_back(std::abs(literal));
    for (int round = 0; round < 4 && !out_of_time(); ++round) {
      std::sort(core.begin(), core.end());
      if (solver.solve(core) != modelgen::cdcl::Answer::kUnsatisfiable) break;
      const std::vector<int>& smaller = solver.failed_assumptions();
      if (smaller.size() >= core.size()) break;
      core.clear();
      for (int literal : smaller) core.push_back(std::abs(literal));
    }
    // Selectors are increasing variables.
    std::vector<bool> used(ground_clauses.size(), false);
    for (int literal : core) {
      auto at = std::lower_bound(selectors.begin(), selectors.end(), std::abs(literal));
      if (at != selectors.end() && *at == std::abs(literal))
        used[static_cast<std::size_t>(at - selectors.begin())] = true;
    }
    std::vector<std::string> instance_names;
    for (std::size_t k = 0; k < ground_clauses.size(); ++k) {
      if (!used[k]) continue;
      const GroundClause& m = ground_clauses[k];
      const std::uint32_t* x = ground_elements.data() + m.first;
      std::string text;
      switch (m.axiom) {
        case Axiom::kNone: {
          const tptp::Clause& source = problem.clauses[m.clause];
          instance_names.resize(source.variables.size());
          for (std::size_t v = 0; v < instance_names.size(); ++v) instance_names[v] = names[x[v]];
          for (const tptp::Literal& l : source.literals)
            text += (text.empty() ? "" : " | ") + tptp::literal_text(problem, l, instance_names);
          if (text.empty()) text = "$false";
          break;
        }
        case Axiom::kReflexivity:
          text = names[x[0]] + " = " + names[x[0]];
          break;
        case Axiom::kDistinct:
          text = names[x[0]] + " != " + names[x[1]];
          break;
        case Axiom::kSymmetry:
          text = names[x[0]] + " != " + names[x[1]] + " | " + names[x[1]] + " = " + names[x[0]];
          break;
        case Axiom::kTransitivity:
          text = names[x[0]] + " != " + names[x[1]] + " | " + names[x[1]] + " != " + names[x[2]] +
                 " | " + names[x[0]] + " = " + names[x[2]];
          break;
        case Axiom::kSubstitution: {
          const SymbolEntry& e = entries[m.entry];
          auto atom_text = [&](std::uint32_t replaced) {
            std::string a = tptp::tptp_text(problem.symbol(e.id)) + "(";
            for (std::uint32_t k2 = 0; k2 < e.arity; ++k2)
              a += (k2 > 0 ? "," : "") + names[k2 == m.position ? replaced : x[k2]];
            return a + ")";
          };
          text = "~" + atom_text(x[m.position]) + " | " + names[x[m.position]] +
                 " != " + names[x[e.arity]] + " | " + atom_text(x[e.arity]);
          break;
        }
      }
      result.refutation.push_back(GroundInstance{m.clause, std::move(text)});
    }
    result.verdict = Verdict::kUnsatisfiable;
    return result;
  }

  // The constants made equal are one element.
  std::vector<std::uint32_t> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  auto find = [&](std::uint32_t a) {
    while (parent[a] != a) a = parent[a] = parent[parent[a]];
    return a;
  };
  if (has_equality)
    for (std::uint32_t a = 0; a < n; ++a)
      for (std::uint32_t b = 0; b < n; ++b) {
        const std::uint32_t pair[2] = {a, b};
        const int v = atom(kEqualityEntry, pair, 2, false);
        if (v != 0 && solver.value(v)) parent[find(a)] = find(b);
      }
  std::vector<std::uint32_t> element(n, 0), representative;
  for (std::uint32_t a = 0; a < n; ++a)
    if (find(a) == a) {
      element[a] = static_cast<std::uint32_t>(representative.size());
      representative.push_back(a);
    }
  for (std::uint32_t a = 0; a < n; ++a) element[a] = element[find(a)];

  Model model;
  model.size = static_cast<int>(representative.size());
  model.tables.resize(entries.size());
  std::vector<std::uint32_t> tuple, at;
  for (std::uint32_t f = 0; f < entries.size(); ++f) {
    const SymbolEntry& e = entries[f];
    const double rows = std::pow(model.size, e.arity);
    if (rows > 1e7) return result;
    std::vector<std::uint32_t>& table = model.tables[f];
    table.assign(static_cast<std::size_t>(rows), 0);
    if (!e.in_clauses) continue;
    if (!e.predicate) {
      if (e.arity == 0 && !invented) table[0] = element[element_of[f]];
      continue;
    }
    tuple.assign(e.arity, 0);
    at.resize(e.arity);
    do {
      for (std::uint32_t k = 0; k < e.arity; ++k) at[k] = representative[tuple[k]];
      const int v = atom(f, at.data(), e.arity, false);
      table[tuple_index(tuple.data(), e.arity, model.size)] = v != 0 && solver.value(v) ? 1 : 0;
    } while (next_tuple(tuple, static_cast<std::uint32_t>(model.size)));
  }
  result.domain_size = model.size;
  switch (check(model)) {
    case Check::kTrue:
      result.verdict = Verdict::kSatisfiable;
      result.model_block = model_block(model);
      break;
    case Check::kTooCostly:
      result.verdict = Verdict::kTooLarge;
      break;
    case Check::kFalse:
      result.verdict = Verdict::kFault;
      break;
  }
  return result;
}

}  // namespace velkor::models
