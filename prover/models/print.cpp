// The TSTP text of clauses, ground instances and models.
//
// A model is printed as a FiniteModel block: the domain as the elements
// named in one formula, then the value of every function and constant at
// every tuple of elements, then the truth value of every predicate at every
// tuple.  Terms are written without recursion, whatever their depth.
#include <unordered_set>

#include "prover/models/search.hpp"
#include "tptp/writer.hpp"

namespace velkor::models {
namespace {

bool is_variable_name(const std::string& s) {
  if (s.empty() || s[0] < 'A' || s[0] > 'Z') return false;
  for (char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  return true;
}

}  // namespace

std::string ModelSearch::constant_text(std::uint32_t entry) const {
  return tptp::tptp_text(problem.symbol(entries[entry].id));
}

std::string term_text(const tptp::Problem& problem, std::uint32_t root,
                      const std::vector<std::string>& names) {
  std::string out;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{root, 0}};
  while (!stack.empty()) {
    const auto [at, next] = stack.back();
    const tptp::Term& t = problem.terms[at];
    if (t.is_variable) {
      out += names[t.id];
      stack.pop_back();
      continue;
    }
    if (next == 0) {
      out += tptp::tptp_text(problem.symbol(t.id));
      if (t.arity > 0) out += '(';
    }
    if (next < t.arity) {
      if (next > 0) out += ',';
      stack.back().second = next + 1;
      stack.emplace_back(problem.args[t.first_arg + next], 0);
      continue;
    }
    if (t.arity > 0) out += ')';
    stack.pop_back();
  }
  return out;
}

std::string literal_text(const tptp::Problem& problem, const tptp::Literal& l,
                         const std::vector<std::string>& names) {
  if (l.equality)
    return term_text(problem, l.left, names) + (l.positive ? " = " : " != ") +
           term_text(problem, l.right, names);
  return (l.positive ? "" : "~") + term_text(problem, l.left, names);
}

std::string clause_text(const tptp::Problem& problem, const tptp::Clause& clause) {
  // Names as written, unless two are alike or one is not a variable's.
  std::vector<std::string> names = clause.variables;
  std::unordered_set<std::string> seen;
  bool as_written = true;
  for (const std::string& name : names)
    as_written = as_written && is_variable_name(name) && seen.insert(name).second;
  if (!as_written)
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = "X" + std::to_string(i + 1);
  std::string text;
  for (const tptp::Literal& l : clause.literals)
    text += (text.empty() ? "" : " | ") + literal_text(problem, l, names);
  return text.empty() ? "$false" : text;
}

std::string ModelSearch::model_block(const Model& model) const {
  const std::string& name = settings.problem_name;
  std::string out = "% SZS output start FiniteModel for " + name + "\n";
  out += "fof(domain, fi_domain, ! [X] : (";
  for (int e = 0; e < model.size; ++e)
    out += (e > 0 ? " | X = " : "X = ") + element_name(static_cast<std::uint32_t>(e));
  out += ")).\n";
  std::vector<std::uint32_t> tuple;
  for (bool predicates : {false, true}) {
    std::string facts;
    for (std::uint32_t f = 0; f < entries.size(); ++f) {
      const SymbolEntry& e = entries[f];
      if (e.predicate != predicates) continue;
      const std::string symbol = tptp::tptp_text(problem.symbol(e.id));
      tuple.assign(e.arity, 0);
      do {
        std::string atom = symbol;
        for (std::uint32_t k = 0; k < e.arity; ++k)
          atom += (k == 0 ? "(" : ",") + element_name(tuple[k]);
        if (e.arity > 0) atom += ")";
        const std::uint32_t value = model.tables[f][tuple_index(tuple.data(), e.arity, model.size)];
        if (!facts.empty()) facts += " &\n    ";
        if (predicates)
          facts += (value != 0 ? "" : "~ ") + atom;
        else
          facts += atom + " = " + element_name(value);
      } while (next_tuple(tuple, static_cast<std::uint32_t>(model.size)));
    }
    if (facts.empty()) continue;
    out += predicates ? "fof(predicates, fi_predicates, (\n    "
                      : "fof(functions, fi_functors, (\n    ";
    out += facts + ")).\n";
  }
  return out + "% SZS output end FiniteModel for " + name + "\n";
}

}  // namespace velkor::models
