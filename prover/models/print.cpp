// The TSTP text of clauses, ground instances and models.
//
// A model is printed as a FiniteModel block: the domain as the elements
// named in one formula, then the value of every function and constant at
// every tuple of elements, then the truth value of every predicate at every
// tuple.  Terms are written without recursion, whatever their depth.
#include "prover/models/search.hpp"
#include "tptp/writer.hpp"

namespace velkor::models {
std::string ModelSearch::constant_text(std::uint32_t entry) const {
  return tptp::tptp_text(problem.symbol(entries[entry].id));
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
