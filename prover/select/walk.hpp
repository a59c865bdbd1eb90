// One step of the walks over formulas that selection makes (the symbols of
// a statement, the parts a restricted problem keeps).  Formulas nest
// arbitrarily deep, so the walks keep explicit stacks.
#pragma once

#include <cstdint>
#include <vector>

#include "tptp/problem.hpp"

namespace velkor::select {

// Hands the terms of an atom or an equation to `term` and pushes the
// subformulas of any other node onto `pending`.
template <class OnTerm>
void expand(const tptp::FormulaNode& n, std::vector<std::uint32_t>& pending, OnTerm&& term) {
  using tptp::Connective;
  switch (n.connective) {
    case Connective::Atom:
      term(n.left);
      break;
    case Connective::Equal:
    case Connective::NotEqual:
      term(n.left);
      term(n.right);
      break;
    case Connective::True:
    case Connective::False:
      break;
    case Connective::Not:
    case Connective::Forall:
    case Connective::Exists:
      pending.push_back(n.left);
      break;
    default:  // the binary connectives
      pending.push_back(n.left);
      pending.push_back(n.right);
      break;
  }
}

}  // namespace velkor::select
