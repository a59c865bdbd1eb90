// Fingerprint indexing: retrieval of terms that may unify with a query, or
// may be its instances or generalisations, without looking at the others.
//
// A term's fingerprint is what it has at a few fixed positions (the top,
// its first three arguments, the first two arguments of the first two):
// a symbol, a variable (A), nothing yet because a variable stands above
// the position (B), or nothing ever because a symbol above it has too few
// arguments (N).  Two terms can only unify when their fingerprints agree
// position by position up to the table in `compatible`; the index is a
// trie over fingerprints, and a retrieval walks only the compatible
// branches.  What it returns are candidates: the caller still unifies or
// matches.  Each indexed term is stored once, with every payload (a clause
// and the place of the term in it) filed under it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "prover/saturation/index_leaves.hpp"
#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

enum class Retrieval : std::uint8_t {
  kUnifiable,        // indexed terms that may unify with the query
  kGeneralizations,  // indexed terms the query may be an instance of
  kInstances,        // indexed terms that may be instances of the query
};

namespace fingerprint {

inline constexpr int kPositions = 8;
inline constexpr std::int32_t kVariable = -1;  // A: a variable at the position
inline constexpr std::int32_t kBelow = -2;     // B: a variable above it
inline constexpr std::int32_t kNone = -3;      // N: a symbol above it lacks the argument

struct Position {
  std::uint8_t length;
  std::uint8_t steps[2];
};
inline constexpr Position kPositionsTable[kPositions] = {
    {0, {0, 0}}, {1, {0, 0}}, {1, {1, 0}}, {1, {2, 0}},
    {2, {0, 0}}, {2, {0, 1}}, {2, {1, 0}}, {2, {1, 1}},
};

inline std::int32_t feature(Term* t, const Position& p) {
  for (std::uint8_t i = 0; i < p.length; ++i) {
    if (t->variable) return kBelow;
    if (p.steps[i] >= t->arity) return kNone;
    t = t->args[p.steps[i]];
  }
  return t->variable ? kVariable : static_cast<std::int32_t>(t->symbol);
}

// Whether a query feature q and an indexed feature e allow the retrieval.
inline bool compatible(Retrieval mode, std::int32_t q, std::int32_t e) {
  switch (mode) {
    case Retrieval::kUnifiable:
      if (q >= 0) return e == q || e == kVariable || e == kBelow;
      if (q == kVariable) return e != kNone;
      if (q == kBelow) return true;
      return e == kNone || e == kBelow;
    case Retrieval::kGeneralizations:  // e from a term the query instantiates
      if (q >= 0) return e == q || e == kVariable || e == kBelow;
      if (q == kVariable) return e == kVariable || e == kBelow;
      if (q == kBelow) return e == kBelow;
      return e == kNone || e == kBelow;
    case Retrieval::kInstances:  // e from an instance of the query
      if (q >= 0) return e == q;
      if (q == kVariable) return e >= 0 || e == kVariable;
      if (q == kBelow) return true;
      return e == kNone;
  }
  return false;
}

}  // namespace fingerprint

template <class Payload>
class FingerprintIndex {
 public:
  FingerprintIndex() : nodes_(1) {}

  void insert(Term* t, const Payload& payload) {
    std::uint32_t node = 0;
    for (const fingerprint::Position& p : fingerprint::kPositionsTable)
      node = child(node, fingerprint::feature(t, p), true);
    if (add_to_leaves(nodes_[node].leaves, t, payload)) ++terms_;
    ++entries_;
  }

  // Removes one payload equal to `payload` filed under t; false if none is.
  bool remove(Term* t, const Payload& payload) {
    std::uint32_t node = 0;
    for (const fingerprint::Position& p : fingerprint::kPositionsTable) {
      node = child(node, fingerprint::feature(t, p), false);
      if (node == 0) return false;
    }
    const LeafRemoval r = remove_from_leaves(nodes_[node].leaves, t, payload);
    entries_ -= r.removed ? 1 : 0;
    terms_ -= r.term_gone ? 1 : 0;
    return r.removed;
  }

  // Calls visit(indexed_term, payloads) for every candidate; a visit that
  // returns true ends the retrieval.  The index must not change meanwhile.
  template <class Visit>
  void retrieve(Term* query, Retrieval mode, Visit&& visit) {
    std::int32_t q[fingerprint::kPositions];
    for (int i = 0; i < fingerprint::kPositions; ++i)
      q[i] = fingerprint::feature(query, fingerprint::kPositionsTable[i]);
    walk(0, 0, q, mode, visit);
  }

  std::size_t terms() const { return terms_; }      // distinct indexed terms
  std::size_t entries() const { return entries_; }  // payloads

 private:
  using Leaf = IndexLeaf<Payload>;
  struct Node {
    std::vector<std::pair<std::int32_t, std::uint32_t>> children;  // sorted by feature
    std::vector<Leaf> leaves;                                      // at the last level
  };

  // The child of `node` for `key`; made when `make`, else 0 when missing.
  std::uint32_t child(std::uint32_t node, std::int32_t key, bool make) {
    auto& children = nodes_[node].children;
    auto it = std::lower_bound(children.begin(), children.end(), key,
                               [](const auto& entry, std::int32_t k) { return entry.first < k; });
    if (it != children.end() && it->first == key) return it->second;
    if (!make) return 0;
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    children.insert(it, {key, index});
    nodes_.emplace_back();
    return index;
  }

  template <class Visit>
  bool walk(std::uint32_t node, int level, const std::int32_t* q, Retrieval mode, Visit& visit) {
    if (level == fingerprint::kPositions) {
      for (Leaf& leaf : nodes_[node].leaves)
        if (visit(leaf.term, leaf.payloads)) return true;
      return false;
    }
    if (q[level] >= 0) {
      // A symbol meets only itself, a variable or the place below one:
      // three lookups instead of a scan of every symbol.
      for (std::int32_t key : {q[level], fingerprint::kVariable, fingerprint::kBelow}) {
        if (!fingerprint::compatible(mode, q[level], key)) continue;
        const std::uint32_t next = child(node, key, false);
        if (next != 0 && walk(next, level + 1, q, mode, visit)) return true;
      }
      return false;
    }
    const auto& children = nodes_[node].children;
    for (std::size_t i = 0; i < children.size(); ++i)
      if (fingerprint::compatible(mode, q[level], children[i].first) &&
          walk(children[i].second, level + 1, q, mode, visit))
        return true;
    return false;
  }

  std::vector<Node> nodes_;
  std::size_t terms_ = 0, entries_ = 0;
};

}  // namespace velkor::saturation
