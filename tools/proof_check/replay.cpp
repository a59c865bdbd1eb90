#include "tools/proof_check/replay.hpp"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace proof_check {
namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};

// The terms of one step, each stored once, so that "identical" is a
// comparison of numbers.  Variables of the parents and of the bindings
// share one namespace, by name; the printed conclusion's have their own.
class Store {
 public:
  struct Node {
    bool variable;
    std::uint32_t symbol;  // the refutation's symbol, or the variable's number
    std::vector<std::uint32_t> args;
  };

  std::uint32_t make(bool variable, std::uint32_t symbol, std::vector<std::uint32_t> args) {
    std::vector<std::uint32_t> key{variable ? 1u : 0u, symbol};
    key.insert(key.end(), args.begin(), args.end());
    auto [it, added] =
        index_.try_emplace(std::move(key), static_cast<std::uint32_t>(nodes_.size()));
    if (added) nodes_.push_back(Node{variable, symbol, std::move(args)});
    return it->second;
  }
  const Node& node(std::uint32_t t) const { return nodes_[t]; }

  // A term of the refutation's store, its variable v read as variable(v).
  template <class Variable>
  std::uint32_t import(const tptp::Problem& from, std::uint32_t root, Variable&& variable) {
    struct Frame {
      std::uint32_t term;
      std::uint32_t next;
    };
    std::vector<Frame> stack{{root, 0}};
    std::vector<std::uint32_t> done;
    while (!stack.empty()) {
      Frame& f = stack.back();
      const tptp::Term& t = from.terms[f.term];
      if (t.is_variable) {
        done.push_back(variable(t.id));
        stack.pop_back();
        continue;
      }
      if (f.next < t.arity) {
        const std::uint32_t arg = from.args[t.first_arg + f.next++];
        stack.push_back({arg, 0});
        continue;
      }
      std::vector<std::uint32_t> args(done.end() - t.arity, done.end());
      done.resize(done.size() - t.arity);
      done.push_back(make(false, t.id, std::move(args)));
      stack.pop_back();
    }
    return done.back();
  }

 private:
  std::vector<Node> nodes_;
  std::map<std::vector<std::uint32_t>, std::uint32_t> index_;
};

struct Lit {
  bool positive;
  bool equation;
  std::uint32_t left;   // the atom of a predicate literal
  std::uint32_t right;  // kNone for a predicate literal
};

bool same_literal(const Lit& a, const Lit& b) {
  return a.positive == b.positive && a.equation == b.equation &&
         ((a.left == b.left && a.right == b.right) ||
          (a.equation && a.left == b.right && a.right == b.left));
}

bool complementary(const Lit& a, const Lit& b) {
  Lit flipped = b;
  flipped.positive = !b.positive;
  return same_literal(a, flipped);
}

struct Failure {
  std::string message;
};

class Replay {
 public:
  Replay(const tstp::Refutation& refutation, const tstp::Line& line,
         const std::vector<const tstp::Line*>& parents)
      : refutation_(refutation), line_(line), parents_(parents) {}

  std::string run() {
    try {
      for (const tstp::Substitution& s : line_.substitutions)
        if (std::none_of(parents_.begin(), parents_.end(),
                         [&](const tstp::Line* p) { return p->clause.name_key == s.parent_key; }))
          throw Failure{"subst(" + s.parent_name + ", ...) names no parent of the step"};
      std::vector<Lit> result = conclusion();
      normalise(result);
      compare(result);
    } catch (const Failure& failure) {
      return failure.message;
    }
    return "";
  }

 private:
  std::uint32_t shared(const std::string& name) {
    auto [it, added] = shared_.try_emplace(name, static_cast<std::uint32_t>(shared_.size()));
    (void)added;
    return store_.make(true, it->second, {});
  }

  // Parent k with its bindings applied.
  std::vector<Lit> parent(std::size_t k) {
    if (k >= parents_.size())
      throw Failure{line_.rule + " needs " + std::to_string(k + 1) + " parents"};
    const tstp::Line& p = *parents_[k];
    // A parent cited twice (a clause with a renamed copy of itself) has its
    // substitutions in the order of the citations.
    std::size_t occurrence = 0;
    for (std::size_t i = 0; i < k; ++i) occurrence += parents_[i] == parents_[k];
    const tstp::Substitution* subst = nullptr;
    for (const tstp::Substitution& s : line_.substitutions)
      if (s.parent_key == p.clause.name_key && occurrence-- == 0) {
        subst = &s;
        break;
      }
    std::vector<std::uint32_t> image(p.clause.variables.size(), kNone);
    if (subst != nullptr)
      for (const auto& [name, term] : subst->bindings) {
        auto at = std::find(p.clause.variables.begin(), p.clause.variables.end(), name);
        if (at == p.clause.variables.end())
          throw Failure{"it binds " + name + ", which " + p.clause.name.spelling +
                        " does not have"};
        std::uint32_t& slot = image[static_cast<std::size_t>(at - p.clause.variables.begin())];
        if (slot != kNone) throw Failure{"it binds " + name + " twice"};
        slot = store_.import(refutation_.terms, term, [&](std::uint32_t v) {
          return shared(line_.binding_variables.at(v));
        });
      }
    for (std::size_t v = 0; v < image.size(); ++v)
      if (image[v] == kNone) image[v] = shared(p.clause.variables[v]);
    std::vector<Lit> literals;
    auto read = [&](std::uint32_t t) {
      return store_.import(refutation_.terms, t, [&](std::uint32_t v) { return image.at(v); });
    };
    for (const tptp::Literal& l : p.clause.literals)
      literals.push_back(
          Lit{l.positive, l.equality, read(l.left), l.equality ? read(l.right) : kNone});
    return literals;
  }

  const tstp::InfoEntry& entry(const char* name, std::size_t arguments) const {
    for (const tstp::InfoEntry& e : line_.info)
      if (e.name == name && e.arguments.size() == arguments) return e;
    throw Failure{line_.rule + " needs the entry " + name + " with " + std::to_string(arguments) +
                  " arguments"};
  }

  // Literal number (from 1) argument i of e, as an index into literals.
  static std::size_t literal(const tstp::InfoEntry& e, std::size_t i, const std::vector<Lit>& in) {
    const tstp::InfoArgument& a = e.arguments[i];
    if (a.kind != tstp::InfoArgument::kNumber || a.number < 1 ||
        static_cast<std::size_t>(a.number) > in.size())
      throw Failure{e.name + "(...): argument " + std::to_string(i + 1) +
                    " is no literal of the clause"};
    return static_cast<std::size_t>(a.number - 1);
  }

  // Side argument i of e (left or right) of literal l.
  static bool right_side(const tstp::InfoEntry& e, std::size_t i, const Lit& l) {
    const tstp::InfoArgument& a = e.arguments[i];
    if (a.kind != tstp::InfoArgument::kWord || (a.word != "left" && a.word != "right"))
      throw Failure{e.name + "(...): argument " + std::to_string(i + 1) + " is no side"};
    if (a.word == "right" && !l.equation)
      throw Failure{e.name + "(...): a predicate literal has no right side"};
    return a.word == "right";
  }

  static std::uint32_t& side(Lit& l, bool right) { return right ? l.right : l.left; }

  // `in` with the subterm at `path` (argument numbers from 1) replaced by
  // `by`; `found` gets the subterm that was there.
  std::uint32_t replace(std::uint32_t in, const std::vector<std::int64_t>& path, std::uint32_t by,
                        std::uint32_t& found) {
    std::vector<std::uint32_t> spine;
    std::uint32_t at = in;
    for (std::int64_t k : path) {
      const Store::Node& n = store_.node(at);
      if (n.variable || k < 1 || static_cast<std::size_t>(k) > n.args.size())
        throw Failure{"the position of into(...) is not in the term"};
      spine.push_back(at);
      at = n.args[static_cast<std::size_t>(k - 1)];
    }
    found = at;
    for (std::size_t i = spine.size(); i-- > 0;) {
      const Store::Node& n = store_.node(spine[i]);
      std::vector<std::uint32_t> args = n.args;
      args[static_cast<std::size_t>(path[i] - 1)] = by;
      by = store_.make(false, n.symbol, std::move(args));
    }
    return by;
  }

  std::vector<Lit> conclusion() {
    const std::string& rule = line_.rule;
    if (rule == "superposition" || rule == "demodulation") {
      std::vector<Lit> from = parent(0), into = parent(1);
      const tstp::InfoEntry& f = entry("from", 2);
      const tstp::InfoEntry& t = entry("into", 3);
      const Lit& equation = from[literal(f, 0, from)];
      if (!equation.positive || !equation.equation)
        throw Failure{"from(...) is not a positive equation"};
      const bool from_right = right_side(f, 1, equation);
      const std::uint32_t l = from_right ? equation.right : equation.left;
      const std::uint32_t r = from_right ? equation.left : equation.right;
      const std::size_t target = literal(t, 0, into);
      const bool into_right = right_side(t, 1, into[target]);
      if (t.arguments[2].kind != tstp::InfoArgument::kList)
        throw Failure{"into(...) needs a position [...]"};
      const std::vector<std::int64_t>& path = t.arguments[2].list;
      if (!into[target].equation && path.empty())
        throw Failure{"into(...) is the atom of a predicate literal, which no equation rewrites"};
      std::uint32_t found = kNone;
      std::uint32_t& s = side(into[target], into_right);
      s = replace(s, path, r, found);
      if (found != l)
        throw Failure{"the term at into(...) is not the side of from(...) that is rewritten"};
      for (std::size_t i = 0; i < from.size(); ++i)
        if (i != literal(f, 0, from)) into.push_back(from[i]);
      return into;
    }
    if (rule == "resolution" || rule == "subsumption_resolution") {
      std::vector<Lit> a = parent(0), b = parent(1);
      const tstp::InfoEntry& on = entry("on", 2);
      const std::size_t i = literal(on, 0, a), j = literal(on, 1, b);
      if (!complementary(a[i], b[j]))
        throw Failure{"the literals of on(...) are not complementary"};
      std::vector<Lit> result;
      if (rule == "subsumption_resolution") {
        // Every other literal of the first parent is one of the second's.
        for (std::size_t k = 0; k < a.size(); ++k)
          if (k != i &&
              std::none_of(b.begin(), b.end(), [&](const Lit& x) { return same_literal(a[k], x); }))
            throw Failure{"literal " + std::to_string(k + 1) +
                          " of the first parent is not in the second"};
      } else {
        for (std::size_t k = 0; k < a.size(); ++k)
          if (k != i) result.push_back(a[k]);
      }
      for (std::size_t k = 0; k < b.size(); ++k)
        if (k != j) result.push_back(b[k]);
      return result;
    }
    if (rule == "factoring") {
      std::vector<Lit> a = parent(0);
      const tstp::InfoEntry& on = entry("on", 2);
      const std::size_t i = literal(on, 0, a), j = literal(on, 1, a);
      if (i == j || !same_literal(a[i], a[j]))
        throw Failure{"the literals of on(...) are not one literal"};
      a.erase(a.begin() + static_cast<std::ptrdiff_t>(j));
      return a;
    }
    if (rule == "equality_resolution") {
      std::vector<Lit> a = parent(0);
      const std::size_t i = literal(entry("on", 1), 0, a);
      if (a[i].positive || !a[i].equation || a[i].left != a[i].right)
        throw Failure{"on(...) is no disequation t != t"};
      a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
      return a;
    }
    if (rule == "equality_factoring") {
      std::vector<Lit> a = parent(0);
      const tstp::InfoEntry& on = entry("on", 4);
      const std::size_t i = literal(on, 0, a), j = literal(on, 2, a);
      if (i == j || !a[i].positive || !a[i].equation || !a[j].positive || !a[j].equation)
        throw Failure{"on(...) needs two positive equations"};
      const bool ri = right_side(on, 1, a[i]), rj = right_side(on, 3, a[j]);
      if (side(a[i], ri) != side(a[j], rj)) throw Failure{"the sides of on(...) are not one term"};
      const std::uint32_t t = side(a[i], !ri), u = side(a[j], !rj);
      a[i] = Lit{false, true, t, u};
      return a;
    }
    throw Failure{"the rule " + rule + " is not one proof-check replays"};
  }

  // What every saturation step may leave out: t != t and repetitions.
  static void normalise(std::vector<Lit>& literals) {
    std::vector<Lit> kept;
    for (const Lit& l : literals) {
      if (!l.positive && l.equation && l.left == l.right) continue;
      if (std::any_of(kept.begin(), kept.end(), [&](const Lit& k) { return same_literal(k, l); }))
        continue;
      kept.push_back(l);
    }
    literals.swap(kept);
  }

  // The printed clause against the replayed one: a one-to-one renaming of
  // variables and an order of literals that make them the same.
  void compare(const std::vector<Lit>& result) {
    std::vector<Lit> printed;
    const std::uint32_t base = 1u << 30;  // variables of the printed clause
    auto read = [&](std::uint32_t t) {
      return store_.import(refutation_.terms, t,
                           [&](std::uint32_t v) { return store_.make(true, base + v, {}); });
    };
    for (const tptp::Literal& l : line_.clause.literals)
      printed.push_back(
          Lit{l.positive, l.equality, read(l.left), l.equality ? read(l.right) : kNone});
    if (line_.clause.always_true || printed.size() != result.size() ||
        !match(result, printed, 0, std::vector<bool>(printed.size(), false)))
      throw Failure{"the rule gives a different clause"};
  }

  bool match(const std::vector<Lit>& a, const std::vector<Lit>& b, std::size_t i,
             std::vector<bool> used) {
    if (i == a.size()) return true;
    if (++tries_ > 100000) throw Failure{"the clause is too costly to compare"};
    for (std::size_t j = 0; j < b.size(); ++j) {
      if (used[j] || a[i].positive != b[j].positive || a[i].equation != b[j].equation) continue;
      for (int swap = 0; swap < (a[i].equation ? 2 : 1); ++swap) {
        const auto saved_ab = a_to_b_, saved_ba = b_to_a_;
        if (same_up_to_renaming(a[i].left, swap ? b[j].right : b[j].left) &&
            (!a[i].equation || same_up_to_renaming(a[i].right, swap ? b[j].left : b[j].right))) {
          used[j] = true;
          if (match(a, b, i + 1, used)) return true;
          used[j] = false;
        }
        a_to_b_ = saved_ab;
        b_to_a_ = saved_ba;
      }
    }
    return false;
  }

  bool same_up_to_renaming(std::uint32_t x, std::uint32_t y) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{x, y}};
    while (!stack.empty()) {
      auto [s, t] = stack.back();
      stack.pop_back();
      const Store::Node& m = store_.node(s);
      const Store::Node& n = store_.node(t);
      if (m.variable != n.variable) return false;
      if (m.variable) {
        auto [f, fresh_f] = a_to_b_.try_emplace(s, t);
        auto [g, fresh_g] = b_to_a_.try_emplace(t, s);
        if (f->second != t || g->second != s) return false;
        continue;
      }
      if (m.symbol != n.symbol || m.args.size() != n.args.size()) return false;
      for (std::size_t k = 0; k < m.args.size(); ++k) stack.emplace_back(m.args[k], n.args[k]);
    }
    return true;
  }

  const tstp::Refutation& refutation_;
  const tstp::Line& line_;
  const std::vector<const tstp::Line*>& parents_;
  Store store_;
  std::unordered_map<std::string, std::uint32_t> shared_;
  std::unordered_map<std::uint32_t, std::uint32_t> a_to_b_, b_to_a_;
  std::size_t tries_ = 0;
};

}  // namespace

bool is_saturation_rule(const std::string& rule) {
  static const char* const kRules[] = {
      "superposition", "demodulation",        "resolution",        "subsumption_resolution",
      "factoring",     "equality_resolution", "equality_factoring"};
  return std::find(std::begin(kRules), std::end(kRules), rule) != std::end(kRules);
}

std::string replay_step(const tstp::Refutation& refutation, const tstp::Line& line,
                        const std::vector<const tstp::Line*>& parents) {
  return Replay(refutation, line, parents).run();
}

}  // namespace proof_check
