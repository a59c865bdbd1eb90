// The clausifier works on a tree of its own: n-ary conjunctions and
// disjunctions, literals, equivalences and quantifiers over numbered
// variables.  Every quantifier binding of the input has its own variable
// number (the formula's variable index plus the formula's offset), so
// moving quantifiers never captures anything; Skolemization gives every
// universal binding it meets a fresh number again, which keeps copies made
// by expanding equivalences apart.
//
// Clause counts decide the definitions: p(F) is the number of clauses F
// gives, n(F) the number ~F gives.  Outside equivalences every subformula
// occurs positively (negation normal form), so only p matters and a named
// subformula G needs only ~d | G; inside an equivalence both polarities
// occur and the definition needs both directions.  Naming proceeds bottom
// up, so the counts of a subformula are those after naming its parts, and
// every disjunction ends up with at most `definition_threshold` clauses
// (unless its parts are literals already): the output stays linear in the
// input.
//
// The passes recurse once per alternation of connectives (runs of the same
// connective are gathered in loops), on the large stack.

#include "tptp/clausify.hpp"

#include <algorithm>
#include <exception>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/large_stack.hpp"
#include "tptp/parsing.hpp"

namespace tptp {
namespace {

constexpr std::uint64_t kCountCap = std::uint64_t{1} << 50;
constexpr std::uint32_t kUnbound = UINT32_MAX;

std::uint64_t add(std::uint64_t a, std::uint64_t b) {
  return std::min(a + b, kCountCap);
}
std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > kCountCap / a) return kCountCap;
  return std::min(a * b, kCountCap);
}

enum class K : std::uint8_t { Lit, True, False, And, Or, Iff, All, Ex };

struct Node {
  K kind = K::True;
  bool positive = false;    // Lit
  bool equality = false;    // Lit: a = b
  std::uint32_t a = 0;      // Lit: atom or left side; Iff: left; All, Ex: body
  std::uint32_t b = 0;      // Lit: right side; Iff: right
  std::uint32_t first = 0;  // And, Or: children, All, Ex: variables, in Clausifier::list_
  std::uint32_t count = 0;  // of them
  std::uint32_t base = 0;   // Lit: added to the variable ids of its terms
  std::uint64_t pos = 1;    // clauses the node gives (set by naming)
  std::uint64_t neg = 1;    // clauses its negation gives
};

// Where the clauses of one formula (with its definitions) come from.
struct Origin {
  std::vector<std::uint32_t> formulas;
  Role role;
  const Formula* first;
};

class Clausifier {
 public:
  Clausifier(Problem& problem, const ClausifyOptions& options)
      : problem_(problem), options_(options) {
    for (std::uint32_t id = 0; id < problem.symbol_count(); ++id)
      taken_symbols_.insert(problem.symbol(id).spelling);
    taken_symbols_.insert("equal");
    taken_symbols_.insert("input_clause");
    for (const Clause& clause : problem.clauses) taken_names_.insert(clause.name_key);
    for (const Formula& formula : problem.formulas) taken_names_.insert(formula.name_key);
    for (const Formula& formula : problem.formulas) {
      bases_.push_back(static_cast<std::uint32_t>(names_.size()));
      names_.insert(names_.end(), formula.variables.begin(), formula.variables.end());
    }
    env_.assign(names_.size(), kUnbound);
  }

  void run() {
    bool conjectures_done = false;
    for (std::uint32_t i = 0; i < problem_.formulas.size(); ++i) {
      const Formula& formula = problem_.formulas[i];
      if (formula.role_text == "conjecture") {
        if (!conjectures_done) negated_conjectures();
        conjectures_done = true;
        continue;
      }
      Role role = formula.role_text == "negated_conjecture" ? Role::Conjecture
                  : formula.role_text == "hypothesis"       ? Role::Hypothesis
                                                            : Role::Axiom;
      formula_clauses(nnf(formula.root, true, bases_[i]), Origin{{i}, role, &formula});
    }
  }

 private:
  // ---- building nodes ----

  std::uint32_t push(Node node) {
    nodes_.push_back(node);
    parent_.push_back(kUnbound);
    return static_cast<std::uint32_t>(nodes_.size() - 1);
  }
  std::uint32_t constant(bool value) { return push(Node{value ? K::True : K::False}); }
  std::uint32_t lit(bool positive, bool equality, std::uint32_t a, std::uint32_t b,
                    std::uint32_t base) {
    return push(Node{K::Lit, positive, equality, a, b, 0, 0, base});
  }
  bool is(std::uint32_t node, K kind) const { return nodes_[node].kind == kind; }

  // A conjunction or disjunction of `kids`, with nested ones of the same
  // kind flattened and truth values simplified away.
  std::uint32_t junction(K kind, const std::vector<std::uint32_t>& kids) {
    K unit = kind == K::And ? K::True : K::False;  // leaves the junction unchanged
    K zero = kind == K::And ? K::False : K::True;  // decides it
    std::vector<std::uint32_t> flat;
    for (std::uint32_t kid : kids) {
      const Node& n = nodes_[kid];
      if (n.kind == unit) continue;
      if (n.kind == zero) return constant(zero == K::True);
      if (n.kind == kind) {
        for (std::uint32_t i = 0; i < n.count; ++i) flat.push_back(list_[n.first + i]);
      } else {
        flat.push_back(kid);
      }
    }
    if (flat.empty()) return constant(unit == K::True);
    if (flat.size() == 1) return flat[0];
    auto first = static_cast<std::uint32_t>(list_.size());
    list_.insert(list_.end(), flat.begin(), flat.end());
    std::uint32_t result =
        push(Node{kind, false, false, 0, 0, first, static_cast<std::uint32_t>(flat.size())});
    for (std::uint32_t kid : flat) parent_[kid] = result;
    return result;
  }

  std::uint32_t quantifier(K kind, const std::vector<std::uint32_t>& variables,
                           std::uint32_t body) {
    if (variables.empty() || is(body, K::True) || is(body, K::False)) return body;
    auto first = static_cast<std::uint32_t>(list_.size());
    list_.insert(list_.end(), variables.begin(), variables.end());
    std::uint32_t result = push(
        Node{kind, false, false, body, 0, first, static_cast<std::uint32_t>(variables.size())});
    parent_[body] = result;
    return result;
  }

  std::uint32_t iff(std::uint32_t left, std::uint32_t right) {
    if (is(left, K::True)) return right;
    if (is(left, K::False)) return negate(right);
    if (is(right, K::True)) return left;
    if (is(right, K::False)) return negate(left);
    std::uint32_t result = push(Node{K::Iff, false, false, left, right});
    parent_[left] = parent_[right] = result;
    return result;
  }

  std::vector<std::uint32_t> kids(std::uint32_t node) const {
    const Node& n = nodes_[node];
    return {list_.begin() + n.first, list_.begin() + n.first + n.count};
  }

  // A copy of the negation of `node`, in negation normal form.
  std::uint32_t negate(std::uint32_t node) {
    Node n = nodes_[node];
    switch (n.kind) {
      case K::Lit:
        return lit(!n.positive, n.equality, n.a, n.b, n.base);
      case K::True:
      case K::False:
        return constant(n.kind == K::False);
      case K::And:
      case K::Or: {
        std::vector<std::uint32_t> negated;
        for (std::uint32_t kid : kids(node)) negated.push_back(negate(kid));
        return junction(n.kind == K::And ? K::Or : K::And, negated);
      }
      case K::Iff:
        return iff(n.a, negate(n.b));
      case K::All:
      case K::Ex:
        return quantifier(n.kind == K::All ? K::Ex : K::All, kids(node), negate(n.a));
    }
    return node;
  }

  // ---- negation normal form of the input ----

  // The junction a binary connective becomes under `positive`, and the
  // polarities of its operands; K::Lit when it is not a junction.
  static K junction_of(Connective c, bool positive, bool* left_positive, bool* right_positive) {
    *left_positive = *right_positive = positive;
    switch (c) {
      case Connective::And:
        return positive ? K::And : K::Or;
      case Connective::Or:
        return positive ? K::Or : K::And;
      case Connective::Implies:
        *left_positive = !positive;
        return positive ? K::Or : K::And;
      case Connective::Implied:
        *right_positive = !positive;
        return positive ? K::Or : K::And;
      case Connective::Nor:
        *left_positive = *right_positive = !positive;
        return positive ? K::And : K::Or;
      case Connective::Nand:
        *left_positive = *right_positive = !positive;
        return positive ? K::Or : K::And;
      default:
        return K::Lit;
    }
  }

  std::uint32_t nnf(std::uint32_t formula, bool positive, std::uint32_t base) {
    const std::vector<FormulaNode>& ast = problem_.formula_nodes;
    while (ast[formula].connective == Connective::Not) {
      formula = ast[formula].left;
      positive = !positive;
    }
    const FormulaNode& f = ast[formula];
    bool left_positive, right_positive;
    K kind = junction_of(f.connective, positive, &left_positive, &right_positive);
    switch (f.connective) {
      case Connective::Atom:
        return lit(positive, false, f.left, 0, base);
      case Connective::Equal:
      case Connective::NotEqual:
        return lit(positive == (f.connective == Connective::Equal), true, f.left, f.right, base);
      case Connective::True:
      case Connective::False:
        return constant(positive == (f.connective == Connective::True));
      case Connective::Forall:
      case Connective::Exists: {
        std::vector<std::uint32_t> variables;
        for (std::uint32_t i = 0; i < f.count; ++i)
          variables.push_back(base + problem_.formula_variables[f.right + i]);
        K q = (f.connective == Connective::Forall) == positive ? K::All : K::Ex;
        return quantifier(q, variables, nnf(f.left, positive, base));
      }
      case Connective::Iff:
      case Connective::Xor: {
        std::uint32_t left = nnf(f.left, true, base);
        return iff(left, nnf(f.right, positive == (f.connective == Connective::Iff), base));
      }
      default:
        break;
    }
    // A run of connectives that all become `kind` is gathered without recursion.
    std::vector<std::pair<std::uint32_t, bool>> pending{{f.right, right_positive},
                                                        {f.left, left_positive}};
    std::vector<std::uint32_t> parts;
    while (!pending.empty()) {
      auto [next, sign] = pending.back();
      pending.pop_back();
      while (ast[next].connective == Connective::Not) {
        next = ast[next].left;
        sign = !sign;
      }
      bool lp, rp;
      if (junction_of(ast[next].connective, sign, &lp, &rp) == kind) {
        pending.emplace_back(ast[next].right, rp);
        pending.emplace_back(ast[next].left, lp);
      } else {
        parts.push_back(nnf(next, sign, base));
      }
    }
    return junction(kind, parts);
  }

  // ---- variables ----

  // Calls f(variable) for the variable occurrences in the term until f
  // returns true; returns whether it did.
  template <typename F>
  bool term_variables(std::uint32_t term, std::uint32_t base, F&& f) const {
    std::vector<std::uint32_t> stack{term};
    while (!stack.empty()) {
      const Term& t = problem_.terms[stack.back()];
      stack.pop_back();
      if (t.is_variable) {
        if (f(t.id + base)) return true;
        continue;
      }
      for (std::uint32_t i = 0; i < t.arity; ++i) stack.push_back(problem_.args[t.first_arg + i]);
    }
    return false;
  }

  // The same for the variable occurrences in a subtree, nearest first.
  template <typename F>
  bool node_variables(std::uint32_t node, F&& f) const {
    std::vector<std::uint32_t> stack{node};
    while (!stack.empty()) {
      const Node& n = nodes_[stack.back()];
      stack.pop_back();
      switch (n.kind) {
        case K::Lit:
          if (term_variables(n.a, n.base, f) || (n.equality && term_variables(n.b, n.base, f)))
            return true;
          break;
        case K::And:
        case K::Or:
          for (std::uint32_t i = n.count; i-- > 0;) stack.push_back(list_[n.first + i]);
          break;
        case K::Iff:
          stack.push_back(n.b);
          stack.push_back(n.a);
          break;
        case K::All:
        case K::Ex:
          stack.push_back(n.a);
          break;
        default:
          break;
      }
    }
    return false;
  }

  bool occurs(std::uint32_t variable, std::uint32_t node) const {
    return node_variables(node, [&](std::uint32_t v) { return v == variable; });
  }

  // Variables occurring in the subtree that no quantifier inside it binds,
  // in order of first occurrence.  Bindings are unique, so a variable is
  // bound inside exactly when a quantifier inside lists it.
  std::vector<std::uint32_t> free_variables(std::uint32_t node) const {
    std::unordered_set<std::uint32_t> bound, seen;
    std::vector<std::uint32_t> stack{node};
    while (!stack.empty()) {
      const Node& n = nodes_[stack.back()];
      stack.pop_back();
      if (n.kind == K::All || n.kind == K::Ex) {
        for (std::uint32_t i = 0; i < n.count; ++i) bound.insert(list_[n.first + i]);
        stack.push_back(n.a);
      } else if (n.kind == K::And || n.kind == K::Or) {
        for (std::uint32_t i = 0; i < n.count; ++i) stack.push_back(list_[n.first + i]);
      } else if (n.kind == K::Iff) {
        stack.push_back(n.a);
        stack.push_back(n.b);
      }
    }
    std::vector<std::uint32_t> result;
    node_variables(node, [&](std::uint32_t v) {
      if (!bound.contains(v) && seen.insert(v).second) result.push_back(v);
      return false;
    });
    return result;
  }

  // ---- miniscoping ----

  std::uint32_t miniscope(std::uint32_t node) {
    Node n = nodes_[node];
    switch (n.kind) {
      case K::And:
      case K::Or: {
        std::vector<std::uint32_t> parts;
        for (std::uint32_t kid : kids(node)) parts.push_back(miniscope(kid));
        return junction(n.kind, parts);
      }
      case K::Iff:
        return iff(miniscope(n.a), miniscope(n.b));
      case K::All:
      case K::Ex: {
        std::uint32_t body = miniscope(n.a);
        std::vector<std::uint32_t> variables = kids(node);
        for (auto v = variables.rbegin(); v != variables.rend(); ++v)
          body = push_quantifier(n.kind, *v, body);
        return body;
      }
      default:
        return node;
    }
  }

  // Whether the variable occurs in the subtree, for miniscoping: walks up
  // from the literals that hold it.  A node is made after its children, so
  // its ancestors have larger numbers, and the last parent set for a node
  // is its parent in the tree being built; miniscoping makes no literals.
  // Walking up from the few literals near the quantifier beats walking down
  // a deep subtree once per quantifier.
  bool occurs_below(std::uint32_t variable, std::uint32_t node) const {
    auto found = literals_of_.find(variable);
    if (found == literals_of_.end()) return false;
    for (std::uint32_t x : found->second) {
      while (x < node) x = parent_[x];
      if (x == node) return true;
    }
    return false;
  }

  void index_literals(std::uint32_t root) {
    literals_of_.clear();
    std::vector<std::uint32_t> stack{root};
    while (!stack.empty()) {
      std::uint32_t node = stack.back();
      const Node& n = nodes_[node];
      stack.pop_back();
      if (n.kind == K::Lit) {
        auto note = [&](std::uint32_t v) {
          std::vector<std::uint32_t>& literals = literals_of_[v];
          if (literals.empty() || literals.back() != node) literals.push_back(node);
          return false;
        };
        term_variables(n.a, n.base, note);
        if (n.equality) term_variables(n.b, n.base, note);
      } else if (n.kind == K::And || n.kind == K::Or) {
        for (std::uint32_t i = 0; i < n.count; ++i) stack.push_back(list_[n.first + i]);
      } else if (n.kind == K::Iff) {
        stack.push_back(n.a);
        stack.push_back(n.b);
      } else if (n.kind == K::All || n.kind == K::Ex) {
        stack.push_back(n.a);
      }
    }
  }

  // Q v. body with the quantifier as deep as it can go: a universal
  // distributes over a conjunction and leaves the disjuncts without v
  // outside; an existential the other way round.
  std::uint32_t push_quantifier(K q, std::uint32_t variable, std::uint32_t body) {
    if (!occurs_below(variable, body)) return body;
    const K kind = nodes_[body].kind;
    K spreads = q == K::All ? K::And : K::Or;  // the junction it distributes over
    K splits = q == K::All ? K::Or : K::And;   // the junction it narrows down in
    if (kind == spreads) {
      std::vector<std::uint32_t> parts;
      for (std::uint32_t kid : kids(body)) parts.push_back(push_quantifier(q, variable, kid));
      return junction(spreads, parts);
    }
    if (kind == splits) {
      // The quantified part stands where the first part with v stood, so
      // that literals keep their order.
      std::vector<std::uint32_t> with, parts;
      std::size_t at = 0;
      for (std::uint32_t kid : kids(body)) {
        if (!occurs_below(variable, kid)) {
          parts.push_back(kid);
        } else {
          if (with.empty()) at = parts.size();
          with.push_back(kid);
        }
      }
      std::uint32_t narrowed = with.size() == 1 ? push_quantifier(q, variable, with[0])
                                                : quantifier(q, {variable}, junction(splits, with));
      parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), narrowed);
      return junction(splits, parts);
    }
    return quantifier(q, {variable}, body);
  }

  // ---- definitions ----

  std::string fresh_symbol(const char* prefix, std::uint32_t& counter) {
    while (true) {
      std::string name = prefix + std::to_string(++counter);
      if (taken_symbols_.insert(name).second) return name;
    }
  }

  std::uint32_t variable_term(std::uint32_t variable) {
    problem_.terms.push_back(Term{true, variable, 0, 0});
    return static_cast<std::uint32_t>(problem_.terms.size() - 1);
  }

  std::uint32_t application(std::uint32_t symbol, const std::vector<std::uint32_t>& arguments) {
    Term t{false, symbol, static_cast<std::uint32_t>(problem_.args.size()),
           static_cast<std::uint32_t>(arguments.size())};
    problem_.args.insert(problem_.args.end(), arguments.begin(), arguments.end());
    problem_.terms.push_back(t);
    return static_cast<std::uint32_t>(problem_.terms.size() - 1);
  }

  // Replaces `node` by a new predicate over its free variables; the
  // definition (d -> node, and node -> d too when `both`) is queued.
  std::uint32_t define(std::uint32_t node, bool both) {
    std::vector<std::uint32_t> variables = free_variables(node);
    std::vector<std::uint32_t> arguments;
    for (std::uint32_t v : variables) arguments.push_back(variable_term(v));
    std::uint32_t symbol = problem_.intern(SymbolKind::Plain, fresh_symbol("def", definitions_));
    introduced_.insert(symbol);
    std::uint32_t atom = application(symbol, arguments);
    std::uint32_t negative = lit(false, false, atom, 0, 0);
    definitions_queue_.push_back(quantifier(K::All, variables, junction(K::Or, {negative, node})));
    if (both) {
      std::uint32_t positive = lit(true, false, atom, 0, 0);
      definitions_queue_.push_back(
          quantifier(K::All, variables, junction(K::Or, {positive, negate(node)})));
    }
    return lit(true, false, atom, 0, 0);
  }

  // Names parts of `node` (bottom up) until it gives at most the threshold
  // of clauses, and sets its counts.  `both`: the node occurs under an
  // equivalence, so its negation is clausified as well.
  std::uint32_t name(std::uint32_t node, bool both) {
    const std::uint64_t limit = options_.definition_threshold;
    Node n = nodes_[node];
    switch (n.kind) {
      case K::And:
      case K::Or: {
        std::vector<std::uint32_t> parts;
        for (std::uint32_t kid : kids(node)) parts.push_back(name(kid, both));
        // A disjunction multiplies the clause counts of its parts, and a
        // conjunction those of the negated parts.
        bool multiplies_pos = n.kind == K::Or;
        if (multiplies_pos || both) {
          auto count = [&](std::uint32_t k) {
            return multiplies_pos ? nodes_[k].pos : nodes_[k].neg;
          };
          while (true) {
            std::uint64_t product = 1;
            std::size_t largest = 0;
            for (std::size_t i = 0; i < parts.size(); ++i) {
              product = mul(product, count(parts[i]));
              if (count(parts[i]) > count(parts[largest])) largest = i;
            }
            if (product <= limit || count(parts[largest]) <= 1) break;
            parts[largest] = define(parts[largest], both);
          }
        }
        std::uint32_t result = junction(n.kind, parts);
        Node& r = nodes_[result];
        r.pos = n.kind == K::And ? 0 : 1;
        r.neg = n.kind == K::And ? 1 : 0;
        for (std::uint32_t kid : parts) {
          if (n.kind == K::And) {
            r.pos = add(r.pos, nodes_[kid].pos);
            r.neg = mul(r.neg, nodes_[kid].neg);
          } else {
            r.pos = mul(r.pos, nodes_[kid].pos);
            r.neg = add(r.neg, nodes_[kid].neg);
          }
        }
        return result;
      }
      case K::Iff: {
        std::uint32_t sides[2] = {name(n.a, true), name(n.b, true)};
        while (true) {
          const Node &x = nodes_[sides[0]], &y = nodes_[sides[1]];
          std::uint64_t pos = add(mul(x.neg, y.pos), mul(y.neg, x.pos));
          std::uint64_t neg = mul(add(x.pos, y.neg), add(x.neg, y.pos));
          if (pos <= limit && (!both || neg <= limit)) break;
          int pick = add(x.pos, x.neg) >= add(y.pos, y.neg) ? 0 : 1;
          if (is(sides[pick], K::Lit)) pick = 1 - pick;
          if (is(sides[pick], K::Lit)) break;
          sides[pick] = define(sides[pick], true);
        }
        std::uint32_t result = push(Node{K::Iff, false, false, sides[0], sides[1]});
        const Node &x = nodes_[sides[0]], &y = nodes_[sides[1]];
        std::uint64_t pos = add(mul(x.neg, y.pos), mul(y.neg, x.pos));
        std::uint64_t neg = mul(add(x.pos, y.neg), add(x.neg, y.pos));
        nodes_[result].pos = pos;
        nodes_[result].neg = neg;
        return result;
      }
      case K::All:
      case K::Ex: {
        std::uint32_t body = name(n.a, both);
        std::uint32_t result = quantifier(n.kind, kids(node), body);
        nodes_[result].pos = nodes_[body].pos;
        nodes_[result].neg = nodes_[body].neg;
        return result;
      }
      default:
        return node;
    }
  }

  // ---- Skolemization ----

  std::uint32_t fresh_variable(std::uint32_t like) {
    names_.push_back(names_[like]);
    env_.resize(names_.size(), kUnbound);
    return static_cast<std::uint32_t>(names_.size() - 1);
  }

  // The term with its variables replaced as env_ says.
  std::uint32_t instantiate(std::uint32_t term, std::uint32_t base) {
    const Term t = problem_.terms[term];
    if (t.is_variable) return env_[t.id + base];
    std::vector<std::uint32_t> arguments;
    bool changed = false;
    for (std::uint32_t i = 0; i < t.arity; ++i) {
      std::uint32_t arg = problem_.args[t.first_arg + i];
      arguments.push_back(instantiate(arg, base));
      changed = changed || arguments.back() != arg;
    }
    return changed ? application(t.id, arguments) : term;
  }

  // A quantifier-free copy of `node`: universal variables renamed apart,
  // existential ones replaced by Skolem terms, equivalences expanded.
  std::uint32_t skolemize(std::uint32_t node) {
    Node n = nodes_[node];
    switch (n.kind) {
      case K::Lit:
        return lit(n.positive, n.equality, instantiate(n.a, n.base),
                   n.equality ? instantiate(n.b, n.base) : 0, 0);
      case K::And:
      case K::Or: {
        std::vector<std::uint32_t> parts;
        for (std::uint32_t kid : kids(node)) parts.push_back(skolemize(kid));
        return junction(n.kind, parts);
      }
      case K::Iff: {
        std::uint32_t forward = junction(K::Or, {negate(n.a), n.b});
        std::uint32_t backward = junction(K::Or, {n.a, negate(n.b)});
        return skolemize(junction(K::And, {forward, backward}));
      }
      case K::All:
      case K::Ex: {
        std::vector<std::uint32_t> variables = kids(node), saved;
        std::vector<std::uint32_t> arguments;
        if (n.kind == K::Ex)
          for (auto [original, term] : universals_)
            if (occurs(original, n.a)) arguments.push_back(term);
        for (std::uint32_t v : variables) {
          saved.push_back(env_[v]);
          if (n.kind == K::All) {
            env_[v] = variable_term(fresh_variable(v));
            universals_.emplace_back(v, env_[v]);
          } else {
            std::uint32_t symbol = problem_.intern(SymbolKind::Plain, fresh_symbol("sk", skolems_));
            introduced_.insert(symbol);
            env_[v] = application(symbol, arguments);
          }
        }
        std::uint32_t result = skolemize(n.a);
        if (n.kind == K::All) universals_.resize(universals_.size() - variables.size());
        for (std::size_t i = 0; i < variables.size(); ++i) env_[variables[i]] = saved[i];
        return result;
      }
      default:
        return node;
    }
  }

  // ---- clauses ----

  using Literals = std::vector<std::uint32_t>;  // Lit nodes

  // The clauses of a quantifier-free node, by distribution.
  std::vector<Literals> distribute(std::uint32_t node) {
    const Node& n = nodes_[node];
    if (n.kind == K::And) {
      std::vector<Literals> result;
      for (std::uint32_t kid : kids(node)) {
        std::vector<Literals> part = distribute(kid);
        result.insert(result.end(), std::make_move_iterator(part.begin()),
                      std::make_move_iterator(part.end()));
      }
      return result;
    }
    if (n.kind == K::Or) {
      std::vector<Literals> result{Literals{}};
      for (std::uint32_t kid : kids(node)) {
        std::vector<Literals> part = distribute(kid), product;
        for (const Literals& left : result) {
          for (const Literals& right : part) {
            product.push_back(left);
            product.back().insert(product.back().end(), right.begin(), right.end());
          }
        }
        result = std::move(product);
      }
      return result;
    }
    if (n.kind == K::True) return {};
    if (n.kind == K::False) return {Literals{}};
    return {Literals{node}};
  }

  bool same_term(std::uint32_t x, std::uint32_t y) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{x, y}};
    while (!stack.empty()) {
      auto [a, b] = stack.back();
      stack.pop_back();
      if (a == b) continue;
      const Term &s = problem_.terms[a], &t = problem_.terms[b];
      if (s.is_variable != t.is_variable || s.id != t.id || s.arity != t.arity) return false;
      for (std::uint32_t i = 0; i < s.arity; ++i)
        stack.emplace_back(problem_.args[s.first_arg + i], problem_.args[t.first_arg + i]);
    }
    return true;
  }

  bool same_atom(const Node& x, const Node& y) const {
    return x.equality == y.equality && same_term(x.a, y.a) && (!x.equality || same_term(x.b, y.b));
  }

  // Drops repeated literals and t != t; false when the clause is true
  // (complementary literals or t = t).
  bool simplify(Literals& clause) const {
    Literals kept;
    for (std::uint32_t l : clause) {
      const Node& x = nodes_[l];
      if (x.equality && same_term(x.a, x.b)) {
        if (x.positive) return false;
        continue;
      }
      bool repeated = false;
      for (std::uint32_t k : kept) {
        const Node& y = nodes_[k];
        if (!same_atom(x, y)) continue;
        if (x.positive != y.positive) return false;
        repeated = true;
      }
      if (!repeated) kept.push_back(l);
    }
    clause = std::move(kept);
    return true;
  }

  // The term with variables numbered by first occurrence in the clause.
  std::uint32_t renumber(std::uint32_t term, Clause& clause, bool& esa) {
    const Term t = problem_.terms[term];
    if (t.is_variable) {
      auto [it, inserted] = clause_variables_.try_emplace(t.id, clause.variables.size());
      if (inserted) clause.variables.push_back(variable_name(t.id));
      return variable_term(it->second);
    }
    if (introduced_.contains(t.id)) esa = true;
    std::vector<std::uint32_t> arguments;
    for (std::uint32_t i = 0; i < t.arity; ++i)
      arguments.push_back(renumber(problem_.args[t.first_arg + i], clause, esa));
    return t.arity == 0 ? term : application(t.id, arguments);
  }

  // The written name of a variable, made distinct within its clause.
  std::string variable_name(std::uint32_t variable) {
    const std::string& base = names_[variable];
    std::string name = base;
    for (int k = 2; !clause_names_.insert(name).second; ++k) name = base + "_" + std::to_string(k);
    return name;
  }

  Symbol clause_name(const Formula& formula, std::size_t number, bool only) {
    if (only) return formula.name;
    // A number or a quoted name followed by _1 would be no TPTP name.
    std::string base = derived_word(formula.name.spelling) + "_" + std::to_string(number);
    std::string spelling = base;
    for (int k = 2;; ++k) {
      if (taken_names_.insert(name_key({SymbolKind::Plain, spelling})).second)
        return Symbol{SymbolKind::Plain, spelling};
      spelling = base + "_" + std::to_string(k);
    }
  }

  // Clausifies one formula in negation normal form and the definitions it
  // gives rise to, and appends the clauses.
  void formula_clauses(std::uint32_t root, const Origin& origin) {
    if (options_.miniscope) {
      index_literals(root);
      root = miniscope(root);
    }
    struct Made {
      Literals literals;
      bool definition;
    };
    std::vector<Made> made;
    // Naming the formula queues the definitions, whose bodies are named
    // already; they are clausified after it.
    definitions_queue_.clear();
    std::vector<std::uint32_t> queue{name(root, false)};
    queue.insert(queue.end(), definitions_queue_.begin(), definitions_queue_.end());
    for (std::size_t i = 0; i < queue.size(); ++i) {
      for (Literals& literals : distribute(skolemize(queue[i])))
        if (simplify(literals)) made.push_back({std::move(literals), i > 0});
    }
    for (std::size_t k = 0; k < made.size(); ++k) {
      Clause clause;
      clause.name = clause_name(*origin.first, k + 1, made.size() == 1);
      clause.name_key =
          std::string(1, static_cast<char>('0' + static_cast<int>(clause.name.kind))) +
          clause.name.spelling;
      clause.role = made[k].definition ? Role::Axiom : origin.role;
      clause.role_text = origin.first->role_text;
      clause.formulas = origin.formulas;
      clause.file = origin.first->file;
      clause.line = origin.first->line;
      clause_variables_.clear();
      clause_names_.clear();
      bool esa = false;
      for (std::uint32_t l : made[k].literals) {
        const Node& x = nodes_[l];
        std::uint32_t left = renumber(x.a, clause, esa);
        std::uint32_t right = x.equality ? renumber(x.b, clause, esa) : 0;
        clause.literals.push_back(Literal{x.positive, x.equality, left, right});
      }
      clause.esa = esa;
      problem_.clauses.push_back(std::move(clause));
    }
  }

  // All conjectures together are the claim; their conjunction is negated
  // and clausified as one formula.
  void negated_conjectures() {
    std::vector<std::uint32_t> parts, indices;
    for (std::uint32_t i = 0; i < problem_.formulas.size(); ++i) {
      if (problem_.formulas[i].role_text != "conjecture") continue;
      indices.push_back(i);
      parts.push_back(nnf(problem_.formulas[i].root, false, bases_[i]));
    }
    formula_clauses(junction(K::Or, parts),
                    Origin{indices, Role::Conjecture, &problem_.formulas[indices[0]]});
  }

  Problem& problem_;
  const ClausifyOptions& options_;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> parent_;  // the latest node made with it as a child
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> literals_of_;  // variable -> Lits
  std::vector<std::uint32_t> list_;   // children of junctions, variables of quantifiers
  std::vector<std::uint32_t> bases_;  // first variable number of each formula
  std::vector<std::string> names_;    // written name of each variable number
  std::vector<std::uint32_t> env_;    // variable number -> term, while Skolemizing
  std::vector<std::pair<std::uint32_t, std::uint32_t>> universals_;  // in scope: variable, term
  std::vector<std::uint32_t> definitions_queue_;  // made while naming one formula
  std::unordered_set<std::string> taken_symbols_;
  std::unordered_set<std::uint32_t> introduced_;  // Skolem and definition symbols
  std::unordered_set<std::string> taken_names_;   // clause and formula name keys
  std::unordered_map<std::uint32_t, std::uint32_t> clause_variables_;
  std::unordered_set<std::string> clause_names_;
  std::uint32_t skolems_ = 0, definitions_ = 0;
};

}  // namespace

void clausify(Problem& problem, const ClausifyOptions& options) {
  if (problem.formulas.empty()) return;
  std::exception_ptr failure;
  common::run_with_large_stack([&] {
    try {
      Clausifier(problem, options).run();
    } catch (...) {
      failure = std::current_exception();
    }
    return 0;
  });
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tptp
