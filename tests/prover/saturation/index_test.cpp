// Each index of the saturation engine against its brute-force twin on
// random terms: a retrieval may return more candidates than the twin
// finds (the caller tests them), never fewer; the feature-vector trie
// returns exactly the vectors that are componentwise below or above.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "prover/saturation/index_discrimination.hpp"
#include "prover/saturation/index_features.hpp"
#include "prover/saturation/index_fingerprint.hpp"
#include "prover/saturation/substitution.hpp"

namespace velkor::saturation {
namespace {

// Random terms over a, b, f/1, g/2, h/3 and four variables.
class RandomTerms {
 public:
  explicit RandomTerms(unsigned seed) : rng_(seed) {
    for (std::uint32_t arity : {0u, 0u, 1u, 2u, 3u}) {
      SymbolInfo info;
      info.arity = arity;
      symbols_.push_back(bank.add_symbol(info));
    }
  }
  Term* term(int depth) {
    const int pick = static_cast<int>(rng_() % 10);
    if (pick < 3) return bank.variable(static_cast<std::uint32_t>(rng_() % 4));
    if (depth == 0 || pick < 5) return bank.make(symbols_[rng_() % 2], nullptr);
    const std::uint32_t s = symbols_[2 + rng_() % 3];
    std::vector<Term*> args;
    for (std::uint32_t i = 0; i < bank.symbol(s).arity; ++i) args.push_back(term(depth - 1));
    return bank.make(s, args.data());
  }
  TermBank bank;

 private:
  std::mt19937 rng_;
  std::vector<std::uint32_t> symbols_;
};

bool unifiable(Substitution& subst, Term* s, Term* t) {
  subst.reset(16);
  return subst.unify(s, 0, t, 8);
}

bool instance_of(Matcher& matcher, Term* pattern, Term* instance) {
  matcher.reset(8);
  return matcher.match(pattern, instance);
}

TEST(SaturationIndexes, FingerprintRetrievalMissesNothing) {
  RandomTerms random(7);
  std::vector<Term*> indexed;
  FingerprintIndex<int> index;
  for (int i = 0; i < 400; ++i) {
    Term* t = random.term(3);
    indexed.push_back(t);
    index.insert(t, i);
  }
  // Remove a quarter again: retrieval must forget them.
  std::set<int> removed;
  for (int i = 0; i < 400; i += 4) {
    ASSERT_TRUE(index.remove(indexed[static_cast<std::size_t>(i)], i));
    removed.insert(i);
  }
  EXPECT_FALSE(index.remove(indexed[0], 0));
  Substitution subst;
  Matcher matcher;
  std::size_t returned = 0, total = 0;
  for (int q = 0; q < 200; ++q) {
    Term* query = random.term(3);
    for (Retrieval mode :
         {Retrieval::kUnifiable, Retrieval::kGeneralizations, Retrieval::kInstances}) {
      std::set<int> found;
      index.retrieve(query, mode, [&](Term* t, std::vector<int>& payloads) {
        for (int p : payloads) {
          EXPECT_EQ(indexed[static_cast<std::size_t>(p)], t);
          found.insert(p);
        }
        return false;
      });
      for (int i = 0; i < 400; ++i) {
        Term* t = indexed[static_cast<std::size_t>(i)];
        const bool related = mode == Retrieval::kUnifiable         ? unifiable(subst, query, t)
                             : mode == Retrieval::kGeneralizations ? instance_of(matcher, t, query)
                                                                   : instance_of(matcher, query, t);
        if (removed.contains(i)) {
          EXPECT_FALSE(found.contains(i));
        } else if (related) {
          EXPECT_TRUE(found.contains(i)) << "query " << q << " misses term " << i;
        }
      }
      returned += found.size();
      total += 300;
    }
  }
  EXPECT_LT(returned, total / 2);  // it does filter
}

TEST(SaturationIndexes, DiscriminationTreeFindsEveryGeneralization) {
  RandomTerms random(11);
  std::vector<Term*> patterns;
  DiscriminationTree<int> tree;
  for (int i = 0; i < 300; ++i) {
    patterns.push_back(random.term(2));
    tree.insert(patterns.back(), i);
  }
  for (int i = 0; i < 300; i += 3)
    ASSERT_TRUE(tree.remove(patterns[static_cast<std::size_t>(i)], i));
  Matcher matcher;
  for (int q = 0; q < 300; ++q) {
    Term* query = random.term(4);
    std::set<int> found;
    tree.generalizations(query, [&](Term* pattern, std::vector<int>& payloads) {
      for (int p : payloads) {
        EXPECT_EQ(patterns[static_cast<std::size_t>(p)], pattern);
        found.insert(p);
      }
      return false;
    });
    for (int i = 0; i < 300; ++i) {
      const bool matches = instance_of(matcher, patterns[static_cast<std::size_t>(i)], query);
      if (i % 3 == 0) {
        EXPECT_FALSE(found.contains(i));
      } else if (matches) {
        EXPECT_TRUE(found.contains(i)) << "query " << q << " misses pattern " << i;
      }
    }
  }
}

TEST(SaturationIndexes, FeatureVectorsBelowAndAboveExactly) {
  std::mt19937 rng(3);
  constexpr std::size_t kLength = 6;
  std::vector<std::vector<std::uint32_t>> vectors;
  FeatureVectorIndex<int> index(kLength);
  for (int i = 0; i < 500; ++i) {
    std::vector<std::uint32_t> v(kLength);
    for (auto& x : v) x = rng() % 4;
    vectors.push_back(v);
    index.insert(v.data(), i);
  }
  for (int i = 1; i < 500; i += 5)
    ASSERT_TRUE(index.remove(vectors[static_cast<std::size_t>(i)].data(), i));
  for (int q = 0; q < 200; ++q) {
    std::vector<std::uint32_t> bound(kLength);
    for (auto& x : bound) x = rng() % 4;
    for (bool below : {true, false}) {
      std::set<int> found, expected;
      auto collect = [&](int p) {
        found.insert(p);
        return false;
      };
      if (below)
        index.at_most(bound.data(), collect);
      else
        index.at_least(bound.data(), collect);
      for (int i = 0; i < 500; ++i) {
        const auto& v = vectors[static_cast<std::size_t>(i)];
        bool ok = i % 5 != 1;
        for (std::size_t k = 0; k < kLength && ok; ++k)
          ok = below ? v[k] <= bound[k] : v[k] >= bound[k];
        if (ok) expected.insert(i);
      }
      EXPECT_EQ(found, expected);
    }
  }
}

}  // namespace
}  // namespace velkor::saturation
