// The symbols a model interprets, and each clause compiled into steps that
// evaluate a term after its arguments.
//
// Terms are walked with an explicit stack, so a term nested a hundred
// thousand levels deep costs memory, not the call stack.  Symbols are taken
// from the clauses and also from the formulas, so that a symbol whose
// formula clausified to nothing still gets a value in the printed model.
#include <time.h>

#include "prover/models/search.hpp"

namespace velkor::models {
namespace {

std::uint64_t key_of(std::uint32_t id, std::uint32_t arity, bool predicate) {
  return (static_cast<std::uint64_t>(id) << 32) | (static_cast<std::uint64_t>(arity) << 1) |
         (predicate ? 1 : 0);
}

double cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

ModelSearch::ModelSearch(const Problem& p, const Settings& s)
    : problem(p.clauses), theory(p.theory), settings(s) {
  if (settings.cpu_deadline > 0) solver.set_should_stop([this] { return out_of_time(); });
  collect_signature();
}

bool ModelSearch::out_of_time() const {
  return settings.cpu_deadline > 0 && cpu_seconds() >= settings.cpu_deadline;
}

std::uint32_t ModelSearch::entry_of(std::uint32_t id, std::uint32_t arity, bool predicate) const {
  return by_key.at(key_of(id, arity, predicate));
}

void ModelSearch::collect_signature() {
  const tptp::Problem& p = problem;
  auto enter = [&](const tptp::Term& t, bool predicate, bool in_clause) {
    auto [it, inserted] = by_key.try_emplace(key_of(t.id, t.arity, predicate),
                                             static_cast<std::uint32_t>(entries.size()));
    if (inserted) entries.push_back(SymbolEntry{t.id, t.arity, predicate, false});
    SymbolEntry& e = entries[it->second];
    if (in_clause && !e.in_clauses) {
      e.in_clauses = true;
      if (!predicate && t.arity == 0) constants.push_back(it->second);
    }
    return it->second;
  };
  // Compiles the term at `root` into `c` (with `c` null, only enters its
  // symbols); returns its step.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;  // term, next argument
  std::vector<std::uint32_t> done;                             // steps of finished terms
  auto walk = [&](std::uint32_t root, bool predicate, CompiledClause* c) -> std::uint32_t {
    stack.assign(1, {root, 0});
    done.clear();
    while (!stack.empty()) {
      auto& [term, next] = stack.back();
      const tptp::Term& t = p.terms[term];
      if (!t.is_variable && next < t.arity) {
        stack.emplace_back(p.args[t.first_arg + next++], 0);
        continue;
      }
      const bool is_root = stack.size() == 1;
      std::uint32_t step = 0;
      if (t.is_variable) {
        if (c != nullptr) {
          step = static_cast<std::uint32_t>(c->steps.size());
          c->steps.push_back(Step{true, t.id, 0, 0});
        }
      } else {
        std::uint32_t entry = enter(t, predicate && is_root, c != nullptr);
        if (c != nullptr) {
          step = static_cast<std::uint32_t>(c->steps.size());
          auto first = static_cast<std::uint32_t>(c->args.size());
          c->args.insert(c->args.end(), done.end() - t.arity, done.end());
          c->steps.push_back(Step{false, entry, first, t.arity});
        }
      }
      done.resize(done.size() - (t.is_variable ? 0 : t.arity));
      done.push_back(step);
      stack.pop_back();
    }
    return done.back();
  };

  compiled.resize(p.clauses.size());
  for (std::size_t i = 0; i < p.clauses.size(); ++i) {
    const tptp::Clause& clause = p.clauses[i];
    CompiledClause* c = clause.always_true ? nullptr : &compiled[i];
    if (c != nullptr) c->nr_variables = static_cast<std::uint32_t>(clause.variables.size());
    for (const tptp::Literal& l : clause.literals) {
      std::uint32_t left = walk(l.left, !l.equality, c);
      std::uint32_t right = l.equality ? walk(l.right, false, c) : 0;
      if (c != nullptr) c->literals.push_back(CompiledLiteral{l.positive, l.equality, left, right});
      has_equality = has_equality || (c != nullptr && l.equality);
    }
  }
  for (const tptp::FormulaNode& node : p.formula_nodes) {
    if (node.connective == tptp::Connective::Atom) walk(node.left, true, nullptr);
    if (node.connective == tptp::Connective::Equal ||
        node.connective == tptp::Connective::NotEqual) {
      walk(node.left, false, nullptr);
      walk(node.right, false, nullptr);
    }
  }

  // Distinct objects are elements of their own even where only a formula
  // that gave no clause names them: the printed model interprets them too.
  for (std::uint32_t e = 0; e < entries.size(); ++e) {
    SymbolEntry& entry = entries[e];
    if (entry.predicate || entry.arity > 0 ||
        !tptp::denotes_distinct_object(p.symbol(entry.id), theory.free_numbers))
      continue;
    if (!entry.in_clauses) constants.push_back(e);
    entry.in_clauses = true;
    distinct.push_back(e);
  }

  // Element names are a prefix and a number; the prefix is one that no
  // symbol of the problem continues with digits only.
  auto clashes = [&](const std::string& prefix) {
    for (std::size_t s = 0; s < p.symbol_count(); ++s) {
      const std::string& w = p.symbol(static_cast<std::uint32_t>(s)).spelling;
      if (w.size() > prefix.size() && w.compare(0, prefix.size(), prefix) == 0 &&
          w.find_first_not_of("0123456789", prefix.size()) == std::string::npos)
        return true;
    }
    return false;
  };
  element_prefix = "e";
  for (int k = 0; clashes(element_prefix); ++k) element_prefix = "e" + std::string(k + 1, '_');
}

std::string ModelSearch::element_name(std::uint32_t element) const {
  return element_prefix + std::to_string(element);
}

int ModelSearch::atom(std::uint32_t entry, const std::uint32_t* elements, std::uint32_t n,
                      bool make) {
  key.assign(reinterpret_cast<const char*>(&entry), sizeof entry);
  for (std::uint32_t i = 0; i < n; ++i) {
    key += static_cast<char>(elements[i] & 0xff);
    key += static_cast<char>(elements[i] >> 8);
  }
  if (!make) {
    auto found = atoms.find(key);
    return found == atoms.end() ? 0 : found->second;
  }
  auto [it, inserted] = atoms.try_emplace(key, 0);
  if (inserted) it->second = solver.new_variable();
  return it->second;
}

void ModelSearch::give_clause() {
  literals_given += static_cast<std::int64_t>(clause.size());
  ++instances;
  solver.add_clause(clause);
}

bool is_epr(const tptp::Problem& problem) {
  for (const tptp::Clause& clause : problem.clauses) {
    if (clause.always_true) continue;
    for (const tptp::Literal& l : clause.literals) {
      if (!l.equality) {
        const tptp::Term& atom = problem.terms[l.left];
        for (std::uint32_t k = 0; k < atom.arity; ++k) {
          const tptp::Term& a = problem.terms[problem.args[atom.first_arg + k]];
          if (!a.is_variable && a.arity > 0) return false;
        }
      } else {
        for (std::uint32_t side : {l.left, l.right})
          if (!problem.terms[side].is_variable && problem.terms[side].arity > 0) return false;
      }
    }
  }
  return true;
}

Result decide_by_grounding(const Problem& problem, const Settings& settings) {
  ModelSearch search(problem, settings);
  return search.ground();
}

Result find_finite_model(const Problem& problem, const Settings& settings) {
  ModelSearch search(problem, settings);
  search.flatten_clauses();
  return search.find_model();
}

}  // namespace velkor::models
