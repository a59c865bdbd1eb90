// Foldup lemmas grouped by predicate and sign: whatever targets the lemmas
// are folded up to, and however many folds are undone, the grouped walk
// from any subgoal of the branch meets exactly the nodes of the whole
// foldup chain that have the predicate and sign asked for, in chain order.
#include <random>
#include <vector>

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class LemmaGroupsTest : public ProverTest {
 protected:
  LemmaGroupsTest() {
    p->foldup = true;
    for (int i = 0; i < 2; ++i) {
      predicates[i] = p->arena.make<Predicate>();
      predicates[i]->number = i + 1;
    }
  }

  Literal* make_literal(Literal* below, std::mt19937& random) {
    Literal* l = p->arena.make<Literal>();
    l->sign = random() % 2 ? '+' : '-';
    l->predicate = predicates[random() % 2];
    l->foldup_link = l->branch_link = below;
    return l;
  }

  // The nodes of `predicate` and `sign` on the chain from `start`: by the
  // whole chain, and by the groups.
  std::vector<Literal*> by_chain(Literal* start, Predicate* predicate, char sign) {
    std::vector<Literal*> nodes;
    for (Literal* a = start; a != nullptr; a = a->foldup_link)
      if (a->predicate == predicate && a->sign == sign) nodes.push_back(a);
    return nodes;
  }
  std::vector<Literal*> by_groups(Literal* start, Predicate* predicate, char sign) {
    std::vector<Literal*> nodes;
    p->walk_foldup_chain(start, predicate, sign, [&](Literal* a) {
      nodes.push_back(a);
      return true;
    });
    return nodes;
  }

  Predicate* predicates[2];
};

TEST_F(LemmaGroupsTest, GroupedWalkMeetsTheChainsNodesInOrderThroughFoldsAndUndos) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    p->foldup_root->foldup_link = nullptr;
    std::vector<Literal*> branch{p->foldup_root};
    for (int i = 0; i < 5; ++i) branch.push_back(make_literal(branch.back(), random));
    std::vector<Literal*> nodes = branch;
    int folds = 0;
    for (int step = 0; step < 60; ++step) {
      if (folds > 0 && random() % 4 == 0) {
        p->undo_v_trail();
        --folds;
      } else {
        // A solved subgoal below a branch subgoal becomes a lemma after a
        // node of its chain: the first one with a reduction mark above the
        // bound, or the root when there is none.
        Literal* solved = make_literal(branch[random() % branch.size()], random);
        std::vector<Literal*> chain;
        for (Literal* a = solved->foldup_link; a != nullptr; a = a->foldup_link) chain.push_back(a);
        for (Literal* a : nodes) a->reduction_mark = 0;
        Literal* target = chain[random() % chain.size()];
        if (target != p->foldup_root) target->reduction_mark = 1;
        p->push_v_mark();
        p->fold_up(solved, 0);
        nodes.push_back(solved);
        ++folds;
      }
      for (Literal* start : branch)
        for (Predicate* predicate : predicates)
          for (char sign : {'+', '-'})
            ASSERT_EQ(by_groups(start, predicate, sign), by_chain(start, predicate, sign))
                << "seed " << seed << ", step " << step;
    }
    while (folds-- > 0) p->undo_v_trail();
    for (Predicate* predicate : predicates) {
      EXPECT_EQ(predicate->root_lemmas[0], nullptr);
      EXPECT_EQ(predicate->root_lemmas[1], nullptr);
    }
  }
}

}  // namespace
}  // namespace velkor::testing
