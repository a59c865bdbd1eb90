// One-sided matching: the pattern's variables are bound, the instance's
// variables are constants.  Subsumption, rewriting and subsumption
// resolution all ask whether a clause's literal is an instance of another's.
#include <algorithm>

#include "prover/saturation/substitution.hpp"

namespace velkor::saturation {

void Matcher::reset(std::uint32_t n) {
  undo(0);
  if (bound_.size() < n) bound_.resize(n, nullptr);
}

void Matcher::undo(std::size_t mark) {
  while (trail_.size() > mark) {
    bound_[trail_.back()] = nullptr;
    trail_.pop_back();
  }
}

bool Matcher::match(Term* pattern, Term* instance) {
  const std::size_t start = mark();
  work_.clear();
  work_.push_back({pattern, instance});
  while (!work_.empty()) {
    auto [p, i] = work_.back();
    work_.pop_back();
    if (p->ground) {
      if (p != i) {
        undo(start);
        return false;
      }
      continue;
    }
    if (p->variable) {
      if (p->symbol >= bound_.size()) bound_.resize(std::size_t{p->symbol} + 1, nullptr);
      Term*& b = bound_[p->symbol];
      if (b == nullptr) {
        b = i;
        trail_.push_back(p->symbol);
      } else if (b != i) {
        undo(start);
        return false;
      }
      continue;
    }
    if (i->variable || p->symbol != i->symbol) {
      undo(start);
      return false;
    }
    for (std::uint32_t k = p->arity; k-- > 0;) work_.push_back({p->args[k], i->args[k]});
  }
  return true;
}

Term* Matcher::apply(TermBank& bank, Term* pattern) {
  if (pattern->ground) return pattern;
  if (pattern->variable) {
    Term* b = binding(pattern->symbol);
    return b != nullptr ? b : pattern;
  }
  std::vector<Term*> args(pattern->arity);
  for (std::uint32_t k = 0; k < pattern->arity; ++k) args[k] = apply(bank, pattern->args[k]);
  return bank.make(pattern->symbol, args.data());
}

bool Matcher::is_renaming() const {
  std::vector<Term*> images;
  images.reserve(trail_.size());
  for (std::uint32_t v : trail_) {
    if (!bound_[v]->variable) return false;
    images.push_back(bound_[v]);
  }
  std::sort(images.begin(), images.end());
  return std::adjacent_find(images.begin(), images.end()) == images.end();
}

}  // namespace velkor::saturation
