// Reading and checking a TSTP refutation: the block between
// "% SZS output start CNFRefutation" and "% SZS output end CNFRefutation"
// that velkor prints with -proof on TPTP input.
//
// Every line of the block is an annotated formula, cnf(NAME, ROLE, CLAUSE,
// SOURCE) or fof(...).  Leaves name where their clause comes from (a problem
// file, the theory of equality, the clausification of a fof formula);
// instantiation lines give an instance of one earlier clause; the last line
// derives $false from exactly the instances.  The instances of a closed
// connection tableau are propositionally unsatisfiable once every variable
// is replaced by one constant, which quorvel decides.
//
// Terms are kept flat, in the TPTP library's Problem (one array of terms,
// arguments by index), and every walk over them uses an explicit stack, so a
// term nested a hundred thousand levels deep is read, compared, grounded and
// freed without deep recursion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tptp/problem.hpp"

namespace proof_check::tstp {

enum class Source : unsigned char {
  kNone,       // no source given
  kFile,       // file(PATH, NAME): a clause of a problem file
  kTheory,     // theory(...), e.g. theory(equality)
  kInference,  // inference(RULE, INFO, [PARENTS])
  kOther,      // any other source (introduced(...), ...)
};

// An entry of an inference's annotation that says where its rule applies,
// such as from(1,left) or into(2,right,[1,2]): the name and the
// arguments, each a number, a word or a list of numbers.
struct InfoArgument {
  enum Kind : unsigned char { kNumber, kWord, kList, kOther } kind = kOther;
  std::int64_t number = 0;
  std::string word;
  std::vector<std::int64_t> list;
};
struct InfoEntry {
  std::string name;
  std::vector<InfoArgument> arguments;
};

// subst(PARENT, [bind(V, $fot(T)), ...]): the terms a parent's variables are
// bound to.  A term's variables are numbered in Line::binding_variables.
struct Substitution {
  std::string parent_key;
  std::string parent_name;
  std::vector<std::pair<std::string, std::uint32_t>> bindings;  // variable name, term
};

// One annotated formula of the block.
struct Line {
  int line = 0;         // line of the input on which it starts
  bool cnf = true;      // false for fof: its formula is skipped, only its name counts
  tptp::Clause clause;  // name, name_key and, for cnf, the literals (false ones removed)
  Source source = Source::kNone;
  std::string rule;                            // kInference: the rule's name
  std::vector<std::string> parent_keys;        // kInference: the cited names, as name keys
  std::vector<std::string> parent_names;       // kInference: the same, as written
  std::string file_clause_key;                 // kFile: the name of the clause in the file
  std::string file_clause_name;                // kFile: the same, as written
  std::vector<InfoEntry> info;                 // kInference: the entries after the status
  std::vector<Substitution> substitutions;     // kInference: subst(...) entries
  std::vector<std::string> binding_variables;  // names of the variables of their terms
};

struct Refutation {
  tptp::Problem terms;  // owns the symbols and terms of every line
  std::vector<Line> lines;
};

// Where the block is in velkor's output: its first and last line (0-based,
// the lines of the two SZS markers), or why there is none.
struct BlockPosition {
  bool found = false;     // a start marker was seen
  bool complete = false;  // and an end marker after it
  std::size_t start = 0, end = 0;
};
BlockPosition find_refutation(std::string_view output);

// Reads the lines between the markers; `text` is the whole output and `file`
// names it in messages.  Throws tptp::ConvertError with file and line.
Refutation read_refutation(std::string_view text, const BlockPosition& block,
                           const std::string& file);

// Whether `instance` is `pattern` under some substitution of the pattern's
// variables: literal by literal, same signs, predicates and equalities.
bool is_instance(const tptp::Problem& store, const tptp::Clause& pattern,
                 const tptp::Clause& instance);

// Whether two clauses, each with its own term store, are equal up to a
// renaming of variables (one-to-one).
bool is_variant(const tptp::Problem& a_store, const tptp::Clause& a, const tptp::Problem& b_store,
                const tptp::Clause& b);

// The clauses with every variable replaced by one constant, in quorvel's
// general syntax: one datum ((positive atoms) (negative atoms)) per clause.
// A symbol becomes a string whose first character tells its kind apart
// (quoted names get a leading ', distinct objects a leading "), an atom or
// term with arguments a list headed by its symbol, equality the symbol =,
// and every variable the number 0, which no symbol is written as.  Clauses
// with a true literal are left out.
std::string general_syntax(const tptp::Problem& store,
                           const std::vector<const tptp::Clause*>& clauses);

// A clause in TPTP syntax, for messages.
std::string to_string(const tptp::Problem& store, const tptp::Clause& clause);

}  // namespace proof_check::tstp
