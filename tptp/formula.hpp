// First-order formulas (TPTP fof) as read, before clausification.
//
// Like terms, formula nodes live in one flat vector of the Problem and refer
// to each other by index, so that a formula nested tens of thousands of
// levels deep is built and destroyed without recursion.  Atoms refer to the
// Problem's terms; a variable term's id is the index of its binding in the
// formula's variable list.  Every quantifier binding gets an index of its
// own, so two quantifiers over the same name stay apart.
#pragma once

#include <cstdint>
#include <string>

namespace tptp {

enum class Connective : std::uint8_t {
  Atom,      // left: the atom, a term of the predicate
  Equal,     // left = right (terms)
  NotEqual,  // left != right (terms)
  True,      // $true
  False,     // $false
  Not,       // ~ left
  And,       // left & right
  Or,        // left | right
  Implies,   // left => right
  Implied,   // left <= right
  Iff,       // left <=> right
  Xor,       // left <~> right
  Nor,       // left ~| right
  Nand,      // left ~& right
  Forall,    // ! [variables] : left
  Exists,    // ? [variables] : left
};

struct FormulaNode {
  Connective connective;
  std::uint32_t left;   // first operand, body or term (see Connective)
  std::uint32_t right;  // second operand or term; for quantifiers the first of
                        // `count` entries of Problem::formula_variables
  std::uint32_t count;  // quantifiers: number of bound variables
};

}  // namespace tptp
