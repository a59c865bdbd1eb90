// Writes a read Problem as input_clause entries, one per line.
//
// velkor's reader knows fewer kinds of names than TPTP: a symbol is a
// lower-case letter or a digit followed by letters, digits, _, + or -, and
// the words input_clause and equal are reserved.  Every TPTP name that does
// not fit is given a fresh symbol derived from its spelling, distinct from
// every name the problem already uses, so that different symbols stay
// different and equal ones stay equal.
//
// TPTP's = is equality, velkor's equal is an ordinary predicate unless the
// user asks otherwise.  So that a problem with equality keeps its meaning,
// the axioms of equality for the symbols the written clauses use are
// appended after them.  Distinct objects ("...") with different texts are
// unequal in every TPTP interpretation; where equality is used, a unit
// clause --equal(A,B) for every pair of them the written clauses hold says
// so (without equality nothing could tell them apart or merge them).
// Numbers are distinct objects too unless WriteOptions::free_numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tptp/problem.hpp"

namespace tptp {

// Which axioms of equality follow the clauses when they use equality: all
// of them, reflexivity alone (for a clause set that needs no other), or none.
enum class EqualityAxioms : std::uint8_t { kAll, kReflexivity, kNone };

struct WriteOptions {
  EqualityAxioms equality_axioms = EqualityAxioms::kAll;
  // Write clauses with an atom of both signs instead of leaving them out.
  // Clauses with a true literal are left out regardless: without that
  // literal they would say something else.
  bool keep_tautologies = false;
  // Append the disequations of distinct objects (for a clause set that
  // holds them among its clauses already, leave them out).
  bool distinct_objects = true;
  // Numbers are ordinary constants, not distinct objects.
  bool free_numbers = false;
};

// One input_clause entry written: the problem's clause it stands for, or
// an equality axiom or a disequation of two distinct objects appended after
// them.
struct WrittenClause {
  static constexpr std::size_t kEqualityAxiom = static_cast<std::size_t>(-1);
  static constexpr std::size_t kDistinctObjects = static_cast<std::size_t>(-2);
  std::size_t clause;  // index in Problem::clauses, kEqualityAxiom or kDistinctObjects
  std::string name;    // the entry's name
};

struct Written {
  std::string text;
  std::vector<WrittenClause> entries;  // in the order written
  // Symbols whose name in the entries differs from their TPTP spelling:
  // written name -> the spelling in TPTP syntax (quoted where TPTP needs it).
  std::unordered_map<std::string, std::string> tptp_spelling;
  std::size_t clauses = 0;           // input_clause entries written for the problem's clauses
  std::size_t dropped = 0;           // clauses left out because they are always true
  std::size_t equality_axioms = 0;   // input_clause entries appended after them
  std::size_t distinct_objects = 0;  // disequations of distinct objects appended last
};

// Throws ConvertError for a clause that is empty once its false literals are
// removed: velkor has no way to write the empty clause.  `tptp_spelling`
// gives the TPTP text of every renamed symbol.
Written write_problem(const Problem& problem, const WriteOptions& options = {});

// A symbol as TPTP writes it: quoted and escaped where a plain word would
// not read back as the same symbol.
std::string tptp_text(const Symbol& symbol);

// A clause of the problem in TPTP syntax (`p(X) | ~q | s != t`, `$false`
// when it is empty), its variables named as written where that is
// unambiguous (else X1, X2, ...).  Terms are written without recursion,
// whatever their depth.
std::string clause_text(const Problem& problem, const Clause& clause);

// The names clause_text gives the clause's variables, by variable index.
std::vector<std::string> clause_variable_names(const Clause& clause);

// A term or literal of the problem in TPTP syntax, variable i written as
// names[i] (a variable's name, or a ground term for an instance).
std::string term_text(const Problem& problem, std::uint32_t term,
                      const std::vector<std::string>& names);
std::string literal_text(const Problem& problem, const Literal& literal,
                         const std::vector<std::string>& names);

}  // namespace tptp
