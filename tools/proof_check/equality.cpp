#include "tools/proof_check/equality.hpp"

#include <map>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace proof_check {
namespace {

// The terms and atoms of one clause, each distinct one a node, with a
// union-find over the nodes for the equalities assumed.
class Closure {
 public:
  explicit Closure(const tptp::Problem& store) : store_(store) {}

  // The node of a term or atom, made bottom-up without recursion.
  std::size_t node(std::uint32_t term) {
    std::vector<std::pair<std::uint32_t, bool>> stack{{term, false}};
    while (!stack.empty()) {
      auto [t, expanded] = stack.back();
      const tptp::Term& x = store_.terms[t];
      if (!expanded && x.arity > 0) {
        stack.back().second = true;
        for (std::uint32_t i = 0; i < x.arity; ++i)
          stack.emplace_back(store_.args[x.first_arg + i], false);
        continue;
      }
      stack.pop_back();
      Key key{x.is_variable, x.id, {}};
      for (std::uint32_t i = 0; i < x.arity; ++i)
        key.children.push_back(of_term_.at(store_.args[x.first_arg + i]));
      auto [it, inserted] = nodes_.try_emplace(key, keys_.size());
      if (inserted) keys_.push_back(key);
      of_term_[t] = it->second;
    }
    return of_term_.at(term);
  }

  void merge(std::size_t a, std::size_t b) {
    grow();
    parent_[find(a)] = find(b);
  }

  bool same(std::size_t a, std::size_t b) {
    grow();
    return find(a) == find(b);
  }

  // Merges nodes with the same symbol and equal arguments until nothing changes.
  void close() {
    grow();
    for (bool changed = true; changed;) {
      changed = false;
      std::map<std::pair<bool, std::pair<std::uint32_t, std::vector<std::size_t>>>, std::size_t>
          signatures;
      for (std::size_t n = 0; n < keys_.size(); ++n) {
        std::vector<std::size_t> classes;
        for (std::size_t c : keys_[n].children) classes.push_back(find(c));
        auto [it, inserted] =
            signatures.try_emplace({keys_[n].variable, {keys_[n].id, classes}}, n);
        if (!inserted && find(it->second) != find(n)) {
          parent_[find(n)] = find(it->second);
          changed = true;
        }
      }
    }
  }

  // Whether two distinct objects of different texts are in one class,
  // which no interpretation allows.
  bool merges_distinct_objects() {
    std::unordered_map<std::size_t, std::uint32_t> object_of_class;
    for (std::size_t n = 0; n < keys_.size(); ++n) {
      if (keys_[n].variable || store_.symbol(keys_[n].id).kind != tptp::SymbolKind::Distinct)
        continue;
      auto [it, inserted] = object_of_class.try_emplace(find(n), keys_[n].id);
      if (!inserted && it->second != keys_[n].id) return true;
    }
    return false;
  }

 private:
  struct Key {
    bool variable;
    std::uint32_t id;
    std::vector<std::size_t> children;
    bool operator<(const Key& o) const {
      return std::tie(variable, id, children) < std::tie(o.variable, o.id, o.children);
    }
  };

  void grow() {
    std::size_t old = parent_.size();
    parent_.resize(keys_.size());
    std::iota(parent_.begin() + static_cast<std::ptrdiff_t>(old), parent_.end(), old);
  }

  std::size_t find(std::size_t n) {
    while (parent_[n] != n) n = parent_[n] = parent_[parent_[n]];
    return n;
  }

  const tptp::Problem& store_;
  std::map<Key, std::size_t> nodes_;
  std::vector<Key> keys_;
  std::unordered_map<std::uint32_t, std::size_t> of_term_;
  std::vector<std::size_t> parent_;
};

}  // namespace

// A clause is valid in the theory of equality when the negation of every
// literal together is contradictory: its negative equalities are assumed
// to hold, and then one of its positive equalities must hold by congruence,
// or one of its positive atoms must equal one of its negative atoms.
// Distinct objects of different texts are unequal, so a negation that
// equates two of them is contradictory as well.  Variables are treated as
// distinct constants, so validity holds for every instance.
bool valid_in_equality_theory(const tptp::Problem& store, const tptp::Clause& clause) {
  Closure closure(store);
  std::vector<std::pair<std::size_t, std::size_t>> wanted;  // positive equalities
  std::vector<std::size_t> positive_atoms, negative_atoms;
  for (const tptp::Literal& l : clause.literals) {
    if (l.equality) {
      std::size_t a = closure.node(l.left), b = closure.node(l.right);
      if (l.positive)
        wanted.emplace_back(a, b);
      else
        closure.merge(a, b);
    } else {
      (l.positive ? positive_atoms : negative_atoms).push_back(closure.node(l.left));
    }
  }
  closure.close();
  if (closure.merges_distinct_objects()) return true;
  for (auto [a, b] : wanted)
    if (closure.same(a, b)) return true;
  for (std::size_t p : positive_atoms)
    for (std::size_t n : negative_atoms)
      if (closure.same(p, n)) return true;
  return false;
}

}  // namespace proof_check
