// The problem every engine answers for: a TPTP problem read once, its
// first-order formulas clausified, and the theory it is to be read in.
//
// After loading nothing changes it.  Each engine derives what it needs (the
// tableau its input_clause text and equality axioms, the equality
// modification its own clause set, model generation its ground instances)
// into structures of its own, so that nothing one engine derives can reach
// another engine's input or show up in its answer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tptp/problem.hpp"

namespace velkor {

// What the symbols mean beyond the clauses: equality, and the distinct
// objects, which name pairwise different elements in every model ("..."
// objects and, unless numbers are free, numbers).
struct Theory {
  bool equality = false;      // some clause that is not always true has an equation
  bool free_numbers = false;  // numbers are ordinary constants
  // The distinct objects of the clauses, in order of first occurrence.
  std::vector<std::uint32_t> distinct_objects;

  bool is_distinct_object(std::uint32_t symbol) const;
  // Every two of them, in the order of the list: each must differ.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> distinct_pairs() const;
};

struct Problem {
  std::string path;       // as given on the command line
  std::string name;       // for SZS lines: the file name without folder and .p
  tptp::Problem clauses;  // the formulas as read, the clauses they and the cnf input gave
  Theory theory;
  // The first clause that is empty once its false literals are gone: the
  // problem is refuted by it alone.
  std::optional<std::size_t> empty_clause;

  bool has_conjecture() const { return clauses.has_conjecture; }
};

struct LoadOptions {
  bool free_numbers = false;
  // Directory against which includes are resolved; when absent, the TPTP
  // environment variable, else the nearest folder above the problem that
  // holds them.
  std::optional<std::string> root;
};

// Reads and clausifies a TPTP problem.  Throws tptp::ConvertError.
std::unique_ptr<const Problem> load_problem(const std::string& path, const LoadOptions& options);

// Clausifies the statements of a problem as read (`statements`, whose
// formulas have given no clauses yet) into the problem engines answer for.
std::unique_ptr<const Problem> make_problem(const std::string& path, tptp::Problem statements,
                                            bool free_numbers);

// The statements of a problem as read: its formulas and cnf clauses,
// without the clauses its formulas gave.
tptp::Problem statements_of(const Problem& problem);

// The theory of a clause set: whether it uses equality, and its distinct
// objects.
Theory theory_of(const tptp::Problem& clauses, bool free_numbers);

enum class ProblemFormat {
  kInputClause,  // velkor's own syntax (also anything that is not TPTP)
  kTptp,         // the first entry is cnf(, fof(, include( or another TPTP statement
};

// Looks at the first word of the file that is not blank or a comment.  A
// file that cannot be read counts as kInputClause: the prover's own reader
// reports it.
ProblemFormat detect_format(const std::string& path);

// The name SZS lines give a problem: the file name without its folder and
// without the extension .p.
std::string problem_name(const std::string& path);

}  // namespace velkor
