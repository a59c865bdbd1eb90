#include "prover/equality/modify.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velkor::equality {
namespace {

using tptp::Clause;
using tptp::Literal;
using tptp::Problem;
using tptp::Term;

// A clause the modification made: the variant, its constraints, and the
// clause of the working set it was made from.
struct Made {
  Clause clause;
  std::vector<OrderingConstraint> constraints;
  std::uint32_t from;
  bool esa;
};

// A clause is written once per choice of orientations of its positive
// equations.  Up to this many equations the choices are spelt out (at most
// four variants); every further equation is named by a new predicate, so
// that the output stays linear in the input and keeps every orientation.
constexpr std::size_t kExpandedEquations = 2;

// One way to use a positive equation: rewrite `left` to `right`.
struct Orientation {
  std::uint32_t left;
  std::uint32_t right;
};

// The orientations of a positive equation s = t: both, since either side
// may be the greater one in an instance.
std::vector<Orientation> orientations(const Literal& literal) {
  return {{literal.left, literal.right}, {literal.right, literal.left}};
}

class Modifier {
 public:
  // `work` is the modification's own copy of the problem's clauses, with
  // the disequations of distinct objects after them; the modifier adds
  // terms and symbols to it, never to the problem.
  explicit Modifier(Problem& work) : problem_(work) {}

  Modification run(std::size_t problem_clauses) {
    Modification result;
    const std::size_t count = problem_.clauses.size();
    for (std::size_t i = 0; i < count; ++i) {
      const Clause& clause = problem_.clauses[i];
      if (clause.always_true) continue;
      for (const Literal& l : clause.literals) {
        if (!l.equality) continue;
        result.uses_equality = true;
        if (!l.positive) continue;
        for (Orientation o : orientations(l)) {
          const Term& left = problem_.terms[o.left];
          if (!left.is_variable)
            rewritten_.insert(left.id);
          else
            variable_left_ = true;  // X = t, and X = Y too, rewrites any term
        }
      }
    }
    if (!result.uses_equality) return result;
    std::vector<bool> replaced(count, false);
    for (std::size_t i = 0; i < count; ++i) {
      if (problem_.clauses[i].always_true) continue;
      std::size_t made = modify_clause(i);
      if (made == 0) continue;
      replaced[i] = true;
      ++result.replaced;
      result.modified += made;
    }
    // The clauses kept in their order, then those made, in the order made.
    auto origin = [&](std::size_t i, Origin::Kind kind, bool esa) {
      const bool theory = i >= problem_clauses;
      return Origin{kind, theory, static_cast<std::uint32_t>(theory ? i - problem_clauses : i),
                    esa};
    };
    std::vector<Clause> clauses = std::move(problem_.clauses);
    for (std::size_t i = 0; i < count; ++i) {
      if (replaced[i]) continue;
      problem_.clauses.push_back(std::move(clauses[i]));
      result.origins.push_back(origin(i, Origin::Kind::kKept, false));
      result.constraints.emplace_back();
    }
    for (Made& m : made_) {
      problem_.clauses.push_back(std::move(m.clause));
      result.origins.push_back(origin(m.from, Origin::Kind::kModified, m.esa));
      result.constraints.push_back(std::move(m.constraints));
    }
    result.clauses = std::move(problem_);
    return result;
  }

 private:
  // Writes the variants of clause `index`; returns how many, 0 when the
  // clause stays as it is.  A clause with more positive equations than
  // kExpandedEquations keeps the first ones; each further s = t becomes
  // an atom d(X1,...,Xn) over the variables of the equation, and the clause
  // ~d(X1,...,Xn) | s = t is modified beside it.  Such clauses follow from
  // the original only with the definition d <=> s = t, so they are merely
  // equisatisfiable with it.
  std::size_t modify_clause(std::size_t index) {
    const std::vector<Literal> literals = problem_.clauses[index].literals;
    std::vector<Literal> kept;
    std::vector<std::vector<Literal>> named;
    std::size_t equations = 0;
    for (const Literal& l : literals) {
      if (!l.equality || !l.positive || equations++ < kExpandedEquations) {
        kept.push_back(l);
        continue;
      }
      const std::uint32_t atom = definition_atom(l);
      kept.push_back(Literal{true, false, atom, 0});
      named.push_back({Literal{false, false, atom, 0}, l});
    }
    const bool esa = !named.empty();
    std::size_t made = variants(index, kept, esa);
    for (const std::vector<Literal>& n : named) made += variants(index, n, esa);
    return made;
  }

  // The variants of `literals`, one per choice of orientations.
  std::size_t variants(std::size_t index, const std::vector<Literal>& literals, bool esa) {
    std::vector<std::vector<Orientation>> choices;
    std::size_t count = 1;
    for (const Literal& l : literals) {
      if (!l.equality || !l.positive) continue;
      choices.push_back(orientations(l));
      count *= choices.back().size();
    }
    std::size_t made = 0;
    for (std::size_t v = 0; v < count; ++v) {
      std::vector<Orientation> chosen;
      std::size_t rest = v;
      for (const auto& c : choices) {
        chosen.push_back(c[rest % c.size()]);
        rest /= c.size();
      }
      if (build(index, literals, chosen, esa)) ++made;
    }
    return made;
  }

  // A new predicate applied to the variables of equation `l`, in order of
  // their first occurrence.
  std::uint32_t definition_atom(const Literal& l) {
    std::vector<std::uint32_t> variables;
    std::vector<std::uint32_t> seen;
    std::vector<std::uint32_t> pending = {l.right, l.left};
    while (!pending.empty()) {
      const Term term = problem_.terms[pending.back()];
      const std::uint32_t t = pending.back();
      pending.pop_back();
      if (term.is_variable) {
        if (std::find(seen.begin(), seen.end(), term.id) == seen.end()) {
          seen.push_back(term.id);
          variables.push_back(t);
        }
        continue;
      }
      for (std::uint32_t i = term.arity; i > 0; --i)
        pending.push_back(problem_.args[term.first_arg + i - 1]);
    }
    if (taken_symbols_.empty())
      for (std::size_t i = 0; i < problem_.symbol_count(); ++i)
        taken_symbols_.insert(problem_.symbol(static_cast<std::uint32_t>(i)).spelling);
    std::string name;
    do name = "equation" + std::to_string(++definitions_made_);
    while (!taken_symbols_.insert(name).second);
    const std::uint32_t symbol = problem_.intern(tptp::SymbolKind::Plain, name);
    const auto first = static_cast<std::uint32_t>(problem_.args.size());
    problem_.args.insert(problem_.args.end(), variables.begin(), variables.end());
    problem_.terms.push_back(
        Term{false, symbol, first, static_cast<std::uint32_t>(variables.size())});
    return static_cast<std::uint32_t>(problem_.terms.size() - 1);
  }

  // Builds one variant; false when it would be the clause itself.
  bool build(std::size_t index, const std::vector<Literal>& literals,
             const std::vector<Orientation>& chosen, bool esa) {
    Clause out = problem_.clauses[index];
    out.literals.clear();
    constraints_.clear();
    clause_ = &out;
    changed_ = esa;
    shared_.clear();
    taken_names_.clear();
    taken_names_.insert(out.variables.begin(), out.variables.end());
    definitions_.clear();
    std::size_t next_equation = 0;
    bool rewrites = false;
    for (const Literal& l : literals) {
      rewrites = rewrites || (l.equality && l.positive);
      if (!l.equality) {
        out.literals.push_back(Literal{l.positive, false, arguments_flattened(l.left), 0});
      } else if (!l.positive) {
        negative_equation(l);
      } else {
        positive_equation(chosen[next_equation++], l);
      }
    }
    // In a clause with a positive equation, the definitions of the fresh
    // variables come after the literals that use them: the rewrite step
    // binds the variables of its left side to the arguments of the term it
    // rewrites, normal forms that the definitions then have to reach.  In
    // other clauses they come first, where reflexivity closes them at once
    // and the search begins as it would on the clause itself; rewriting a
    // term is an alternative left for backtracking.
    for (const Literal& d : definitions_) {
      const auto n = static_cast<std::uint32_t>(out.literals.size());
      out.literals.push_back(d);
      constraints_.push_back(constraint(n, n, false));
    }
    if (!rewrites) definitions_first(out);
    if (!changed_ && constraints_.empty()) return false;
    made_.push_back(Made{std::move(out), constraints_, static_cast<std::uint32_t>(index), esa});
    return true;
  }

  std::size_t size(std::uint32_t t) const {
    const Term& term = problem_.terms[t];
    std::size_t n = 1;
    for (std::uint32_t i = 0; i < term.arity; ++i) n += size(problem_.args[term.first_arg + i]);
    return n;
  }

  // Moves the definitions of the fresh variables (the last literals) to the
  // front, renumbering the constraints.
  void definitions_first(Clause& out) {
    const auto total = static_cast<std::uint32_t>(out.literals.size());
    const auto own = total - static_cast<std::uint32_t>(definitions_.size());
    std::rotate(out.literals.begin(), out.literals.begin() + own, out.literals.end());
    auto moved = [&](std::uint32_t i) { return i < own ? i + (total - own) : i - own; };
    for (OrderingConstraint& o : constraints_) {
      o.greater = static_cast<std::int32_t>(moved(static_cast<std::uint32_t>(o.greater)));
      o.smaller = static_cast<std::int32_t>(moved(static_cast<std::uint32_t>(o.smaller)));
    }
  }

  // Whether a term can stand in place: a variable (a normal form), or a
  // term whose head no equation rewrites.
  bool rigid(std::uint32_t t) const {
    const Term& term = problem_.terms[t];
    return term.is_variable || !rewritten_.contains(term.id);
  }

  // Term `t` with every argument flattened, the head kept.
  std::uint32_t arguments_flattened(std::uint32_t t) {
    const Term term = problem_.terms[t];  // a copy: the arena grows below
    if (term.is_variable || term.arity == 0) return t;
    std::vector<std::uint32_t> args(term.arity);
    bool same = true;
    for (std::uint32_t i = 0; i < term.arity; ++i) {
      const std::uint32_t a = problem_.args[term.first_arg + i];
      args[i] = in_place(a);
      same = same && args[i] == a;
    }
    if (same) return t;
    const auto first = static_cast<std::uint32_t>(problem_.args.size());
    problem_.args.insert(problem_.args.end(), args.begin(), args.end());
    problem_.terms.push_back(Term{false, term.id, first, term.arity});
    return static_cast<std::uint32_t>(problem_.terms.size() - 1);
  }

  // What stands in an argument place for term `t`: the term itself when it
  // is rigid (its arguments flattened), else the variable for its normal
  // form, the same one for every occurrence of the term in the clause.
  std::uint32_t in_place(std::uint32_t t) {
    const std::uint32_t flat = arguments_flattened(t);
    if (rigid(t)) return flat;
    std::string key;
    text(flat, key);
    auto [it, inserted] = shared_.try_emplace(key, 0);
    if (inserted) {
      it->second = fresh_variable();
      definitions_.push_back(Literal{false, true, flat, it->second});
    }
    return it->second;
  }

  void text(std::uint32_t t, std::string& out) const {
    const Term& term = problem_.terms[t];
    out += term.is_variable ? 'V' : 'F';
    out += std::to_string(term.id);
    if (term.arity == 0) return;
    out += '(';
    for (std::uint32_t i = 0; i < term.arity; ++i) {
      if (i > 0) out += ',';
      text(problem_.args[term.first_arg + i], out);
    }
    out += ')';
  }

  std::uint32_t fresh_variable() {
    changed_ = true;
    std::string name;
    for (std::size_t k = clause_->variables.size() + 1;; ++k) {
      name = "E" + std::to_string(k);
      if (taken_names_.insert(name).second) break;
    }
    const auto id = static_cast<std::uint32_t>(clause_->variables.size());
    clause_->variables.push_back(name);
    problem_.terms.push_back(Term{true, id, 0, 0});
    return static_cast<std::uint32_t>(problem_.terms.size() - 1);
  }

  // s != t: both sides rewrite to one normal form.  A rigid side is its
  // own normal form; two rigid sides must be identical.
  void negative_equation(const Literal& l) {
    const std::uint32_t s = arguments_flattened(l.left);
    const std::uint32_t t = arguments_flattened(l.right);
    auto& literals = clause_->literals;
    // An equation whose left side is a variable rewrites rigid terms too,
    // at the top: then only a variable side stands for its normal form.
    const auto& terms = problem_.terms;
    const bool rs = variable_left_ ? terms[l.left].is_variable : rigid(l.left);
    const bool rt = variable_left_ ? terms[l.right].is_variable : rigid(l.right);
    if (rs && rt) {
      literals.push_back(Literal{false, true, s, t});
      return;
    }
    changed_ = changed_ || rs;
    const auto n = static_cast<std::uint32_t>(literals.size());
    if (rs || rt) {  // the other side rewrites to the rigid one
      literals.push_back(Literal{false, true, rs ? t : s, rs ? s : t});
      constraints_.push_back(constraint(n, n, false));
      return;
    }
    // The smaller side first: it has fewer normal forms to offer, and
    // the constraint on the greater side then prunes at once.
    const std::uint32_t y = fresh_variable();
    const bool swap = size(t) < size(s);
    literals.push_back(Literal{false, true, swap ? t : s, y});
    literals.push_back(Literal{false, true, swap ? s : t, y});
    constraints_.push_back(constraint(n, n, false));
    constraints_.push_back(constraint(n + 1, n + 1, false));
  }

  // l = r used to rewrite l: `l = r` when r is rigid, else `l = Z | r != Z`;
  // either way l must be greater than what it rewrites to, and r at least as
  // great as its normal form Z.
  void positive_equation(Orientation o, const Literal& l) {
    changed_ = changed_ || o.left != l.left;
    const std::uint32_t left = arguments_flattened(o.left);
    const std::uint32_t right = arguments_flattened(o.right);
    auto& literals = clause_->literals;
    const auto n = static_cast<std::uint32_t>(literals.size());
    if (rigid(o.right)) {
      literals.push_back(Literal{true, true, left, right});
      constraints_.push_back(constraint(n, n, true));
      return;
    }
    const std::uint32_t z = fresh_variable();
    literals.push_back(Literal{true, true, left, z});
    literals.push_back(Literal{false, true, right, z});
    constraints_.push_back(constraint(n, n, true));
    constraints_.push_back(constraint(n + 1, n + 1, false));
  }

  // The left side of equality literal `greater` above (or, not `strict`, at
  // least as great as) the right side of literal `smaller`.
  static OrderingConstraint constraint(std::uint32_t greater, std::uint32_t smaller, bool strict) {
    return OrderingConstraint{static_cast<std::int32_t>(greater), 0,
                              static_cast<std::int32_t>(smaller), 1, strict};
  }

  Problem& problem_;
  std::unordered_set<std::uint32_t> rewritten_;  // heads of left sides
  bool variable_left_ = false;                   // some equation rewrites a variable into a term
  Clause* clause_ = nullptr;                     // the variant being built
  std::vector<OrderingConstraint> constraints_;  // of the variant being built
  std::vector<Made> made_;
  bool changed_ = false;
  std::unordered_map<std::string, std::uint32_t> shared_;  // flattened term -> its variable
  std::unordered_set<std::string> taken_names_;
  std::vector<Literal> definitions_;
  std::unordered_set<std::string> taken_symbols_;  // spellings of the problem's symbols
  std::size_t definitions_made_ = 0;
};

}  // namespace

Modification modify(const Problem& problem,
                    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& distinct_pairs) {
  Problem work = problem;
  work.formulas.clear();
  work.formula_nodes.clear();
  work.formula_variables.clear();
  const std::size_t problem_clauses = work.clauses.size();
  for (auto [a, b] : distinct_pairs) {
    // "a" != "b", as a clause of its own: it is modified like the others.
    Clause clause;
    clause.name = {tptp::SymbolKind::Plain,
                   "distinct_" + std::to_string(work.clauses.size() - problem_clauses + 1)};
    clause.name_key = clause.name.spelling;
    clause.role = tptp::Role::Axiom;
    clause.role_text = "axiom";
    const auto left = static_cast<std::uint32_t>(work.terms.size());
    work.terms.push_back(Term{false, a, 0, 0});
    work.terms.push_back(Term{false, b, 0, 0});
    clause.literals.push_back(Literal{false, true, left, left + 1});
    work.clauses.push_back(std::move(clause));
  }
  return Modifier(work).run(problem_clauses);
}

}  // namespace velkor::equality
