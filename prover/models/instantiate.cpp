// Ground instances chosen by the candidate models, for problems whose full
// set of ground instances is beyond the budget (sixteen constants and a
// clause of twenty variables already have 16^20 instances).
//
// The engine starts from the ground clauses and the axioms of equality.
// Each model it proposes is tested against every clause: a search over the
// clause's variables, literal by literal, keeps only the bindings that make
// each literal false in the candidate, and every complete binding it finds
// is an instance the candidate violates.  Those instances are added and the
// engine asked again.  When no clause has a violated instance the candidate
// is a model; when the instances added are unsatisfiable they are the
// refutation.  The literal order is chosen once per clause: the literal
// with the fewest unbound variables first, negative ones (false only on
// the few true atoms) before positive ones.
#include <algorithm>
#include <cmath>

#include "prover/models/search.hpp"

namespace velkor::models {
namespace {

constexpr std::uint32_t kEqualityEntry = 0xffffffffu;

// Bindings tried per clause and round, violated instances taken per clause
// and round.
constexpr std::int64_t kNodesPerClause = 2'000'000;
constexpr int kViolationsPerClause = 512;

// A literal of an EPR clause: a predicate (or equality) over arguments that
// are variables or elements.
struct Argument {
  bool variable;
  std::uint32_t id;  // variable index or element
};
struct GroundLiteral {
  bool positive;
  std::uint32_t entry;  // kEqualityEntry for an equation
  std::vector<Argument> args;
};

}  // namespace

Result ModelSearch::instantiate() {
  Result result;
  const std::uint32_t n = nr_elements;
  if (has_equality) {
    double cost = n + 2.0 * n * n + 3.0 * n * n * n;
    for (const SymbolEntry& e : entries)
      if (e.predicate && e.in_clauses) cost += 3.0 * e.arity * std::pow(n, e.arity + 1);
    if (cost > static_cast<double>(settings.literal_budget) / 2) return result;
    add_equality_axioms();
  }

  // The clauses as literals over variables and elements, in search order.
  std::vector<std::vector<GroundLiteral>> clauses(compiled.size());
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    const CompiledClause& c = compiled[i];
    if (problem.clauses[i].always_true) continue;
    std::vector<GroundLiteral> literals;
    auto argument = [&](std::uint32_t step) {
      const Step& s = c.steps[step];
      return s.variable ? Argument{true, s.id} : Argument{false, element_of[s.id]};
    };
    for (const CompiledLiteral& l : c.literals) {
      GroundLiteral g{l.positive, kEqualityEntry, {}};
      if (l.equality) {
        g.args = {argument(l.left), argument(l.right)};
      } else {
        const Step& atom_step = c.steps[l.left];
        g.entry = atom_step.id;
        for (std::uint32_t k = 0; k < atom_step.arity; ++k)
          g.args.push_back(argument(c.args[atom_step.first + k]));
      }
      literals.push_back(std::move(g));
    }
    std::vector<bool> bound(c.nr_variables, false);
    for (std::size_t k = 0; k < literals.size(); ++k) {
      auto unbound = [&](const GroundLiteral& g) {
        int count = 0;
        for (const Argument& a : g.args) count += a.variable && !bound[a.id] ? 1 : 0;
        return 2 * count + (g.positive ? 1 : 0);
      };
      auto best = std::min_element(
          literals.begin() + static_cast<std::ptrdiff_t>(k), literals.end(),
          [&](const GroundLiteral& a, const GroundLiteral& b) { return unbound(a) < unbound(b); });
      std::iter_swap(literals.begin() + static_cast<std::ptrdiff_t>(k), best);
      for (const Argument& a : literals[k].args)
        if (a.variable) bound[a.id] = true;
    }
    clauses[i] = std::move(literals);
  }

  std::vector<std::uint32_t> assignment, tuple;
  std::vector<std::vector<std::uint32_t>> violations;
  for (std::size_t i = 0; i < compiled.size(); ++i)
    if (!problem.clauses[i].always_true && compiled[i].nr_variables == 0)
      add_instance(i, assignment.data());

  for (;;) {
    const modelgen::cdcl::Answer answer = solver.solve(selectors);
    if (answer != modelgen::cdcl::Answer::kSatisfiable) return ground_answer(answer);
    // The truth of a literal under the candidate; atoms the engine has not
    // seen are false.
    auto holds = [&](const GroundLiteral& g) {
      tuple.clear();
      for (const Argument& a : g.args) tuple.push_back(a.variable ? assignment[a.id] : a.id);
      bool truth;
      if (g.entry == kEqualityEntry) {
        truth = tuple[0] == tuple[1];
        if (!truth) {
          const int v = atom(kEqualityEntry, tuple.data(), 2, false);
          truth = v != 0 && solver.value(v);
        }
      } else {
        const int v = atom(g.entry, tuple.data(), static_cast<std::uint32_t>(tuple.size()), false);
        truth = v != 0 && solver.value(v);
      }
      return truth == g.positive;
    };
    violations.clear();
    bool complete = true;
    for (std::size_t i = 0; i < clauses.size(); ++i) {
      const std::vector<GroundLiteral>& literals = clauses[i];
      if (literals.empty() || compiled[i].nr_variables == 0) continue;
      if (out_of_time()) {
        result.verdict = Verdict::kTimeout;
        result.instances = instances;
        return result;
      }
      assignment.assign(compiled[i].nr_variables, 0);
      std::vector<bool> bound(compiled[i].nr_variables, false);
      std::int64_t nodes = 0;
      int found = 0;
      // Depth-first over the literals: the unbound variables of literal k
      // run through every element, and only bindings that leave it false go
      // on to literal k + 1.
      std::vector<std::vector<std::uint32_t>> fresh(literals.size());
      for (std::size_t k = 0; k < literals.size(); ++k)
        for (const Argument& a : literals[k].args)
          if (a.variable && !bound[a.id]) {
            bound[a.id] = true;
            fresh[k].push_back(a.id);
          }
      std::size_t k = 0;
      bool entering = true;
      for (;;) {
        if (nodes++ > kNodesPerClause) {
          complete = false;
          break;
        }
        // Advance literal k's fresh variables: on entering, start at all 0.
        bool have = false;
        std::vector<std::uint32_t>& vars = fresh[k];
        if (entering) {
          for (std::uint32_t v : vars) assignment[v] = 0;
          have = true;
        } else {
          std::size_t j = vars.size();
          while (j > 0 && ++assignment[vars[j - 1]] == n) assignment[vars[--j]] = 0;
          have = j > 0;
        }
        if (!have) {
          if (k == 0) break;
          --k;
          entering = false;
          continue;
        }
        if (holds(literals[k])) {
          entering = false;
          continue;
        }
        if (k + 1 < literals.size()) {
          ++k;
          entering = true;
          continue;
        }
        violations.push_back(assignment);
        violations.back().push_back(static_cast<std::uint32_t>(i));
        entering = false;
        if (++found == kViolationsPerClause) break;
      }
    }
    if (violations.empty()) {
      if (!complete) return result;
      return ground_answer(answer);
    }
    for (const std::vector<std::uint32_t>& v : violations) add_instance(v.back(), v.data());
    if (literals_given > settings.literal_budget) return result;
  }
}

}  // namespace velkor::models
