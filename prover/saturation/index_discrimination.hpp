// A discrimination tree for the left sides of unit equations: given a term,
// find the indexed terms it is an instance of (the rewrite rules that may
// apply to it).
//
// An indexed term is stored as the path of its symbols in preorder, every
// variable written as one wildcard, so a retrieval follows the query's own
// symbols and, at each wildcard, skips one whole subterm of the query.
// Repeated variables are not told apart: the caller matches each candidate.
// The query is walked through a stack of pending subterms that is shared
// by the branches of the walk (a branch pushes onto it and leaves it as it
// was for the next), so a retrieval costs the part of the tree it visits,
// not the size of the query.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "prover/saturation/index_leaves.hpp"
#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

template <class Payload>
class DiscriminationTree {
 public:
  DiscriminationTree() : nodes_(1) {}

  void insert(Term* pattern, const Payload& payload) {
    std::uint32_t node = 0;
    preorder(pattern, [&](Term* t) { node = child(node, key(t), true); });
    if (add_to_leaves(nodes_[node].leaves, pattern, payload)) ++terms_;
    ++entries_;
  }

  bool remove(Term* pattern, const Payload& payload) {
    std::uint32_t node = 0;
    bool found_path = true;
    preorder(pattern, [&](Term* t) {
      if (found_path) node = child(node, key(t), false);
      found_path = found_path && node != 0;
    });
    if (!found_path) return false;
    const LeafRemoval r = remove_from_leaves(nodes_[node].leaves, pattern, payload);
    entries_ -= r.removed ? 1 : 0;
    terms_ -= r.term_gone ? 1 : 0;
    return r.removed;
  }

  // Calls visit(pattern, payloads) for every indexed term the query may be
  // an instance of; a visit that returns true ends the retrieval.  The
  // tree must not change meanwhile.
  template <class Visit>
  void generalizations(Term* query, Visit&& visit) {
    cells_.clear();
    cells_.push_back(Cell{query, kEnd});
    walk(0, 0, visit);
  }

  std::size_t terms() const { return terms_; }
  std::size_t entries() const { return entries_; }

 private:
  static constexpr std::uint32_t kWildcard = ~std::uint32_t{0};
  static constexpr std::uint32_t kEnd = ~std::uint32_t{0};

  using Leaf = IndexLeaf<Payload>;
  struct Node {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> children;  // by key, wildcard last
    std::vector<Leaf> leaves;
  };
  // A pending subterm of the query and the cell below it on the stack.
  struct Cell {
    Term* term;
    std::uint32_t next;
  };

  static std::uint32_t key(Term* t) { return t->variable ? kWildcard : t->symbol; }

  template <class Each>
  static void preorder(Term* t, Each&& each) {
    std::vector<Term*> stack{t};
    while (!stack.empty()) {
      Term* s = stack.back();
      stack.pop_back();
      each(s);
      if (!s->variable)
        for (std::uint32_t i = s->arity; i-- > 0;) stack.push_back(s->args[i]);
    }
  }

  std::uint32_t child(std::uint32_t node, std::uint32_t k, bool make) {
    auto& children = nodes_[node].children;
    auto it = std::lower_bound(children.begin(), children.end(), k,
                               [](const auto& entry, std::uint32_t x) { return entry.first < x; });
    if (it != children.end() && it->first == k) return it->second;
    if (!make) return 0;
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    children.insert(it, {k, index});
    nodes_.emplace_back();
    return index;
  }

  // At `node` with the pending query subterms on the stack from `top`.
  template <class Visit>
  bool walk(std::uint32_t node, std::uint32_t top, Visit& visit) {
    if (top == kEnd) {
      for (Leaf& leaf : nodes_[node].leaves)
        if (visit(leaf.term, leaf.payloads)) return true;
      return false;
    }
    Term* t = cells_[top].term;
    const std::uint32_t rest = cells_[top].next;
    // A wildcard takes the whole subterm.
    if (const std::uint32_t star = child(node, kWildcard, false); star != 0)
      if (walk(star, rest, visit)) return true;
    if (t->variable) return false;
    const std::uint32_t next = child(node, t->symbol, false);
    if (next == 0) return false;
    std::uint32_t below = rest;
    const std::size_t mark = cells_.size();
    for (std::uint32_t i = t->arity; i-- > 0;) {
      cells_.push_back(Cell{t->args[i], below});
      below = static_cast<std::uint32_t>(cells_.size() - 1);
    }
    const bool stop = walk(next, below, visit);
    cells_.resize(mark);
    return stop;
  }

  std::vector<Node> nodes_;
  std::vector<Cell> cells_;
  std::size_t terms_ = 0, entries_ = 0;
};

}  // namespace velkor::saturation
