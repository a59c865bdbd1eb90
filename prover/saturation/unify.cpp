// Unification of two terms renamed apart by offsets, and instantiation of
// the result into the term bank.
#include <algorithm>

#include "prover/saturation/substitution.hpp"

namespace velkor::saturation {

void Substitution::reset(std::uint32_t n) {
  undo(0);
  forget_renaming();
  grow(n);
}

void Substitution::grow(std::uint32_t n) {
  if (slots_.size() < n) {
    slots_.resize(n, Bound{nullptr, 0});
    renaming_.resize(n, 0);
    memo_.resize(n, nullptr);
  }
}

Bound Substitution::deref(Term* t, std::uint32_t offset) const {
  while (t->variable) {
    const Bound& b = slots_[t->symbol + offset];
    if (b.term == nullptr) break;
    t = b.term;
    offset = b.offset;
  }
  return Bound{t, offset};
}

void Substitution::bind(std::uint32_t slot, Bound to) {
  slots_[slot] = to;
  trail_.push_back(slot);
}

void Substitution::undo(std::size_t mark) {
  while (trail_.size() > mark) {
    slots_[trail_.back()].term = nullptr;
    trail_.pop_back();
  }
}

bool Substitution::occurs(std::uint32_t slot, Term* t, std::uint32_t offset) const {
  if (t->ground) return false;
  if (t->variable) {
    Bound b = deref(t, offset);
    if (b.term->variable) return b.term->symbol + b.offset == slot;
    return occurs(slot, b.term, b.offset);
  }
  for (std::uint32_t i = 0; i < t->arity; ++i)
    if (occurs(slot, t->args[i], offset)) return true;
  return false;
}

bool Substitution::unify(Term* s, std::uint32_t os, Term* t, std::uint32_t ot) {
  const std::size_t start = mark();
  work_.clear();
  work_.push_back({Bound{s, os}, Bound{t, ot}});
  while (!work_.empty()) {
    auto [a, b] = work_.back();
    work_.pop_back();
    a = deref(a.term, a.offset);
    b = deref(b.term, b.offset);
    if (a.term == b.term && (a.term->ground || a.offset == b.offset)) continue;
    if (!a.term->variable && b.term->variable) std::swap(a, b);
    if (a.term->variable) {
      const std::uint32_t slot = a.term->symbol + a.offset;
      if (!b.term->variable && occurs(slot, b.term, b.offset)) {
        undo(start);
        return false;
      }
      bind(slot, b);
      continue;
    }
    if (a.term->symbol != b.term->symbol || (a.term->ground && b.term->ground)) {
      undo(start);
      return false;
    }
    for (std::uint32_t i = a.term->arity; i-- > 0;)
      work_.push_back({Bound{a.term->args[i], a.offset}, Bound{b.term->args[i], b.offset}});
  }
  return true;
}

void Substitution::forget_renaming() {
  for (std::uint32_t slot : touched_) {
    renaming_[slot] = 0;
    memo_[slot] = nullptr;
  }
  touched_.clear();
  next_variable_ = 0;
}

Term* Substitution::apply(TermBank& bank, Term* t, std::uint32_t offset) {
  if (t->ground) return t;
  if (t->variable) {
    const std::uint32_t slot = t->symbol + offset;
    const Bound b = slots_[slot];
    if (b.term == nullptr) {
      if (renaming_[slot] == 0) {
        renaming_[slot] = ++next_variable_;
        touched_.push_back(slot);
      }
      return bank.variable(renaming_[slot] - 1);
    }
    if (memo_[slot] == nullptr) {
      Term* instance = apply(bank, b.term, b.offset);
      memo_[slot] = instance;
      touched_.push_back(slot);
    }
    return memo_[slot];
  }
  // Arguments go on a shared scratch stack, so that building allocates
  // only while the stack grows.
  const std::size_t base = scratch_.size();
  for (std::uint32_t i = 0; i < t->arity; ++i) {
    Term* a = apply(bank, t->args[i], offset);
    scratch_.push_back(a);
  }
  Term* result = bank.make(t->symbol, scratch_.data() + base);
  scratch_.resize(base);
  return result;
}

}  // namespace velkor::saturation
