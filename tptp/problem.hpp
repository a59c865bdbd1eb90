// The clauses of a TPTP problem after reading, before any renaming.
//
// Terms live in one flat arena and refer to each other by index, so that a
// term nested a hundred thousand levels deep is neither built nor destroyed
// by recursion over owning pointers.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tptp/formula.hpp"

namespace tptp {

// How a symbol was written; two occurrences denote the same symbol exactly
// when kind and spelling agree.  A quoted word that could have been written
// unquoted ('abc') is the plain word, as in TPTP.
enum class SymbolKind : std::uint8_t {
  Plain,     // lower-case word
  Quoted,    // '...' that is not a plain word; spelling is the content
  System,    // $word or $$word other than the truth values; spelling keeps the dollars
  Distinct,  // "..."; spelling is the content
  Number,    // spelling as written
};

struct Symbol {
  SymbolKind kind;
  std::string spelling;
};

struct Term {
  bool is_variable;
  std::uint32_t id;  // symbol index, or variable index within the clause
  std::uint32_t first_arg;
  std::uint32_t arity;
};

enum class Role : std::uint8_t { Axiom, Hypothesis, Conjecture };

struct Literal {
  bool positive;
  bool equality;       // s = t: `left` and `right` are the two sides
  std::uint32_t left;  // the atom (a term of the predicate) or the left side
  std::uint32_t right;
};

struct Clause {
  Symbol name;           // clause names are symbols of their own namespace
  std::string name_key;  // identity of the name, for include selections
  Role role;
  std::vector<Literal> literals;       // false literals already removed
  std::vector<std::string> variables;  // names by variable index
  bool always_true = false;            // had $true or ~$false
  std::string file;
  int line = 0;
  // Where the clause came from.  role_text is the role as written (for a
  // clause made from formulas, the role of its first formula); formulas
  // lists the indices into Problem::formulas it was made from (empty for a
  // cnf clause; several for the combined conjectures); esa is set when it
  // mentions a Skolem function or a definition predicate, so that it is only
  // equisatisfiable with its formulas, not implied by them.
  std::string role_text;
  std::vector<std::uint32_t> formulas;
  bool esa = false;
};

// A fof statement as read.
struct Formula {
  Symbol name;
  std::string name_key;                // identity of the name, for include selections
  std::string role_text;               // the role as written, e.g. "axiom", "conjecture"
  std::uint32_t root;                  // index into Problem::formula_nodes
  std::vector<std::string> variables;  // names by variable index (one per binding)
  std::string file;
  int line = 0;
};

// Whether a symbol names a distinct object: an element that differs from
// the element of every other distinct object in every interpretation.  A
// "..." object does; so does a number, as TPTP reads numbers, unless
// numbers are free (ordinary constants, for files that use numerals as
// names).
inline bool denotes_distinct_object(const Symbol& symbol, bool free_numbers) {
  return symbol.kind == SymbolKind::Distinct ||
         (symbol.kind == SymbolKind::Number && !free_numbers);
}

class Problem {
 public:
  std::uint32_t intern(SymbolKind kind, const std::string& spelling);
  const Symbol& symbol(std::uint32_t id) const { return symbols_[id]; }
  std::size_t symbol_count() const { return symbols_.size(); }

  std::vector<Term> terms;
  std::vector<std::uint32_t> args;  // argument term indices, each term's run contiguous
  std::vector<Clause> clauses;
  std::vector<FormulaNode> formula_nodes;        // of all formulas
  std::vector<std::uint32_t> formula_variables;  // quantifier variable lists
  std::vector<Formula> formulas;                 // fof statements, in reading order
  bool has_conjecture = false;                   // a fof formula of role conjecture was read

 private:
  std::vector<Symbol> symbols_;
  std::unordered_map<std::string, std::uint32_t> index_;
};

}  // namespace tptp
