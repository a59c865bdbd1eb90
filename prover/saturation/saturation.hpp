// velkor's saturation engine: what the driver calls.
//
// Superposition with literal selection over the clauses of a TPTP problem,
// run as a given-clause loop in which only processed clauses take part in
// inferences, every new clause simplified before it is kept.  The answer
// is the empty clause with its derivation, or a clause set saturated under
// a refutationally complete strategy with nothing thrown away (the problem
// has a model), or no answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tptp/problem.hpp"

namespace velkor::saturation {

// Literal selection functions.
enum class Selection : std::uint8_t {
  kNone,              // nothing selected: inferences on maximal literals
  kLargestNegative,   // the negative literal of greatest weight
  kSmallestNegative,  // the negative literal of least weight
  kComplexNegative,   // a ground negative literal if any, else the one whose
                      // sides differ most in weight
};

// Symbol precedences of the ordering.
enum class Precedence : std::uint8_t {
  kArityOccurrence,  // greater arity greater, then later appearance (shared default)
  kFrequency,        // rarer symbols greater, then greater arity
};

struct Strategy {
  Selection selection = Selection::kLargestNegative;
  // No literal is selected whose predicate occurs positively in the clause:
  // a clause p(x) <- p(y), q(x, y) then waits for p to be asked for instead
  // of deriving p of ever larger terms from every fact.
  bool avoid_positive_predicates = true;
  std::int64_t weight_picks = 5;  // clauses picked by weight ...
  std::int64_t age_picks = 1;     // ... for each so many picked by age
  Precedence precedence = Precedence::kFrequency;
  // Symbol weights of the ordering: false all 1; true 1 plus arity.
  bool weights_by_arity = false;
  // Clause priority: weight times this for clauses derived from the
  // conjecture (below 1 prefers them).
  double goal_factor = 0.5;
  // Clause priority: symbols of the conjecture count this much of others.
  double conjecture_symbol_factor = 0.25;
  // New clauses heavier than this are discarded (the answer then cannot be
  // Satisfiable); 0: no limit.
  std::uint64_t max_weight = 2000;
};

// The named strategies: false when `name` is none of them.
bool strategy_by_name(const std::string& name, Strategy& strategy);
// Their names, for --help.
std::string strategy_names();

struct Settings {
  double cpu_deadline = 0;     // process CPU seconds at which to stop; 0: none
  std::int64_t memory_mb = 0;  // bound on the engine's clauses; passive ones are dropped
                               // (and the answer cannot be Satisfiable) near it; 0: none
  Strategy strategy;
  bool proof = false;  // keep what the derivation of the empty clause needs
};

enum class Verdict : std::uint8_t {
  kUnsatisfiable,  // the empty clause was derived
  kSatisfiable,    // saturated under a complete strategy, nothing discarded
  kGaveUp,         // saturated after discarding clauses (limits), or incomplete
  kTimeout,        // the deadline came first
  kMemoryOut,      // the memory bound was reached with nothing left to drop
};

// What a run did, for --statistics.
struct Statistics {
  std::int64_t generated = 0;                                // conclusions of generating inferences
  std::int64_t by_rule[5] = {};  // of superposition, resolution, factoring, equality resolution
                                 // and equality factoring
  std::int64_t processed = 0;                                // given clauses activated
  std::int64_t kept = 0;                                     // clauses put into the passive set
  std::int64_t forward_rewrites = 0, backward_rewrites = 0;  // clauses rewritten
  std::int64_t forward_subsumed = 0, backward_subsumed = 0;
  std::int64_t subsumption_resolutions = 0;
  std::int64_t tautologies = 0;
  std::int64_t discarded = 0;            // too heavy, or dropped from the passive set
  std::int64_t active = 0, passive = 0;  // at the end
  // Candidate pairs: what each index handed to the unification, matching
  // or subsumption test, against what a scan of everything indexed would
  // have tried.
  struct Candidates {
    std::int64_t tried = 0, without_index = 0;
  };
  Candidates superposition, resolution, rewriting, backward_rewriting, subsumption;
  double cpu_seconds = 0;
};

// The derivation of the empty clause, parents before children.  A parent
// is a clause of the problem or an earlier step.
struct ProofParent {
  bool problem_clause;  // else a step
  std::size_t index;    // into Problem::clauses, or into Result::proof
};

struct ProofStep {
  std::string clause;  // in TSTP syntax; "$false" for the empty clause
  // The rule; "theory" for a leaf valid in a theory (`theory` names it).
  std::string rule;
  std::string theory;
  // Replay entries for the annotation after status(thm): literal numbers
  // (from 1), sides and positions, naming the parents by their order.
  std::string info;
  std::vector<ProofParent> parents;
  // Per parent, the bindings of its variables as bind(V, $fot(T)) entries
  // (empty: none), V as the parent's line writes it.
  std::vector<std::string> bindings;
};

struct Result {
  Verdict verdict = Verdict::kGaveUp;
  std::string reason;            // why no answer: what was discarded or incomplete
  bool uses_conjecture = false;  // the empty clause rests on a clause of the conjecture
  std::vector<ProofStep> proof;  // with Settings::proof, after kUnsatisfiable
  Statistics statistics;
};

// Saturates the problem's clauses (those always true left out).  Symbols in
// `distinct_objects` denote pairwise distinct elements.  The problem is
// only read.
Result saturate(const tptp::Problem& problem, const std::vector<std::uint32_t>& distinct_objects,
                const Settings& settings);

// The statistics as "% statistics: ..." lines.
std::string statistics_table(const Statistics& statistics);

}  // namespace velkor::saturation
