// The restricted problem: the kept statements with only the terms and
// formula nodes they reach, so that whatever walks a problem's arenas (the
// clausifier, the model generator's signature) sees the kept part alone.
// Indices are renumbered in their old order; children stay before parents
// wherever they were.

#include "prover/select/select.hpp"
#include "prover/select/walk.hpp"

namespace velkor::select {
namespace {

using tptp::Connective;

constexpr std::uint32_t kGone = UINT32_MAX;

class Restriction {
 public:
  Restriction(const tptp::Problem& problem, const Selection& selection)
      : from_(problem),
        selection_(selection),
        term_(problem.terms.size(), kGone),
        node_(problem.formula_nodes.size(), kGone) {}

  tptp::Problem run() {
    tptp::Problem to;
    for (std::uint32_t id = 0; id < from_.symbol_count(); ++id)
      to.intern(from_.symbol(id).kind, from_.symbol(id).spelling);
    for (std::size_t i = 0; i < from_.formulas.size(); ++i)
      if (selection_.keep_formula[i]) mark_formula(from_.formulas[i].root);
    for (std::size_t i = 0; i < from_.clauses.size(); ++i)
      if (selection_.keep_clause[i])
        for (const tptp::Literal& l : from_.clauses[i].literals) {
          mark_term(l.left);
          if (l.equality) mark_term(l.right);
        }
    number(term_);
    number(node_);
    copy_terms(to);
    copy_nodes(to);
    for (std::size_t i = 0; i < from_.formulas.size(); ++i) {
      if (!selection_.keep_formula[i]) continue;
      to.formulas.push_back(from_.formulas[i]);
      to.formulas.back().root = node_[from_.formulas[i].root];
      to.has_conjecture = to.has_conjecture || from_.formulas[i].role_text == "conjecture";
    }
    for (std::size_t i = 0; i < from_.clauses.size(); ++i) {
      if (!selection_.keep_clause[i]) continue;
      to.clauses.push_back(from_.clauses[i]);
      for (tptp::Literal& l : to.clauses.back().literals) {
        l.left = term_[l.left];
        if (l.equality) l.right = term_[l.right];
      }
    }
    return to;
  }

 private:
  // Marks with 0; `number` then gives the marked ones their new indices.
  void mark_term(std::uint32_t root) {
    stack_.assign(1, root);
    while (!stack_.empty()) {
      const std::uint32_t t = stack_.back();
      stack_.pop_back();
      if (term_[t] != kGone) continue;
      term_[t] = 0;
      const tptp::Term& term = from_.terms[t];
      if (!term.is_variable)
        for (std::uint32_t i = 0; i < term.arity; ++i)
          stack_.push_back(from_.args[term.first_arg + i]);
    }
  }

  void mark_formula(std::uint32_t root) {
    nodes_.assign(1, root);
    while (!nodes_.empty()) {
      const std::uint32_t index = nodes_.back();
      nodes_.pop_back();
      if (node_[index] != kGone) continue;
      node_[index] = 0;
      const tptp::FormulaNode& n = from_.formula_nodes[index];
      expand(n, nodes_, [&](std::uint32_t t) { mark_term(t); });
    }
  }

  static void number(std::vector<std::uint32_t>& map) {
    std::uint32_t next = 0;
    for (std::uint32_t& entry : map)
      if (entry != kGone) entry = next++;
  }

  void copy_terms(tptp::Problem& to) const {
    for (std::size_t t = 0; t < term_.size(); ++t) {
      if (term_[t] == kGone) continue;
      tptp::Term term = from_.terms[t];
      if (!term.is_variable) {
        const auto first = static_cast<std::uint32_t>(to.args.size());
        for (std::uint32_t i = 0; i < term.arity; ++i)
          to.args.push_back(term_[from_.args[term.first_arg + i]]);
        term.first_arg = first;
      }
      to.terms.push_back(term);
    }
  }

  void copy_nodes(tptp::Problem& to) const {
    for (std::size_t i = 0; i < node_.size(); ++i) {
      if (node_[i] == kGone) continue;
      tptp::FormulaNode n = from_.formula_nodes[i];
      switch (n.connective) {
        case Connective::Atom:
          n.left = term_[n.left];
          break;
        case Connective::Equal:
        case Connective::NotEqual:
          n.left = term_[n.left];
          n.right = term_[n.right];
          break;
        case Connective::True:
        case Connective::False:
          break;
        case Connective::Not:
          n.left = node_[n.left];
          break;
        case Connective::Forall:
        case Connective::Exists: {
          n.left = node_[n.left];
          const auto first = static_cast<std::uint32_t>(to.formula_variables.size());
          const auto begin = from_.formula_variables.begin() + n.right;
          to.formula_variables.insert(to.formula_variables.end(), begin, begin + n.count);
          n.right = first;
          break;
        }
        default:
          n.left = node_[n.left];
          n.right = node_[n.right];
          break;
      }
      to.formula_nodes.push_back(n);
    }
  }

  const tptp::Problem& from_;
  const Selection& selection_;
  std::vector<std::uint32_t> term_;  // old term index -> new, kGone when not reached
  std::vector<std::uint32_t> node_;  // old formula node index -> new
  std::vector<std::uint32_t> stack_, nodes_;
};

}  // namespace

tptp::Problem restrict_problem(const tptp::Problem& problem, const Selection& selection) {
  return Restriction(problem, selection).run();
}

}  // namespace velkor::select
