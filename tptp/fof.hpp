// Reading and printing first-order formulas in TPTP's fof syntax.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tptp/lexer.hpp"
#include "tptp/problem.hpp"

namespace tptp {

// Reads one fof formula from `lexer` into the Problem's formula nodes and
// returns its root.  `variables` receives the name of every quantifier
// binding, by index.  Connectives bind as in TPTP: <=>, =>, <=, <~>, ~|, ~&
// (non-associative), then | and & (associative), loosest first; ~ and the
// quantifiers apply to the unit that follows.  A variable outside the scope
// of a quantifier over it is an error: fof formulas are closed.  Throws
// ConvertError.  Recurses once per nesting level: run it on the large stack.
std::uint32_t read_fof_formula(Lexer& lexer, Problem& problem, std::vector<std::string>& variables);

// The formula problem.formulas[index] in fof syntax, fully parenthesised, with
// the names and variables as written (quoted where needed).  Works without
// recursion, whatever the nesting depth.
std::string formula_text(const Problem& problem, std::size_t index);

}  // namespace tptp
