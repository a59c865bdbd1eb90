// Substitutions of the saturation engine.
//
// Unification renames two clauses apart by an offset: variable n of a term
// taken at offset k is the slot n + k.  The given clause is read at offset
// 0 and its partner at the given clause's variable count, so no clause is
// ever copied to rename it.  A slot is bound to a term together with the
// offset its variables are read at; bindings are undone through a trail.
//
// Instantiation builds the result in the term bank, numbering the slots
// left unbound 0, 1, ... in the order it meets them, so the conclusion of an
// inference comes out with its own variables.  Ground subterms are shared
// as they are, and each bound slot is instantiated once per conclusion, so
// a binding that doubles at every level costs its shared size, not its tree.
//
// Matching (one-sided: the instance's variables are constants) binds the
// pattern's variables, by number, to subterms of the instance.
#pragma once

#include <cstdint>
#include <vector>

#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

// A term whose variables are read at `offset`.
struct Bound {
  Term* term;
  std::uint32_t offset;
};

class Substitution {
 public:
  // Makes room for slots 0 .. n-1 (all unbound) and forgets the renaming.
  void reset(std::uint32_t n);
  // Makes room for slots 0 .. n-1, keeping the bindings.
  void grow(std::uint32_t n);

  Bound deref(Term* t, std::uint32_t offset) const;
  // Most general unifier of s (at offset os) and t (at ot), added to the
  // current bindings; on failure the bindings are as before.
  bool unify(Term* s, std::uint32_t os, Term* t, std::uint32_t ot);

  std::size_t mark() const { return trail_.size(); }
  void undo(std::size_t mark);

  // The instance of t (at offset) in the bank; unbound slots become fresh
  // variables numbered in the order met since the last `reset` or
  // `forget_renaming`.
  Term* apply(TermBank& bank, Term* t, std::uint32_t offset);
  void forget_renaming();
  // Variables the renaming has given out.
  std::uint32_t renamed() const { return next_variable_; }

 private:
  bool occurs(std::uint32_t slot, Term* t, std::uint32_t offset) const;
  void bind(std::uint32_t slot, Bound to);

  std::vector<Bound> slots_;
  std::vector<std::uint32_t> trail_;
  std::vector<std::pair<Bound, Bound>> work_;  // pairs still to unify
  std::vector<std::uint32_t> renaming_;        // slot -> variable + 1 of the instance; 0 none
  std::vector<Term*> memo_;                    // slot -> instance of its binding
  std::vector<std::uint32_t> touched_;         // slots with a renaming or a memo
  std::uint32_t next_variable_ = 0;
  std::vector<Term*> scratch_;
};

class Matcher {
 public:
  // Makes room for pattern variables 0 .. n-1, all unbound.
  void reset(std::uint32_t n);
  // Extends the bindings so that pattern becomes instance; on failure the
  // bindings are as before.
  bool match(Term* pattern, Term* instance);
  std::size_t mark() const { return trail_.size(); }
  void undo(std::size_t mark);
  Term* binding(std::uint32_t v) const { return v < bound_.size() ? bound_[v] : nullptr; }
  // The pattern under the bindings (its unbound variables stay as they are).
  Term* apply(TermBank& bank, Term* pattern);
  // Whether the bindings so far send distinct variables to distinct
  // variables: the instance is a variant of the pattern.
  bool is_renaming() const;

 private:
  std::vector<Term*> bound_;
  std::vector<std::uint32_t> trail_;
  std::vector<std::pair<Term*, Term*>> work_;
};

}  // namespace velkor::saturation
