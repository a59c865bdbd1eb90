// The leaves of the term indexes: at the node a term's path ends, the terms
// filed there, each with the payloads (occurrences) filed under it.  The
// discrimination tree and the fingerprint index differ in their paths only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

template <class Payload>
struct IndexLeaf {
  Term* term;
  std::vector<Payload> payloads;
};

// Files payload under t; true when t is new at this node.
template <class Payload>
bool add_to_leaves(std::vector<IndexLeaf<Payload>>& leaves, Term* t, const Payload& payload) {
  auto it = std::find_if(leaves.begin(), leaves.end(), [&](const auto& l) { return l.term == t; });
  const bool fresh = it == leaves.end();
  if (fresh) {
    leaves.push_back(IndexLeaf<Payload>{t, {}});
    it = leaves.end() - 1;
  }
  it->payloads.push_back(payload);
  return fresh;
}

// What taking a payload out did: whether one was there, and whether its
// term went with it (its last payload).
struct LeafRemoval {
  bool removed = false;
  bool term_gone = false;
};

// Takes one payload equal to `payload` filed under t out, in constant time
// after the search (the last payload takes its place).
template <class Payload>
LeafRemoval remove_from_leaves(std::vector<IndexLeaf<Payload>>& leaves, Term* t,
                               const Payload& payload) {
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    if (leaves[i].term != t) continue;
    auto& payloads = leaves[i].payloads;
    auto found = std::find(payloads.begin(), payloads.end(), payload);
    if (found == payloads.end()) return {};
    *found = payloads.back();
    payloads.pop_back();
    if (!payloads.empty()) return {true, false};
    leaves[i] = std::move(leaves.back());
    leaves.pop_back();
    return {true, true};
  }
  return {};
}

}  // namespace velkor::saturation
