// Clauses of the saturation engine: literal arrays over shared terms.
//
// A clause is one block of the clause arena: the record, then its
// literals.  Blocks are recycled through free lists by literal count, so
// the millions of clauses a run generates and throws away after forward
// simplification cost no allocation once the lists are warm.  Clauses that
// took part in inferences (processed ones) are never recycled: the
// rewriting memo of the term bank and the derivations of later clauses
// point to them.
#pragma once

#include <cstdint>
#include <vector>

#include "prover/saturation/order.hpp"
#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

// An equation left = right or disequation, or a predicate literal whose
// atom is `left` and whose `right` is the truth constant.  Sides are kept
// as derived (an input clause's as written), `order` tells which is greater.
struct Literal {
  Term* left;
  Term* right;
  bool positive;
  bool equation;  // false: a predicate literal
  Order order;    // left against right
  bool maximal;   // no other literal of the clause is greater (set on activation)
  bool selected;  // chosen by the literal selection (set on activation)
};

enum class Rule : std::uint8_t {
  kInput,                  // a clause of the problem
  kTheory,                 // "a" != "b" for two distinct objects
  kSuperposition,          // parents: from, into
  kResolution,             // parents: positive, negative
  kFactoring,              // one parent, literals 0 and 1 merged
  kEqualityResolution,     // one parent, literal 0 refuted
  kEqualityFactoring,      // one parent: literal 0 side 0 against literal 1 side 1
  kDemodulation,           // parents: unit, rewritten clause
  kSubsumptionResolution,  // parents: cutting clause (literal 0), cut clause (literal 1)
};

// How a clause came about, kept for the proof when proofs are asked for.
struct Derivation {
  Rule rule = Rule::kInput;
  std::size_t input = 0;                       // kInput: index of the problem's clause
  struct Clause* parents[2] = {};              // in the order the rule gives
  std::uint32_t literal[2] = {};               // literal numbers (from 0)
  std::uint8_t side[2] = {};                   // 0 the left side, 1 the right side
  std::vector<std::uint32_t> path;             // below the side, argument numbers from 0
  std::vector<Term*> bindings[2];              // each parent's variables, instantiated
  std::vector<std::uint32_t> input_variables;  // kInput: the problem's number of each variable
  // The clause this one was simplified from when nothing else refers to it
  // (an intermediate of forward simplification); it goes when this does.
  struct Clause* owned = nullptr;
};

enum class ClauseState : std::uint8_t {
  kNew,      // made, not yet kept
  kPassive,  // waiting to be selected
  kActive,   // processed: in the indexes, takes part in inferences
  kRetired,  // was active, simplified away; kept for proofs and the rewriting memo
  kFree,     // recycled
};

struct Clause {
  std::uint64_t id;  // creation number: the clause's age
  std::uint32_t nr_literals;
  std::uint32_t nr_variables;  // its variables are 0 .. nr_variables-1
  std::uint64_t weight;        // symbols of all literals, saturating
  double priority;             // for the weight queue: smaller is picked first
  ClauseState state;
  bool from_conjecture;              // derived from a clause of the conjecture
  bool has_selection;                // some literal is selected
  bool in_demodulators;              // a unit equation of the rewriting index
  std::uint32_t demodulator_number;  // its number in the rewriting index
  bool permutative;        // a unit equation whose sides have the same symbols and variables
  Derivation* derivation;  // with proofs; owned by the clause
  Literal* literals;

  Literal& operator[](std::size_t i) { return literals[i]; }
  const Literal& operator[](std::size_t i) const { return literals[i]; }
  bool empty() const { return nr_literals == 0; }
  bool unit_equation() const {
    return nr_literals == 1 && literals[0].positive && literals[0].equation;
  }
};

class ClauseArena {
 public:
  ClauseArena() = default;
  ClauseArena(const ClauseArena&) = delete;
  ClauseArena& operator=(const ClauseArena&) = delete;
  ~ClauseArena();

  // A block for n literals; the record is zeroed, `literals` points to n
  // literals and nr_literals is n.
  Clause* allocate(std::uint32_t n);
  // Returns the block (and its derivation) for reuse.
  void release(Clause* c);
  // Bytes of blocks in use.
  std::size_t bytes_in_use() const { return in_use_; }

 private:
  common::Arena arena_;
  std::vector<std::vector<Clause*>> free_;  // by literal count
  std::vector<Clause*> blocks_;             // every block made, to free derivations at the end
  std::size_t in_use_ = 0;
};

// The same literal, an equation read either way round.
inline bool same_literal(const Literal& a, const Literal& b) {
  return a.positive == b.positive && a.equation == b.equation &&
         ((a.left == b.left && a.right == b.right) ||
          (a.equation && a.left == b.right && a.right == b.left));
}

}  // namespace velkor::saturation
