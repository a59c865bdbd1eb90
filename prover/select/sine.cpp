// Selection by the trigger relation between symbols and premises.
//
// Each statement (a formula or a cnf clause as read) is reduced to the set of
// its predicate and function symbols; equality and the connectives are not
// symbols here, they say nothing about relevance.  A symbol's generality is
// the number of premises it occurs in.  A premise is triggered by its least
// general symbols: those whose generality is within `tolerance` times the
// smallest of the premise, and those no more general than the threshold.
// Keeping a premise selects its symbols, whose triggered premises are kept
// at the next round; rarer symbols are followed first, so that a limit on
// the number of premises cuts off what the commonest symbols brought in.
//
// Everything is linear in the size of the problem: one walk over every
// statement's terms, flat arrays indexed by statement and by symbol.
#include <algorithm>
#include <cstdio>

#include "prover/select/select.hpp"
#include "prover/select/walk.hpp"

namespace velkor::select {
namespace {

// The symbols of every statement, each once: statement k has the symbols
// symbols[first[k]] up to symbols[first[k + 1]].  Statements are the
// formulas, then the cnf clauses, in the problem's order.
struct StatementSymbols {
  std::vector<std::uint32_t> first;
  std::vector<std::uint32_t> symbols;
};

class SymbolCollector {
 public:
  explicit SymbolCollector(const tptp::Problem& problem)
      : problem_(problem), seen_(problem.symbol_count(), kNone) {}

  StatementSymbols run() {
    StatementSymbols out;
    out.first.reserve(problem_.formulas.size() + problem_.clauses.size() + 1);
    for (const tptp::Formula& formula : problem_.formulas) {
      begin(out);
      formula_symbols(formula.root, out);
    }
    for (const tptp::Clause& clause : problem_.clauses) {
      begin(out);
      for (const tptp::Literal& l : clause.literals) {
        term_symbols(l.left, out);
        if (l.equality) term_symbols(l.right, out);
      }
    }
    out.first.push_back(static_cast<std::uint32_t>(out.symbols.size()));
    return out;
  }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  void begin(StatementSymbols& out) {
    statement_ = static_cast<std::uint32_t>(out.first.size());
    out.first.push_back(static_cast<std::uint32_t>(out.symbols.size()));
  }

  // Formulas and terms may be nested arbitrarily deep: explicit stacks.
  void formula_symbols(std::uint32_t root, StatementSymbols& out) {
    nodes_.assign(1, root);
    while (!nodes_.empty()) {
      const tptp::FormulaNode& n = problem_.formula_nodes[nodes_.back()];
      nodes_.pop_back();
      expand(n, nodes_, [&](std::uint32_t t) { term_symbols(t, out); });
    }
  }

  void term_symbols(std::uint32_t root, StatementSymbols& out) {
    terms_.assign(1, root);
    while (!terms_.empty()) {
      const tptp::Term& t = problem_.terms[terms_.back()];
      terms_.pop_back();
      if (t.is_variable) continue;
      if (seen_[t.id] != statement_) {
        seen_[t.id] = statement_;
        out.symbols.push_back(t.id);
      }
      for (std::uint32_t i = 0; i < t.arity; ++i) terms_.push_back(problem_.args[t.first_arg + i]);
    }
  }

  const tptp::Problem& problem_;
  std::vector<std::uint32_t> seen_;  // per symbol: the statement it was last listed for
  std::uint32_t statement_ = 0;
  std::vector<std::uint32_t> nodes_, terms_;  // work stacks
};

// Statements that state the problem at hand rather than the theory.
bool is_goal(const tptp::Formula& formula) {
  return formula.role_text == "conjecture" || formula.role_text == "negated_conjecture" ||
         formula.role_text == "hypothesis";
}

bool is_goal(const tptp::Clause& clause) {
  return clause.role != tptp::Role::Axiom;
}

std::string format_description(const Params& params, std::size_t kept, std::size_t total) {
  char text[200];
  std::snprintf(text, sizeof text, "sine tolerance %g, depth %u, threshold %u, limit %u",
                params.tolerance, params.depth, params.generality_threshold, params.limit);
  return std::string(text) + ": kept " + std::to_string(kept) + " of " + std::to_string(total) +
         " formulas";
}

}  // namespace

Selection select_premises(const tptp::Problem& problem, const Params& params) {
  const std::size_t nr_formulas = problem.formulas.size();
  const std::size_t n = nr_formulas + problem.clauses.size();
  std::vector<bool> goal(n), kept(n, false);
  for (std::size_t k = 0; k < n; ++k)
    goal[k] =
        k < nr_formulas ? is_goal(problem.formulas[k]) : is_goal(problem.clauses[k - nr_formulas]);
  auto result = [&](std::string description) {
    Selection s;
    s.keep_formula.assign(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(nr_formulas));
    s.keep_clause.assign(kept.begin() + static_cast<std::ptrdiff_t>(nr_formulas), kept.end());
    s.kept = static_cast<std::size_t>(std::count(kept.begin(), kept.end(), true));
    s.total = n;
    s.description = description.empty() ? format_description(params, s.kept, n) : description;
    return s;
  };
  if (std::find(goal.begin(), goal.end(), true) == goal.end()) {
    kept.assign(n, true);
    return result("no conjecture: kept all " + std::to_string(n) + " formulas");
  }

  const StatementSymbols sym = SymbolCollector(problem).run();
  auto symbols_of = [&](std::size_t k) {
    return std::pair(sym.symbols.begin() + sym.first[k], sym.symbols.begin() + sym.first[k + 1]);
  };

  // Generality: the premises each symbol occurs in.
  const std::size_t nr_symbols = problem.symbol_count();
  std::vector<std::uint32_t> generality(nr_symbols, 0);
  for (std::size_t k = 0; k < n; ++k)
    if (!goal[k])
      for (auto [it, end] = symbols_of(k); it != end; ++it) ++generality[*it];

  // The trigger relation by symbol, premises in the problem's order:
  // symbol s triggers triggered[first[s]] up to triggered[first[s + 1]].
  std::vector<std::uint32_t> first(nr_symbols + 1, 0), triggered;
  auto for_each_trigger = [&](auto&& visit) {
    for (std::size_t k = 0; k < n; ++k) {
      if (goal[k]) continue;
      std::uint32_t rarest = UINT32_MAX;
      for (auto [it, end] = symbols_of(k); it != end; ++it)
        rarest = std::min(rarest, generality[*it]);
      for (auto [it, end] = symbols_of(k); it != end; ++it)
        if (generality[*it] <= params.tolerance * rarest ||
            generality[*it] <= params.generality_threshold)
          visit(*it, static_cast<std::uint32_t>(k));
    }
  };
  for_each_trigger([&](std::uint32_t symbol, std::uint32_t) { ++first[symbol + 1]; });
  for (std::size_t i = 1; i <= nr_symbols; ++i) first[i] += first[i - 1];
  triggered.resize(first.back());
  std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
  for_each_trigger([&](std::uint32_t symbol, std::uint32_t k) { triggered[fill[symbol]++] = k; });

  // Rounds of triggering from the symbols of the goals.
  std::vector<bool> selected(nr_symbols, false);
  std::vector<std::uint32_t> frontier, next;
  auto select_symbols = [&](std::size_t k, std::vector<std::uint32_t>& into) {
    for (auto [it, end] = symbols_of(k); it != end; ++it)
      if (!selected[*it]) {
        selected[*it] = true;
        into.push_back(*it);
      }
  };
  for (std::size_t k = 0; k < n; ++k)
    if (goal[k] || sym.first[k] == sym.first[k + 1]) {
      kept[k] = true;
      if (goal[k]) select_symbols(k, frontier);
    }
  const std::size_t limit = params.limit > 0 ? params.limit : SIZE_MAX;
  std::size_t premises = 0;  // kept by triggering
  for (std::uint32_t round = 1;
       !frontier.empty() && (params.depth == 0 || round <= params.depth) && premises < limit;
       ++round) {
    std::sort(frontier.begin(), frontier.end(), [&](std::uint32_t a, std::uint32_t b) {
      return generality[a] != generality[b] ? generality[a] < generality[b] : a < b;
    });
    next.clear();
    for (std::uint32_t symbol : frontier)
      for (std::uint32_t i = first[symbol]; i < first[symbol + 1] && premises < limit; ++i) {
        const std::uint32_t k = triggered[i];
        if (kept[k]) continue;
        kept[k] = true;
        ++premises;
        select_symbols(k, next);
      }
    frontier.swap(next);
  }
  return result("");
}

}  // namespace velkor::select
