// The term bank: every term of a saturation run exists once.
//
// A term is made by looking up its head symbol and its (already shared)
// arguments in a hash table, so two equal terms are one record and term
// equality is pointer equality.  Records never move or die: clauses,
// indexes and the rewriting memo hold plain pointers to them.  Each term
// knows its weight in the ordering, whether it is ground and the greatest
// variable in it, so that the hot paths (ordering, instantiation, indexing)
// can skip ground subterms and weigh them without a walk.
//
// Variables are terms too, one per number.  A clause numbers its own
// variables from 0; two clauses meet in an inference renamed apart by an
// offset added to the numbers of one of them (unify.hpp), never by copying.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/arena.hpp"

namespace velkor::saturation {

struct Clause;

struct Term {
  std::uint32_t symbol;         // index into TermBank::symbols, or the variable's number
  std::uint32_t arity;          // 0 for variables and constants
  std::uint64_t weight;         // symbol weights plus 1 per variable occurrence, saturating
  std::uint64_t size;           // nodes of its tree, saturating
  std::uint32_t hash;           // of symbol and argument addresses
  std::uint32_t variables;      // 1 + the greatest variable number in the term; 0 if ground
  bool variable;                // a variable; `symbol` is its number
  bool ground;                  // no variable occurs in it
  std::uint32_t irreducible;    // the demodulator count at which no unit rewrote it at its top
  Term* rewritten;              // memo: what a unit rewrote it to at its top (arguments normal)
  Clause* rewritten_by;         // that unit equation
  std::uint8_t rewritten_side;  // which side of it was the left side (0, 1)
  Term* next;                   // in the bank's hash chain
  Term** args;                  // `arity` arguments
};

// A symbol as the engine knows it: a TPTP symbol at one arity, as a
// function or as a predicate, or the engine's own truth constant.
struct SymbolInfo {
  static constexpr std::uint32_t kNoSource = ~std::uint32_t{0};
  std::uint32_t source = kNoSource;  // tptp::Problem symbol id
  std::uint32_t arity = 0;
  bool predicate = false;
  bool distinct_object = false;   // unequal to every other distinct object
  bool in_conjecture = false;     // occurs in a clause of the conjecture
  std::uint32_t weight = 1;       // in the ordering (at least 1)
  std::int64_t rank = 0;          // in the precedence: greater is greater
  std::uint64_t occurrences = 0;  // in the problem's clauses
};

class TermBank {
 public:
  TermBank();
  TermBank(const TermBank&) = delete;
  TermBank& operator=(const TermBank&) = delete;

  std::uint32_t add_symbol(const SymbolInfo& info);
  const SymbolInfo& symbol(std::uint32_t id) const { return symbols_[id]; }
  SymbolInfo& symbol(std::uint32_t id) { return symbols_[id]; }
  std::size_t symbol_count() const { return symbols_.size(); }

  // Variable number n.
  Term* variable(std::uint32_t n);
  // The term symbol(args...); `args` holds symbol(id).arity shared terms.
  Term* make(std::uint32_t symbol, Term* const* args);
  // The truth constant that predicate literals are equations with; the
  // smallest term of the ordering.
  Term* truth() const { return truth_; }

  // Terms made so far (variables included) and the bytes they take.
  std::size_t size() const { return count_; }
  std::size_t bytes() const { return arena_.handed_out(); }

 private:
  void grow();

  // Open addressing with linear probing; each slot keeps the hash so that
  // a probe reads no term record it does not need.
  struct Slot {
    std::uint32_t hash;
    Term* term;
  };
  common::Arena arena_;
  std::vector<SymbolInfo> symbols_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
  std::vector<Term*> variables_;
  Term* truth_ = nullptr;
};

// The truth constant's symbol: always the first.
inline constexpr std::uint32_t kTruthSymbol = 0;

// Adds with saturation at the top of the range: weights of terms whose
// tree is exponentially larger than their shared form stay ordered.
inline std::uint64_t add_weights(std::uint64_t a, std::uint64_t b) {
  std::uint64_t r;
  return __builtin_add_overflow(a, b, &r) ? ~std::uint64_t{0} : r;
}

// Subterm of t at `path` (argument numbers from 0).
Term* subterm_at(Term* t, const std::uint32_t* path, std::size_t length);

// t with the subterm at `path` replaced by `by`.
Term* replace_at(TermBank& bank, Term* t, const std::uint32_t* path, std::size_t length, Term* by);

// t with every variable n replaced by variable map[n] (map covers t).
Term* rename(TermBank& bank, Term* t, const std::vector<std::uint32_t>& map);

// Whether variable number v occurs in t.
bool occurs_in(std::uint32_t v, Term* t);

// t in TPTP syntax: symbols by `names` (indexed by symbol), variable n as
// `variable_names[n]` when given, else Xn+1.
std::string term_text(const std::vector<std::string>& names, Term* t,
                      const std::vector<std::string>* variable_names = nullptr);

}  // namespace velkor::saturation
