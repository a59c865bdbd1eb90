// The state of one model-generation run: the signature, the flattened
// clauses, the engine and its atoms, the budget.  One struct owns it all;
// each file of this folder implements the members of its concern:
// signature.cpp the symbols and element names, flatten.cpp the flat clauses,
// finite_model.cpp the search over domain sizes, ground.cpp the decision by
// ground instances, evaluate.cpp the check of a model on every clause,
// print.cpp the TSTP text.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "modelgen/cdcl/solver.hpp"
#include "prover/models/models.hpp"

namespace velkor::models {

// A symbol as a model interprets it: a function (a constant has arity 0)
// or a predicate.  The same spelling at two arities is two symbols.
struct SymbolEntry {
  std::uint32_t id;  // tptp::Problem symbol
  std::uint32_t arity;
  bool predicate;
  bool in_clauses;  // occurs in a clause that is not always true
};

// An interpretation over the elements 0 .. size-1: for every symbol entry a
// table over its argument tuples (the first argument most significant),
// holding an element for a function and 0 or 1 for a predicate.
struct Model {
  int size = 0;
  std::vector<std::vector<std::uint32_t>> tables;
};

// A literal whose arguments are all variables: p(x..), f(x..) = y, x = y.
// Arguments are `nr` entries of ModelSearch::flat_args from `first`; for a
// function literal the last of them is the value.
struct FlatLiteral {
  enum class Kind : std::uint8_t { kPredicate, kFunction, kEquality };
  Kind kind;
  bool positive;
  std::uint32_t entry;
  std::uint32_t first;
  std::uint32_t nr;
};

struct FlatClause {
  std::uint32_t nr_variables;
  std::uint32_t first_literal;
  std::uint32_t nr_literals;
};

// The terms of a clause in an order that evaluates arguments first: each
// step is a variable or a symbol applied to earlier steps.
struct Step {
  bool variable;
  std::uint32_t id;     // variable index, or symbol entry
  std::uint32_t first;  // arguments: `arity` step numbers in CompiledClause::args
  std::uint32_t arity;
};
struct CompiledLiteral {
  bool positive;
  bool equality;
  std::uint32_t left;   // step of the atom, or of the left side
  std::uint32_t right;  // step of the right side of an equation
};
struct CompiledClause {
  std::uint32_t nr_variables;
  std::vector<Step> steps;
  std::vector<std::uint32_t> args;
  std::vector<CompiledLiteral> literals;
};

enum class Check : std::uint8_t { kTrue, kFalse, kTooCostly };

struct ModelSearch {
  ModelSearch(const Problem& problem, const Settings& settings);

  const tptp::Problem& problem;  // the clauses after clausification
  const Theory& theory;
  Settings settings;

  // ---- Signature (signature.cpp) --------------------------------------------
  std::vector<SymbolEntry> entries;                         // every symbol of the problem
  std::unordered_map<std::uint64_t, std::uint32_t> by_key;  // (id, arity, predicate) -> entry
  std::vector<std::uint32_t> constants;  // entries of constants, by first occurrence in clauses
  std::vector<std::uint32_t> distinct;  // entries of the distinct objects, each a different element
  std::vector<CompiledClause> compiled;  // per problem clause; empty steps when always true
  bool has_equality = false;             // some clause that counts has an equation
  std::string element_prefix;            // domain elements are prefix0, prefix1, ...

  // ---- Engine ----------------------------------------------------------------
  modelgen::cdcl::Solver solver;
  std::unordered_map<std::string, int> atoms;  // (entry, elements) -> engine variable
  std::string key;                             // scratch for atom keys
  std::vector<int> clause;                     // scratch for the clause being added
  std::int64_t literals_given = 0;
  std::int64_t instances = 0;
  std::uint64_t ticks = 0;  // instances looked at, for the clock

  // ---- Flat clauses (flatten.cpp) -----------------------------------------------
  std::vector<FlatClause> flat_clauses;
  std::vector<FlatLiteral> flat_literals;
  std::vector<std::uint32_t> flat_args;

  void collect_signature();
  std::uint32_t entry_of(std::uint32_t id, std::uint32_t arity, bool predicate) const;
  std::string element_name(std::uint32_t element) const;
  bool out_of_time() const;

  // The engine variable of an entry at a tuple of elements (for a function
  // the value last); made on first use unless `make` is false (0 then).
  int atom(std::uint32_t entry, const std::uint32_t* elements, std::uint32_t n, bool make = true);
  void give_clause();  // hands `clause` to the engine

  // ---- Ground instances (ground.cpp, instantiate.cpp) -------------------------
  // A ground clause given to the engine: an instance of problem clause
  // `clause` (the elements of its variables at `first` in ground_elements),
  // or of an axiom of equality (its elements there; for substitution into
  // predicate `entry` at argument `position`, the arguments and then the
  // element that replaces one).
  enum class Axiom : std::uint8_t {
    kNone,
    kReflexivity,
    kSymmetry,
    kTransitivity,
    kSubstitution,
    kDistinct,  // two distinct objects differ
  };
  struct GroundClause {
    std::size_t clause;
    Axiom axiom;
    std::uint32_t entry;
    std::uint32_t position;
    std::uint32_t first;
  };
  std::vector<GroundClause> ground_clauses;
  std::vector<std::uint32_t> ground_elements;
  std::vector<int> selectors;             // one per ground clause, assumed
  std::vector<std::uint32_t> element_of;  // constant entry -> element
  std::uint32_t nr_elements = 0;          // the constants, or one invented element
  bool invented = false;
  std::vector<std::uint32_t> step_values, step_tuple;  // scratch of add_instance

  void flatten_clauses();
  Result find_model();
  Result ground();
  Result instantiate();
  void start_grounding();
  int equal(std::uint32_t a, std::uint32_t b);
  // Gives the engine problem clause i under the assignment (no more than
  // `limit` assignments are kept for the refutation text, see ground.cpp).
  void add_instance(std::size_t i, const std::uint32_t* assignment);
  void add_ground(GroundClause g, const std::uint32_t* elements, std::uint32_t n);
  void add_equality_axioms();
  // The engine's answer on the ground clauses as a result: the refutation,
  // or the model read off the ground atoms and checked.
  Result ground_answer(modelgen::cdcl::Answer answer);

  Check check(const Model& model) const;
  std::string model_block(const Model& model) const;
  std::string constant_text(std::uint32_t entry) const;
};

// Table index of an argument tuple over `size` elements.
inline std::size_t tuple_index(const std::uint32_t* elements, std::uint32_t arity, int size) {
  std::size_t index = 0;
  for (std::uint32_t i = 0; i < arity; ++i)
    index = index * static_cast<std::size_t>(size) + elements[i];
  return index;
}

// Sets `t` to the next tuple over 0..size-1, the last place counting
// fastest; false after the last one (at once for the empty tuple).
inline bool next_tuple(std::vector<std::uint32_t>& t, std::uint32_t size) {
  std::size_t k = t.size();
  while (k > 0 && ++t[k - 1] == size) t[--k] = 0;
  return k > 0;
}

// Clauses this large in their number of instances are not checked.
inline constexpr double kCheckBudget = 2e8;

}  // namespace velkor::models
