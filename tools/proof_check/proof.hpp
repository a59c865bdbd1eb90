// Reading the "USED CLAUSES" block of a velkor proof and turning the clause
// instances listed there into a ground clause set for quorvel.
//
// A closed connection tableau is a propositional refutation of the clause
// instances on its branches, and it stays one under any further substitution.
// So replacing every variable left in the instances by one and the same
// constant must give an unsatisfiable set of ground clauses; a satisfiable set
// means the proof is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace proof_check {

// A term or an atom: a name with arguments, or a variable (no arguments).
struct Term {
  std::string name;
  bool variable = false;
  std::vector<Term> arguments;

  bool operator==(const Term&) const = default;
};

struct Literal {
  bool positive = true;
  Term atom;  // never a variable

  bool operator==(const Literal&) const = default;
};

using Clause = std::vector<Literal>;

// One "clause N:" entry: the clause as printed and the instances in use.
struct UsedClause {
  std::int64_t number = 0;
  Clause clause;
  std::vector<Clause> instances;
};

struct UsedClauses {
  bool ok = false;
  std::string error;     // why the text could not be read, when !ok
  std::size_t line = 0;  // the line of the output it concerns (from 1), or 0
  std::vector<UsedClause> clauses;
};

// Literals written one after the other ("--p(X)++q(f(X),a)"), the way velkor
// prints clauses and instances; commas between literals and blanks are
// skipped, so an input_clause literal list reads as well.  A new literal
// starts at "++" or "--" outside parentheses.  Returns false with `error`
// set when the text is not a sequence of literals.
bool parse_literals(std::string_view text, Clause& clause, std::string& error);

// Finds the "USED CLAUSES" block in velkor's output and reads it.
UsedClauses parse_used_clauses(std::string_view velkor_output);

// The input clauses of a problem in velkor's syntax, in file order, so that
// clause N of a proof is element N - 1.
struct ProblemClauses {
  bool ok = false;
  std::string error;
  std::vector<Clause> clauses;
};
ProblemClauses parse_problem(std::string_view text);

// Whether `instance` is `clause` under some substitution of the clause's
// variables (literal by literal, same signs and predicates).  Variables of
// the instance are treated as names.
bool is_instance(const Clause& clause, const Clause& instance);

// The name every variable is replaced by.  "$" cannot occur in velkor's
// names, so it is a constant of no problem.
inline constexpr std::string_view kGroundConstant = "$c";

// `clause` with every variable replaced by kGroundConstant.
Clause ground(const Clause& clause);

// The clauses in quorvel's general syntax, one datum ((positive) (negative))
// per line.  Names are written as strings, which quorvel compares with their
// case, and an atom or term with arguments as a list headed by its name, so
// p(f(a),b) is ("p" ("f" "a") "b") and the propositional atom q is "q".
std::string general_syntax(const std::vector<Clause>& clauses);

// A literal or clause printed back in velkor's syntax (for messages).
std::string to_string(const Term& term);
std::string to_string(const Clause& clause);

enum class Verdict { kUnsatisfiable, kSatisfiable, kUnknown };

// The verdict of quorvel's result line (the last line of its output).
Verdict read_verdict(std::string_view quorvel_output);

// The lines of `text`, without their line ends (the last one may be empty).
std::vector<std::string_view> split_lines(std::string_view text);

}  // namespace proof_check
