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

// Which clause sets a clause belongs to.  A problem with equality can be
// written with the equality axioms (the clauses as read) or as its
// equality-free modification, whose clauses replace some of those read.
enum class ClauseSet : std::uint8_t {
  kBoth,       // in either set
  kAxiomatic,  // replaced in the modification
  kModified,   // made by the modification from clause `modified_from`
};

// An ordering constraint of a modified clause: side `greater_side` (0 the
// left, 1 the right argument) of equality literal `greater_literal` must be
// greater than (`strict`) or at least as great as the given side of
// `smaller_literal`, in the reduction ordering of the search.
struct OrderingConstraint {
  std::uint32_t greater_literal;
  std::uint32_t greater_side;
  std::uint32_t smaller_literal;
  std::uint32_t smaller_side;
  bool strict;
};

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
  ClauseSet set = ClauseSet::kBoth;
  std::uint32_t modified_from = 0;  // for kModified
  // For kModified: an equation of the original was named by a new predicate,
  // so the clause is only equisatisfiable with the original, not implied.
  bool modified_esa = false;
  std::vector<OrderingConstraint> ordering;
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
