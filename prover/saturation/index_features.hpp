// Feature-vector indexing for subsumption.
//
// Each clause is described by a vector of counts that can only grow from a
// clause to its instances and to clauses that contain them: literals of
// each sign, occurrences of symbols in literals of each sign.  A clause C
// can subsume D only if C's vector is at most D's in every component, so
// the subsumers of D lie in the part of a trie over the vectors that stays
// at or below D's counts, and the clauses D subsumes in the part at or
// above.  The candidates are then tried by the full subsumption test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace velkor::saturation {

template <class Payload>
class FeatureVectorIndex {
 public:
  explicit FeatureVectorIndex(std::size_t features) : features_(features), nodes_(1) {}

  std::size_t features() const { return features_; }

  void insert(const std::uint32_t* vector, const Payload& payload) {
    std::uint32_t node = 0;
    for (std::size_t i = 0; i < features_; ++i) node = child(node, vector[i], true);
    nodes_[node].payloads.push_back(payload);
    ++entries_;
  }

  bool remove(const std::uint32_t* vector, const Payload& payload) {
    std::uint32_t node = 0;
    for (std::size_t i = 0; i < features_ && node != kMissing; ++i)
      node = child(node, vector[i], false);
    if (node == kMissing) return false;
    auto& payloads = nodes_[node].payloads;
    auto found = std::find(payloads.begin(), payloads.end(), payload);
    if (found == payloads.end()) return false;
    *found = payloads.back();
    payloads.pop_back();
    --entries_;
    return true;
  }

  // visit(payload) for every entry whose vector is at most `bound` in each
  // component (at_most) or at least (at_least); true from visit stops.
  template <class Visit>
  void at_most(const std::uint32_t* bound, Visit&& visit) {
    walk(0, 0, bound, true, visit);
  }
  template <class Visit>
  void at_least(const std::uint32_t* bound, Visit&& visit) {
    walk(0, 0, bound, false, visit);
  }

  std::size_t entries() const { return entries_; }

 private:
  static constexpr std::uint32_t kMissing = ~std::uint32_t{0};

  struct Node {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> children;  // by value
    std::vector<Payload> payloads;                                  // at the last level
  };

  std::uint32_t child(std::uint32_t node, std::uint32_t value, bool make) {
    auto& children = nodes_[node].children;
    auto it = std::lower_bound(children.begin(), children.end(), value,
                               [](const auto& entry, std::uint32_t v) { return entry.first < v; });
    if (it != children.end() && it->first == value) return it->second;
    if (!make) return kMissing;
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    children.insert(it, {value, index});
    nodes_.emplace_back();
    return index;
  }

  template <class Visit>
  bool walk(std::uint32_t node, std::size_t level, const std::uint32_t* bound, bool below,
            Visit& visit) {
    if (level == features_) {
      for (const Payload& p : nodes_[node].payloads)
        if (visit(p)) return true;
      return false;
    }
    const auto& children = nodes_[node].children;
    if (below) {
      for (std::size_t i = 0; i < children.size() && children[i].first <= bound[level]; ++i)
        if (walk(children[i].second, level + 1, bound, below, visit)) return true;
    } else {
      for (std::size_t i = children.size(); i-- > 0 && children[i].first >= bound[level];)
        if (walk(children[i].second, level + 1, bound, below, visit)) return true;
    }
    return false;
  }

  std::size_t features_;
  std::vector<Node> nodes_;
  std::size_t entries_ = 0;
};

}  // namespace velkor::saturation
